#pragma once

class QPushButton;
class QWidget;

namespace varelo {

// The "&Close" button of the reference windows: Arial bold maroon with a door glyph.
// The caller connects its click.
QPushButton* makeCloseButton(QWidget* parent);

}  // namespace varelo
