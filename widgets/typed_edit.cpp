#include "widgets/typed_edit.h"

#include "platform/ui/handler_guard.h"
#include "platform/ui/modal_boxes.h"
#include "widgets/edit_date_time_rules.h"
#include "widgets/edit_exit_rules.h"
#include "widgets/edit_key_rules.h"
#include "widgets/edit_number_rules.h"
#include "widgets/qt_colour.h"
#include "widgets/system_edit_locale.h"
#include "widgets/typed_character.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>

#include <cmath>

namespace varelo {
namespace {

QString qs(const std::u16string& text) {
    return QString::fromStdU16String(text);
}
std::u16string u16(const QString& text) {
    return text.toStdU16String();
}

CivilDate civilDate(const QDate& date) {
    return {date.year(), date.month(), date.day()};
}
ClockTime clockTime(const QTime& time) {
    return {time.hour(), time.minute(), time.second()};
}

// The same key press with another typed text.
QKeyEvent retyped(const QKeyEvent& event, const QString& text) {
    return QKeyEvent(event.type(), event.key(), event.modifiers(), text, event.isAutoRepeat(),
                     static_cast<quint16>(event.count()));
}

}  // namespace

TEditN::TEditN(ModalBoxes& boxes, QWidget* parent)
    : LimitedLineEdit(parent),
      boxes_(boxes),
      now_([] { return QDateTime::currentDateTime(); }),
      locale_(systemEditLocale()),
      decimalChar_(locale_.decimal) {
    setColor(colorOnNotFocus_);
    setFontColor(fontColor_);
    const QDateTime now = now_();
    valueDate_ = dateSerial(civilDate(now.date()));
    valueTime_ = timeSerial(clockTime(now.time()));
    connect(this, &QLineEdit::textChanged, this, [this] { handleTextChange(); });
}

void TEditN::setColor(Colour colour) {
    color_ = colour;
    setFieldBackground(*this, colour);
}

void TEditN::setFontColor(Colour colour) {
    fontColor_ = colour;
    setFieldTextColour(*this, colour);
}

void TEditN::setEditLocale(const EditLocale& locale) {
    locale_ = locale;
    decimalChar_ = locale.decimal;
}

void TEditN::SetIntegerText(std::int32_t n) {
    if (editType_ == etInteger) writeText(QString::number(n));
}

void TEditN::notify(const Notify& handler) {
    if (handler) runGuarded(boxes_, handler);
}

// ---- Typing ----

void TEditN::keyPressEvent(QKeyEvent* event) {
    UserInput user(*this);
    if (event->key() == Qt::Key_Insert && event->modifiers() == Qt::NoModifier) {
        overwrite_ = !overwrite_;
        if (focused_) setFontColor(overwrite_ ? fontColorOnOverWrite_ : fontColorOnFocus_);
        return;
    }
    const auto typed = typedCharacter(*event);
    if (!typed) {
        LimitedLineEdit::keyPressEvent(event);
        return;
    }
    selectForOverwrite();

    char16_t key = *typed;
    if (key == editKeyByTab_) {
        focusNextChild();
        return;
    }
    if (key == kEscapeKey) {
        writeText(enterText_);
        key = kRefusedKey;
    }
    setFontColor(IsOverwrite() ? fontColorOnOverWrite_ : fontColorOnFocus_);

    const std::u16string current = u16(text());
    if (editType_ == etInteger) setMaxLength(integerTypingLimit(maxLength(), current, key));
    if (key != kRefusedKey) key = filterTypedKey(editType_, key, current, decimalChar_);
    if (key == kRefusedKey || key == kSwallowedKey) return;

    QString keyText = event->text();
    if (key != *typed) keyText = QString(QChar(key));
    if (editType_ == etString && firstCharUpper_ &&
        capitalisesTypedKey(current, hasSelectedText() && selectedText() == text(), u16(firstCharUpList_)))
        keyText = QLocale().toUpper(keyText);
    if (keyText == event->text()) {
        LimitedLineEdit::keyPressEvent(event);
        return;
    }
    QKeyEvent changed = retyped(*event, keyText);
    LimitedLineEdit::keyPressEvent(&changed);
    event->setAccepted(changed.isAccepted());
}

// In overwrite mode a typed character (Backspace included) replaces the one
// after the caret, which is selected for it.
void TEditN::selectForOverwrite() {
    if (IsOverwrite() && !hasSelectedText() && cursorPosition() < text().size())
        setSelection(cursorPosition(), 1);
}

void TEditN::keyReleaseEvent(QKeyEvent* event) {
    LimitedLineEdit::keyReleaseEvent(event);
    if (event->isAutoRepeat() || !onKeyUp_) return;
    const int key = event->key();
    runGuarded(boxes_, [&] { onKeyUp_(key); });
}

void TEditN::mousePressEvent(QMouseEvent* event) {
    setReadOnly(false);  // a focused or clicked field is always editable
    LimitedLineEdit::mousePressEvent(event);
}

// ---- Text change ----

void TEditN::handleTextChange() {
    if (editType_ == etInteger || editType_ == etFloat) {
        const std::u16string current = u16(text());
        const std::u16string kept = keptNumberCharacters(editType_, current);
        if (kept != current) {
            writeTextKeepingCaret(qs(kept));  // the change this raises does the rest
            return;
        }
        const NumberValues values = parseNumberText(editType_, current, decimalChar_);
        switch (values.outcome) {
            case NumberOutcome::Empty:
                break;
            case NumberOutcome::LoneMinus:
                valueFloat_ = 0;
                valueInteger_ = 0;
                return;
            case NumberOutcome::Parsed:
                valueFloat_ = values.floating;
                valueInteger_ = values.integer;
                break;
            case NumberOutcome::OutOfRange:
                valueFloat_ = 0;
                valueInteger_ = 0;
                boxes_.showMessage(kIntegerRangeMessage);
                break;
            case NumberOutcome::NotANumber:
                valueFloat_ = 0;
                valueInteger_ = 0;
                boxes_.showMessage(kNumberConversionMessage);
                break;
        }
    }
    notify(onChange_);
}

void TEditN::writeTextKeepingCaret(const QString& kept) {
    const QString old = text();
    int caret = cursorPosition();
    for (int i = 0, k = 0; i < cursorPosition() && i < old.size(); ++i) {
        if (k < kept.size() && kept.at(k) == old.at(i))
            ++k;
        else
            --caret;
    }
    writeText(kept);
    setCursorPosition(caret);
}

// ---- Focus ----

void TEditN::focusInEvent(QFocusEvent* event) {
    setReadOnly(false);
    LimitedLineEdit::focusInEvent(event);
    if (focused_) return;  // back from a popup or another window
    focused_ = true;
    enterField();
}

void TEditN::focusOutEvent(QFocusEvent* event) {
    LimitedLineEdit::focusOutEvent(event);
    if (!focused_ || !movesBetweenControls(event->reason())) return;
    focused_ = false;
    exitField();
}

void TEditN::enterField() {
    if (editType_ == etFloat && maxLength() == 0) setMaxLength(16);
    setColor(colorOnFocus_);
    setFontColor(fontColorOnFocus_);
    enterText_ = text();
    if (widthOnFocus_ > 0) {
        savedWidth_ = width();
        resize(widthOnFocus_, height());
    }
    if (editType_ == etDate) setMaxLength(10);
    if (editType_ == etTime) setMaxLength(timeSeconds_ ? 8 : 5);
    notify(onEnter_);
}

void TEditN::exitField() {
    setColor(colorOnNotFocus_);
    setFontColor(fontColorOnNotFocus_);
    if (widthOnFocus_ > 0) resize(savedWidth_, height());

    switch (editType_) {
        case etString:
            if (!text().isEmpty()) {
                if (firstCharUpper_) writeText(QLocale().toUpper(text().left(1)) + text().mid(1));
                if (editAlign_ != etAlignNone)
                    writeText(qs(alignText(u16(text()), editAlign_, editLengthAlign_)));
            }
            break;
        case etInteger:
        case etFloat:
            tidyNumberOnExit();
            break;
        case etDate:
            completeDateOnExit();
            break;
        case etTime:
            completeTimeOnExit();
            break;
    }
    notify(onExit_);
}

void TEditN::tidyNumberOnExit() {
    if (editType_ == etInteger && editAlign_ == etAlignValue)
        writeText(qs(zeroFill(u16(text()), editLengthAlign_)));
    writeText(qs(minusToFront(u16(text()))));
    if (editType_ != etFloat) return;
    if (editPrecision_ > 0) {
        decimalChar_ = locale_.decimal;
        writeText(qs(fixDecimals(u16(text()), editPrecision_, decimalChar_)));
    }
    if (editAlign_ == etAlignValue) writeText(qs(zeroFill(u16(text()), editLengthAlign_)));
}

void TEditN::completeDateOnExit() {
    const CivilDate today = civilDate(now_().date());
    const DateCompletion completed = completeDate(u16(text()), locale_, today);
    if (!completed.date) {
        boxes_.showMessage(kDateIncorrectMessage);
        valueDate_ = dateSerial(today);
    } else {
        writeText(qs(completed.text));
        valueDate_ = dateSerial(*completed.date);
    }
    valueFloat_ = valueDate_;
    valueInteger_ = static_cast<std::int32_t>(valueDate_);
}

void TEditN::completeTimeOnExit() {
    const ClockTime now = clockTime(now_().time());
    const TimeCompletion completed = completeTime(u16(text()), timeSeconds_, locale_.timeSeparator, now);
    if (!completed.time) {
        boxes_.showMessage(kTimeIncorrectMessage);
        const QString current = qs(formatTime(now, locale_.timeSeparator));
        writeText(timeSeconds_ ? current : current.left(5));
        valueTime_ = timeSerial(now);
    } else {
        writeText(qs(completed.text));
        valueTime_ = timeSerial(*completed.time);
    }
    valueFloat_ = valueTime_;
}

}  // namespace varelo
