#pragma once

#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace varelo {

class TTimerSpeedButton;

// A pair of small repeating buttons, up on top and down below. A press on
// either hands the focus to the focus control (or takes it itself when that
// cannot have it); with the focus, Space clicks the focused button and the Up
// and Down keys click their own.
class TSpinButton : public QWidget {
    Q_OBJECT
  public:
    using Notify = std::function<void()>;

    explicit TSpinButton(QWidget* parent = nullptr);

    void setOnUpClick(Notify handler) { onUpClick_ = std::move(handler); }
    void setOnDownClick(Notify handler) { onDownClick_ = std::move(handler); }

    QWidget* focusControl() const { return focusControl_; }
    void setFocusControl(QWidget* control) { focusControl_ = control; }

    QPixmap upGlyph() const;
    void setUpGlyph(const QPixmap& glyph);
    QPixmap downGlyph() const;
    void setDownGlyph(const QPixmap& glyph);
    int upNumGlyphs() const;
    void setUpNumGlyphs(int count);
    int downNumGlyphs() const;
    void setDownNumGlyphs(int count);

    TTimerSpeedButton* upButton() const { return up_; }
    TTimerSpeedButton* downButton() const { return down_; }
    TTimerSpeedButton* focusedButton() const { return focused_; }

    QSize sizeHint() const override { return {20, 25}; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    TTimerSpeedButton* makeButton(const Notify TSpinButton::*handler, bool up);
    void pressed(TTimerSpeedButton* button);
    void setFocusedButton(TTimerSpeedButton* button);
    void layoutButtons();

    Notify onUpClick_, onDownClick_;
    QPointer<QWidget> focusControl_;
    TTimerSpeedButton* up_;
    TTimerSpeedButton* down_;
    TTimerSpeedButton* focused_;
};

}  // namespace varelo
