#pragma once

#include "widgets/limited_line_edit.h"

#include <functional>

namespace varelo {

// One of the converter's plain fields: a single-line edit whose length limit
// holds for typing only, that can show what is typed in upper case, and that
// reports each key release (not those of a key held down) after the key has
// done its work.
class ConverterField : public LimitedLineEdit {
    Q_OBJECT
  public:
    using KeyUp = std::function<void()>;

    explicit ConverterField(QWidget* parent = nullptr);

    void setOnKeyUp(KeyUp handler) { onKeyUp_ = std::move(handler); }

    // Typed, pasted and dropped letters become upper case, one for one.
    void setUpperCase(bool on) { upperCase_ = on; }

    // The program's own write: never limited.
    using LimitedLineEdit::writeText;

  protected:
    void keyReleaseEvent(QKeyEvent* event) override;

  private:
    void raiseTypedText(const QString& edited);

    KeyUp onKeyUp_;
    bool upperCase_ = false;
};

}  // namespace varelo
