#pragma once

#include "platform/form_timer.h"

#include <QAbstractButton>
#include <QPixmap>

#include <functional>
#include <memory>

namespace varelo {

// A flat push button that repeats its click while held: the first repeat
// 400 ms after the press, then every 100 ms while the button is still down
// under the pointer, and the ordinary click on release over the button.
class TTimerSpeedButton : public QAbstractButton {
    Q_OBJECT
  public:
    static constexpr int kFirstRepeatMs = 400;
    static constexpr int kRepeatMs = 100;

    explicit TTimerSpeedButton(QWidget* parent = nullptr);
    ~TTimerSpeedButton() override;

    // Each click, ordinary or repeated. An error it raises stops the repeating
    // and passes on.
    void setOnClick(std::function<void()> handler) { onClick_ = std::move(handler); }
    // Runs the click handler, as a click does (for the keyboard of the spin button).
    void performClick();

    // Draw a focus frame.
    bool focusRect() const { return focusRect_; }
    void setFocusRect(bool on);
    // Repeat while held.
    bool allowTimer() const { return allowTimer_; }
    void setAllowTimer(bool on) { allowTimer_ = on; }

    // The picture: `numGlyphs` images side by side for up, disabled and down.
    QPixmap glyph() const { return glyph_; }
    void setGlyph(const QPixmap& glyph);
    int numGlyphs() const { return numGlyphs_; }
    void setNumGlyphs(int count);

    // The repeat timer, made at the first press that repeats; null before.
    FormTimer* repeatTimer() const { return repeatTimer_.get(); }

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void timerExpired();

    std::function<void()> onClick_;
    std::unique_ptr<FormTimer> repeatTimer_;
    QPixmap glyph_;
    int numGlyphs_ = 1;
    bool focusRect_ = false;
    bool allowTimer_ = false;
    bool held_ = false;  // the left button went down here and is not released yet
};

}  // namespace varelo
