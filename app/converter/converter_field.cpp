#include "app/converter/converter_field.h"

#include <QKeyEvent>

namespace varelo {

ConverterField::ConverterField(QWidget* parent) : LimitedLineEdit(parent) {
    connect(this, &QLineEdit::textEdited, this, &ConverterField::raiseTypedText);
}

// Character by character, so that the text keeps its length (and the typing
// limit its meaning): a letter without a one-letter capital stays as it is.
void ConverterField::raiseTypedText(const QString& edited) {
    if (!upperCase_) return;
    QString upper = edited;
    for (QChar& c : upper) c = c.toUpper();
    if (upper == edited) return;
    const int caret = cursorPosition();
    writeText(upper);
    setCursorPosition(caret);
}

void ConverterField::keyReleaseEvent(QKeyEvent* event) {
    LimitedLineEdit::keyReleaseEvent(event);
    if (event->isAutoRepeat() || !onKeyUp_) return;
    onKeyUp_();
}

}  // namespace varelo
