#pragma once

#include <QMargins>
#include <QSize>

class QWidget;

namespace varelo {

// The window layouts give each window's outer size, its frame included; the window
// system draws the frame around the inside that Qt sizes.

// The inside that makes a window of `frame` measure `outer`; never below 1 x 1.
QSize insideForOuter(QSize outer, QMargins frame);

// The frame the window system draws around a top-level window: none until the
// window is shown, or where the window system draws none.
QMargins frameOf(const QWidget& window);

// The room a window's controls take (all but those hidden), with a margin of
// kControlsMargin to the right and below them.
inline constexpr int kControlsMargin = 4;
QSize controlsExtent(const QWidget& window);

enum class Resizing { Free, Fixed };

// Sizes `window` so that its frame measures `outer`: at once with the frame known
// now, and again when the window system reports another frame (typically once, at
// the first showing). A Fixed window, which the user cannot resize, is never made
// smaller than its controls' extent, so a wide frame cannot cut a control off.
void setOuterSize(QWidget* window, QSize outer, Resizing resizing = Resizing::Free);

}  // namespace varelo
