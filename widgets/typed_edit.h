#pragma once

#include "util/colour.h"
#include "widgets/edit_locale.h"
#include "widgets/edit_types.h"
#include "widgets/limited_line_edit.h"

#include <QDateTime>

#include <cstdint>
#include <functional>

namespace varelo {

class ModalBoxes;

// The typed edit field: a single-line edit that takes only what its type
// allows, keeps the value of its text in plain fields, shows by its colours
// whether it has the focus and whether typing inserts or overwrites (the
// Insert key switches), restores its text on Escape and tidies the text when
// the focus leaves (minus sign in front, filling, decimals, whole dates and
// times). Range and date or time errors are shown through the modal boxes.
//
// Every property reads and writes its own field and does nothing else:
// writing valueInteger() does not change the text.
class TEditN : public LimitedLineEdit {
    Q_OBJECT
  public:
    using Notify = std::function<void()>;
    using KeyNotify = std::function<void(int key)>;  // a Qt::Key code
    using NowSource = std::function<QDateTime()>;

    explicit TEditN(ModalBoxes& boxes, QWidget* parent = nullptr);

    // Raised at the end of focus entry, focus exit and text change, and after
    // each key release (not after the releases of a key held down).
    void setOnEnter(Notify handler) { onEnter_ = std::move(handler); }
    void setOnExit(Notify handler) { onExit_ = std::move(handler); }
    void setOnChange(Notify handler) { onChange_ = std::move(handler); }
    void setOnKeyUp(KeyNotify handler) { onKeyUp_ = std::move(handler); }

    // The colours in force.
    Colour color() const { return color_; }
    void setColor(Colour colour);
    Colour fontColor() const { return fontColor_; }
    void setFontColor(Colour colour);

    Colour colorOnFocus() const { return colorOnFocus_; }
    void setColorOnFocus(Colour colour) { colorOnFocus_ = colour; }
    Colour colorOnNotFocus() const { return colorOnNotFocus_; }
    void setColorOnNotFocus(Colour colour) { colorOnNotFocus_ = colour; }
    Colour fontColorOnFocus() const { return fontColorOnFocus_; }
    void setFontColorOnFocus(Colour colour) { fontColorOnFocus_ = colour; }
    Colour fontColorOnNotFocus() const { return fontColorOnNotFocus_; }
    void setFontColorOnNotFocus(Colour colour) { fontColorOnNotFocus_ = colour; }
    Colour fontColorOnOverWrite() const { return fontColorOnOverWrite_; }
    void setFontColorOnOverWrite(Colour colour) { fontColorOnOverWrite_ = colour; }

    TEditTypes editType() const { return editType_; }
    void setEditType(TEditTypes type) { editType_ = type; }
    TEditAlign editAlign() const { return editAlign_; }
    void setEditAlign(TEditAlign align) { editAlign_ = align; }
    // The typed character that moves the focus to the next control.
    char16_t editKeyByTab() const { return editKeyByTab_; }
    void setEditKeyByTab(char16_t key) { editKeyByTab_ = key; }
    // Target length of the filling on exit; 0 or less: none.
    int editLengthAlign() const { return editLengthAlign_; }
    void setEditLengthAlign(int length) { editLengthAlign_ = length; }
    // Decimals a float field has after exit; 0: as typed.
    int editPrecision() const { return editPrecision_; }
    void setEditPrecision(int decimals) { editPrecision_ = decimals; }

    double valueFloat() const { return valueFloat_; }
    void setValueFloat(double value) { valueFloat_ = value; }
    std::int32_t valueInteger() const { return valueInteger_; }
    void setValueInteger(std::int32_t value) { valueInteger_ = value; }
    // Dates and times as day numbers: days since 30 December 1899, the time of
    // day as the fraction.
    double valueDate() const { return valueDate_; }
    void setValueDate(double value) { valueDate_ = value; }
    double valueTime() const { return valueTime_; }
    void setValueTime(double value) { valueTime_ = value; }

    bool timeSeconds() const { return timeSeconds_; }
    void setTimeSeconds(bool on) { timeSeconds_ = on; }
    bool firstCharUpper() const { return firstCharUpper_; }
    void setFirstCharUpper(bool on) { firstCharUpper_ = on; }
    QString firstCharUpList() const { return firstCharUpList_; }
    void setFirstCharUpList(const QString& list) { firstCharUpList_ = list; }
    // Width while focused; 0 or less keeps the width.
    int widthOnFocus() const { return widthOnFocus_; }
    void setWidthOnFocus(int width) { widthOnFocus_ = width; }

    // An integer field's text := n, whose value the field then parses. Other
    // types ignore it.
    void SetIntegerText(std::int32_t n);

    // Whether typing replaces the character after the caret (Insert toggles it).
    bool IsOverwrite() const { return overwrite_; }

    // The regional settings in force, copied from the desktop at construction.
    const EditLocale& editLocale() const { return locale_; }
    void setEditLocale(const EditLocale& locale);
    // Where today's date and the current time come from (the system clock).
    void setNowSource(NowSource now) { now_ = std::move(now); }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void enterField();
    void exitField();
    void handleTextChange();
    void selectForOverwrite();
    void writeTextKeepingCaret(const QString& text);
    void tidyNumberOnExit();
    void completeDateOnExit();
    void completeTimeOnExit();
    void notify(const Notify& handler);

    ModalBoxes& boxes_;
    NowSource now_;
    EditLocale locale_;

    Notify onEnter_, onExit_, onChange_;
    KeyNotify onKeyUp_;

    Colour color_ = colours::SystemWindow;
    Colour fontColor_ = colours::SystemWindowText;
    Colour colorOnFocus_ = colours::White;
    Colour colorOnNotFocus_ = colours::Silver;
    Colour fontColorOnFocus_ = colours::Red;
    Colour fontColorOnNotFocus_ = colours::Black;
    Colour fontColorOnOverWrite_ = colours::Blue;
    TEditTypes editType_ = etString;
    TEditAlign editAlign_ = etAlignNone;
    char16_t editKeyByTab_ = 9;
    int editLengthAlign_ = 0;
    int editPrecision_ = 0;
    double valueFloat_ = 0;
    std::int32_t valueInteger_ = 0;
    double valueDate_ = 0;
    double valueTime_ = 0;
    bool timeSeconds_ = false;
    bool firstCharUpper_ = false;
    QString firstCharUpList_ = QStringLiteral(" (");
    int widthOnFocus_ = 0;

    char16_t decimalChar_ = u'.';
    int savedWidth_ = 0;
    QString enterText_;
    bool focused_ = false;
    bool overwrite_ = false;
};

}  // namespace varelo
