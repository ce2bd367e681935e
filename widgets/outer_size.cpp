#include "widgets/outer_size.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace varelo {
namespace {

// Keeps a window's outer size when the frame around it changes. One per window.
class OuterSizeKeeper : public QObject {
  public:
    explicit OuterSizeKeeper(QWidget* window) : QObject(window), window_(window) {
        setObjectName(QStringLiteral("OuterSizeKeeper"));
        window->installEventFilter(this);
    }

    void keep(QSize outer, Resizing resizing) {
        outer_ = outer;
        resizing_ = resizing;
        apply(frameOf(*window_));
    }

  protected:
    // The frame is known only once the window system has framed the window: Qt
    // reports that with a move where the frame moves the inside, and otherwise with
    // the first exposure of the framed window (or at the showing, where it is known
    // at once).
    bool eventFilter(QObject* watched, QEvent* e) override {
        const QEvent::Type type = e->type();
        if (type == QEvent::Show && window_->windowHandle() && watched == window_)
            window_->windowHandle()->installEventFilter(this);  // a second one replaces the first
        if (type != QEvent::Show && type != QEvent::Move && type != QEvent::Resize && type != QEvent::Expose &&
            type != QEvent::WindowActivate)
            return false;
        if (!window_->isVisible()) return false;
        const QMargins frame = frameOf(*window_);
        // A window being framed anew shows no frame, or a frame that is not yet
        // placed around it, for a moment: not a change.
        if (frame.left() < 0 || frame.top() < 0 || frame.right() < 0 || frame.bottom() < 0) return false;
        if (frame != applied_ && !(frame.isNull() && !applied_.isNull())) apply(frame);
        return false;
    }

  private:
    void apply(QMargins frame) {
        applied_ = frame;
        const QSize inside = insideForOuter(outer_, frame);
        if (resizing_ == Resizing::Fixed)
            window_->setFixedSize(inside.expandedTo(controlsExtent(*window_)));
        else
            window_->resize(inside);
    }

    QWidget* window_;
    QSize outer_;
    Resizing resizing_ = Resizing::Free;
    QMargins applied_;
};

}  // namespace

QSize controlsExtent(const QWidget& window) {
    QRect extent;
    for (const QObject* child : window.children()) {
        const auto* control = qobject_cast<const QWidget*>(child);
        if (control && !control->isWindow() && !control->isHidden()) extent |= control->geometry();
    }
    if (extent.isNull()) return {};
    return {extent.right() + 1 + kControlsMargin, extent.bottom() + 1 + kControlsMargin};
}

QSize insideForOuter(QSize outer, QMargins frame) {
    return {std::max(1, outer.width() - frame.left() - frame.right()),
            std::max(1, outer.height() - frame.top() - frame.bottom())};
}

QMargins frameOf(const QWidget& window) {
    const QRect inside = window.geometry();
    const QRect outer = window.frameGeometry();
    return {inside.left() - outer.left(), inside.top() - outer.top(), outer.right() - inside.right(),
            outer.bottom() - inside.bottom()};
}

void setOuterSize(QWidget* window, QSize outer, Resizing resizing) {
    auto* keeper = window->findChild<OuterSizeKeeper*>(QStringLiteral("OuterSizeKeeper"), Qt::FindDirectChildrenOnly);
    if (!keeper) keeper = new OuterSizeKeeper(window);
    keeper->keep(outer, resizing);
}

}  // namespace varelo
