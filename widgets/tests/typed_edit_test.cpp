#include "widgets/typed_edit.h"

#include "widgets/edit_number_rules.h"
#include "widgets/tests/field_window.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace varelo {
namespace {

class TypedEditTest : public FieldWindowTest<TEditN> {
  protected:
    void SetUp() override {
        FieldWindowTest::SetUp();
        edit_ = field_;
    }

    // The number converter's decimal field.
    void makeConverterField() {
        edit_->setEditType(etInteger);
        edit_->setMaxLength(9);
        edit_->setColor(colours::White);
        edit_->setColorOnFocus(colours::White);
        edit_->setColorOnNotFocus(colours::White);
    }

    void type(const QString& keys) { QTest::keyClicks(edit_, keys); }
    void key(Qt::Key k) { QTest::keyClick(edit_, k); }

    std::vector<std::string> messages() const { return boxes_.texts("message"); }

    // Regional settings with a day-first date and a clock stopped at 7 December 2026, 10:20:30.
    void useFixedDayAndLocale() {
        edit_->setEditLocale({u'.', u'/', u':', DateOrder::DayMonthYear});
        edit_->setNowSource([] { return QDateTime(QDate(2026, 12, 7), QTime(10, 20, 30)); });
    }

    TEditN* edit_ = nullptr;
};

TEST_F(TypedEditTest, ConverterFieldTakesDigitsAndOneMinusOnly) {
    struct Case {
        QString start, typed, text;
        int value;
        QString textAfterExit;
    };
    const Case cases[] = {
        {"", "12a 3", "123", 123, "123"},
        {"-12", "-", "-12", -12, "-12"},
        {"", "5-", "5-", -5, "-5"},
        {"12", "#", "12", 12, "12"},
        {"", "007", "007", 7, "007"},
        {"", "1234567890", "123456789", 123456789, "123456789"},  // at most 9 characters
    };
    makeConverterField();
    for (const auto& c : cases) {
        edit_->setText(c.start);
        enter();
        key(Qt::Key_End);
        type(c.typed);
        EXPECT_EQ(edit_->text(), c.text) << c.typed.toStdString();
        EXPECT_EQ(edit_->valueInteger(), c.value) << c.typed.toStdString();
        leave();
        EXPECT_EQ(edit_->text(), c.textAfterExit) << c.typed.toStdString();
    }
    EXPECT_TRUE(messages().empty());
}

TEST_F(TypedEditTest, PastedPlusSignIsDropped) {
    makeConverterField();
    enter();
    QApplication::clipboard()->setText("+12");
    QTest::keySequence(edit_, QKeySequence::Paste);
    EXPECT_EQ(edit_->text(), "12");
    EXPECT_EQ(edit_->valueInteger(), 12);
}

TEST_F(TypedEditTest, NumbersBeyondTheSymmetricRangeAreRefusedWithAMessage) {
    makeConverterField();
    edit_->SetIntegerText(2147483647);
    EXPECT_EQ(edit_->valueInteger(), 2147483647);
    EXPECT_TRUE(messages().empty());

    // What the hexadecimal field writes for 80000000: shown whole, refused.
    edit_->SetIntegerText(-2147483647 - 1);
    EXPECT_EQ(edit_->text(), "-2147483648") << "the program's text is not cut to the typing limit";
    EXPECT_EQ(edit_->valueInteger(), 0);
    EXPECT_EQ(messages(), std::vector<std::string>{kIntegerRangeMessage});

    edit_->setMaxLength(0);
    edit_->clear();
    enter();
    type("2147483648");
    EXPECT_EQ(edit_->text(), "2147483648") << "the text stays as typed";
    EXPECT_EQ(edit_->valueInteger(), 0);
    EXPECT_EQ(edit_->valueFloat(), 0);
    EXPECT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages().back(), kIntegerRangeMessage);
}

TEST_F(TypedEditTest, EmptyTextKeepsTheValueAndALoneMinusZeroesItSilently) {
    makeConverterField();
    int changes = 0;
    edit_->setOnChange([&] { ++changes; });
    edit_->setText("12");
    enter();
    changes = 0;
    edit_->selectAll();
    key(Qt::Key_Backspace);
    EXPECT_EQ(edit_->text(), "");
    EXPECT_EQ(edit_->valueInteger(), 12);
    EXPECT_EQ(changes, 1);

    type("-");
    EXPECT_EQ(edit_->valueInteger(), 0);
    EXPECT_EQ(edit_->valueFloat(), 0);
    EXPECT_EQ(changes, 1) << "a lone minus raises no change";
    EXPECT_TRUE(messages().empty());
}

TEST_F(TypedEditTest, SecondMinusPastedInShowsTheConversionMessage) {
    makeConverterField();
    edit_->setText("7");
    enter();
    edit_->selectAll();
    QApplication::clipboard()->setText("1-2-3");
    QTest::keySequence(edit_, QKeySequence::Paste);
    EXPECT_EQ(edit_->text(), "1-2-3");
    EXPECT_EQ(edit_->valueInteger(), 0);
    EXPECT_EQ(messages(), std::vector<std::string>{kNumberConversionMessage});
}

TEST_F(TypedEditTest, EscapeRestoresTheTextOfTheFocusEntry) {
    makeConverterField();
    edit_->setText("42");
    enter();
    key(Qt::Key_End);
    type("17");
    EXPECT_EQ(edit_->text(), "4217");
    key(Qt::Key_Escape);
    EXPECT_EQ(edit_->text(), "42");
    EXPECT_EQ(edit_->valueInteger(), 42);
}

TEST_F(TypedEditTest, InsertKeySwitchesToOverwriteAndItsColour) {
    makeConverterField();
    edit_->setText("123");
    enter();
    EXPECT_EQ(edit_->fontColor(), colours::Red);
    edit_->setCursorPosition(2);
    type("7");
    EXPECT_EQ(edit_->text(), "1273");
    EXPECT_EQ(edit_->fontColor(), colours::Red);

    edit_->setText("123");
    edit_->setCursorPosition(2);
    key(Qt::Key_Insert);
    ASSERT_TRUE(edit_->IsOverwrite());
    type("7");
    EXPECT_EQ(edit_->text(), "127");
    EXPECT_EQ(edit_->fontColor(), colours::Blue);
    EXPECT_EQ(edit_->valueInteger(), 127);

    // Backspace in overwrite mode takes the character after the caret.
    edit_->setCursorPosition(1);
    key(Qt::Key_Backspace);
    EXPECT_EQ(edit_->text(), "17");
}

TEST_F(TypedEditTest, TabKeyMovesTheFocusWithoutTyping) {
    makeConverterField();
    edit_->setText("5");
    enter();
    key(Qt::Key_Tab);
    EXPECT_TRUE(next_->hasFocus());
    EXPECT_EQ(edit_->text(), "5");

    edit_->setEditKeyByTab(13);  // Enter moves on instead
    enter();
    key(Qt::Key_Return);
    EXPECT_TRUE(next_->hasFocus());
    EXPECT_EQ(edit_->text(), "5");
}

TEST_F(TypedEditTest, ColoursAndWidthFollowTheFocus) {
    edit_->setWidthOnFocus(200);
    EXPECT_EQ(edit_->color(), colours::Silver);
    enter();
    EXPECT_EQ(edit_->color(), colours::White);
    EXPECT_EQ(edit_->fontColor(), colours::Red);
    EXPECT_EQ(edit_->palette().color(QPalette::Base), QColor(255, 255, 255));
    EXPECT_EQ(edit_->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(edit_->width(), 200);
    leave();
    EXPECT_EQ(edit_->color(), colours::Silver);
    EXPECT_EQ(edit_->fontColor(), colours::Black);
    EXPECT_EQ(edit_->width(), 120);
}

TEST_F(TypedEditTest, KeyUpSeesTheValueAlreadyParsed) {
    makeConverterField();
    std::vector<int> seen;
    edit_->setOnKeyUp([&](int) { seen.push_back(edit_->valueInteger()); });
    enter();
    type("65");
    key(Qt::Key_Left);
    EXPECT_EQ(seen, (std::vector<int>{6, 65, 65})) << "every key release, arrows included";
}

TEST_F(TypedEditTest, FloatFieldUsesTheDecimalCommaAndCutsDecimals) {
    edit_->setEditType(etFloat);
    edit_->setEditPrecision(2);
    edit_->setEditLocale({u',', u'/', u':', DateOrder::DayMonthYear});
    struct Case {
        QString typed, text, textAfterExit;
        double value;
    };
    const Case cases[] = {
        {"3", "3", "3,00", 3.0},
        {"3,456", "3,456", "3,45", 3.45},
        {"3.4.", "3,4", "3,40", 3.4},  // a point becomes the comma, a second one is refused
        {"5-", "5-", "-5,00", -5.0},
    };
    for (const auto& c : cases) {
        edit_->clear();
        enter();
        type(c.typed);
        EXPECT_EQ(edit_->text(), c.text) << c.typed.toStdString();
        leave();
        EXPECT_EQ(edit_->text(), c.textAfterExit) << c.typed.toStdString();
        EXPECT_DOUBLE_EQ(edit_->valueFloat(), c.value) << c.typed.toStdString();
    }
}

TEST_F(TypedEditTest, DateFieldCompletesOnExitOrSaysDateIncorrect) {
    edit_->setEditType(etDate);
    useFixedDayAndLocale();
    enter();
    type("5/");  // the separator is refused while typing
    EXPECT_EQ(edit_->text(), "5");
    leave();
    EXPECT_EQ(edit_->text(), "05/12/2026");
    EXPECT_EQ(edit_->valueDate(), 46361);
    EXPECT_EQ(edit_->valueInteger(), 46361);

    edit_->clear();
    enter();
    type("31022026");
    leave();
    EXPECT_EQ(messages(), std::vector<std::string>{"Date incorrect"});
    EXPECT_EQ(edit_->text(), "31022026");
    EXPECT_EQ(edit_->valueDate(), 46363) << "today";
}

TEST_F(TypedEditTest, TimeFieldCompletesOnExitOrTakesTheCurrentTime) {
    edit_->setEditType(etTime);
    useFixedDayAndLocale();
    enter();
    type("0930");
    leave();
    EXPECT_EQ(edit_->text(), "09:30");
    EXPECT_DOUBLE_EQ(edit_->valueTime(), (9 * 60 + 30) / 1440.0);

    edit_->clear();
    enter();
    type("930");
    leave();
    EXPECT_EQ(messages(), std::vector<std::string>{"Time incorrect"});
    EXPECT_EQ(edit_->text(), "10:20");
    EXPECT_DOUBLE_EQ(edit_->valueTime(), (10 * 3600 + 20 * 60 + 30) / 86400.0);
}

TEST_F(TypedEditTest, StringFieldCapitalisesAndAligns) {
    edit_->setFirstCharUpper(true);
    enter();
    type("ana (luz");
    EXPECT_EQ(edit_->text(), "Ana (Luz");

    edit_->setFirstCharUpper(false);
    edit_->setEditAlign(etAlignCenter);
    edit_->setEditLengthAlign(5);
    edit_->setText("ab");
    leave();
    EXPECT_EQ(edit_->text(), "  ab  ");
}

}  // namespace
}  // namespace varelo
