#pragma once

#include "widgets/limited_line_edit.h"

#include <cstdint>
#include <functional>

namespace varelo {

class ModalBoxes;
class TSpinButton;

// An integer field with up and down buttons on its right edge. The buttons and
// the Up and Down keys step the value by increment(), a held button repeats,
// and the value is kept within minValue()..maxValue() when written and when
// the focus leaves (equal limits mean none). Refused characters and stepping a
// read-only field beep.
class TSpinEdit : public LimitedLineEdit {
    Q_OBJECT
  public:
    using Notify = std::function<void()>;

    explicit TSpinEdit(ModalBoxes& boxes, QWidget* parent = nullptr);

    // Raised at every change of the text, by the user or by the program.
    void setOnChange(Notify handler) { onChange_ = std::move(handler); }

    std::int32_t minValue() const { return minValue_; }
    void setMinValue(std::int32_t value) { minValue_ = value; }
    std::int32_t maxValue() const { return maxValue_; }
    void setMaxValue(std::int32_t value) { maxValue_ = value; }
    std::int32_t increment() const { return increment_; }
    void setIncrement(std::int32_t step) { increment_ = step; }
    // Off: the value can only be stepped, not typed, pasted or cut.
    bool editorEnabled() const { return editorEnabled_; }
    void setEditorEnabled(bool on);
    // Select the whole text when the focus comes by keyboard.
    bool autoSelect() const { return autoSelect_; }
    void setAutoSelect(bool on) { autoSelect_ = on; }

    // The text as a decimal integer; minValue() when it is none (empty, a lone
    // sign, a decimal separator, beyond 32 bits).
    std::int32_t value() const;
    // The text := ClampValue(n).
    void setValue(std::int32_t n);

    std::int32_t ClampValue(std::int32_t n) const;
    virtual void StepUp();
    virtual void StepDown();
    // Whether a typed character goes in: a sign, a digit, the decimal
    // separator, or a control character other than Enter; with the editor off,
    // only control characters other than Backspace and Enter.
    virtual bool AcceptsChar(char16_t ch) const;

    char16_t decimalSeparator() const { return decimal_; }
    TSpinButton* button() const { return button_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void step(std::int64_t delta);
    void placeButton();
    int minimumFieldHeight() const;

    ModalBoxes& boxes_;
    TSpinButton* button_;
    Notify onChange_;
    std::int32_t minValue_ = 0;
    std::int32_t maxValue_ = 0;
    std::int32_t increment_ = 1;
    bool editorEnabled_ = true;
    bool autoSelect_ = true;
    char16_t decimal_;
};

}  // namespace varelo
