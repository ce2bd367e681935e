#include "app/converter/converter_panel.h"

#include "app/converter/converter_field.h"
#include "platform/ui/scripted_modal_boxes.h"
#include "widgets/typed_edit.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <vector>

// Failures show the fields' texts as text.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace varelo {
namespace {

enum class Field { Hexa, Binario, Decimal, Control, Char };

// What the user does to one field: types text, presses one key, or empties or
// pastes into it with the mouse (no key at all).
struct Step {
    enum Kind { Type, Key, Emptied, Pasted };
    Field field;
    Kind kind;
    QString text;
    Qt::Key key = Qt::Key_unknown;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};
Step typed(Field f, const QString& text) {
    return {f, Step::Type, text};
}
Step key(Field f, Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    return {f, Step::Key, {}, k, modifiers};
}
Step emptied(Field f) {
    return {f, Step::Emptied, {}};
}
Step pasted(Field f, const QString& text) {
    return {f, Step::Pasted, text};
}

struct Shown {
    QString hexa, binario, decimal, control, chr;
    int value;
};

const QString kSixZeroGroups = " 0000 0000 0000 0000 0000 0000";
const QString kEightOneGroups = " 1111 1111 1111 1111 1111 1111 1111 1111";
// As many binary digits as the field takes; the four on the left lie beyond 32 bits.
const QString kThirtySixDigits = "1010" + QString(28, '0') + "0101";
const std::string kRangeMessage = "Range Max. : -2147483647 <-> 2147483647";

class ConverterPanelTest : public ::testing::Test {
  protected:
    void makePanel() {
        panel_ = std::make_unique<ConverterPanel>(boxes_);
        panel_->show();
        QApplication::setActiveWindow(panel_.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(panel_.get()));
    }

    QLineEdit* fieldOf(Field f) const {
        switch (f) {
            case Field::Hexa:
                return panel_->EditHexa;
            case Field::Binario:
                return panel_->EditBinario;
            case Field::Decimal:
                return panel_->EditDecimal;
            case Field::Control:
                return panel_->EditControl;
            case Field::Char:
                return panel_->EditChar;
        }
        return nullptr;
    }

    // Each character is pressed and released on the focused field.
    void run(const Step& step) {
        QLineEdit* field = fieldOf(step.field);
        field->setFocus();
        switch (step.kind) {
            case Step::Type:
                for (const QChar c : step.text) {
                    if (c.unicode() < 0x80)
                        QTest::keyClick(field, c.toLatin1());
                    else
                        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
                }
                break;
            case Step::Key:
                QTest::keyClick(field, step.key, step.modifiers);
                break;
            case Step::Emptied:
                field->clear();
                break;
            case Step::Pasted:
                field->setText(step.text);
                break;
        }
    }

    Shown shown() const {
        return {panel_->EditHexa->text(),    panel_->EditBinario->text(),
                panel_->EditDecimal->text(), panel_->EditControl->text(),
                panel_->EditChar->text(),    panel_->EditDecimal->valueInteger()};
    }

    ScriptedModalBoxes boxes_;
    std::unique_ptr<ConverterPanel> panel_;
};

TEST_F(ConverterPanelTest, EveryFieldFollowsTheOneTypedIn) {
    struct Case {
        const char* name;
        std::vector<Step> steps;
        Shown expected;
        std::vector<std::string> messages = {};
    };
    using F = Field;
    const Case cases[] = {
        {"decimal 65",
         {typed(F::Decimal, "65")},
         {"00000041", kSixZeroGroups + " 0100 0001", "65", "", "A", 65}},
        {"decimal 13",
         {typed(F::Decimal, "13")},
         {"0000000D", kSixZeroGroups + " 0000 1101", "13", "<CR>", "", 13}},
        {"decimal 254",
         {typed(F::Decimal, "254")},
         {"000000FE", kSixZeroGroups + " 1111 1110", "254", "", "þ", 254}},
        {"decimal 255 has no character",
         {typed(F::Decimal, "255")},
         {"000000FF", kSixZeroGroups + " 1111 1111", "255", "", "", 255}},
        {"decimal 128 is the euro sign",
         {typed(F::Decimal, "128")},
         {"00000080", kSixZeroGroups + " 1000 0000", "128", "", "€", 128}},
        {"decimal -1", {typed(F::Decimal, "-1")}, {"FFFFFFFF", kEightOneGroups, "-1", "", "", -1}},
        {"clearing the decimal field",
         {typed(F::Decimal, "65"), key(F::Decimal, Qt::Key_A, Qt::ControlModifier),
          key(F::Decimal, Qt::Key_Backspace)},
         {"00000041", kSixZeroGroups + " 0100 0001", "", "", "A", 65}},

        {"hexa 41", {typed(F::Hexa, "41")}, {"41", " 0100 0001", "65", "", "A", 65}},
        {"hexa typed in lower case",
         {typed(F::Hexa, "fFffffFf")},
         {"FFFFFFFF", kEightOneGroups, "-1", "", "", -1}},
        {"G typed after 4", {typed(F::Hexa, "4G")}, {"4", " 0100", "4", "<EOT>", "", 4}},
        {"G typed into the empty hexa field",
         {typed(F::Decimal, "65"), emptied(F::Hexa), typed(F::Hexa, "G")},
         {"", kSixZeroGroups + " 0100 0001", "65", "", "A", 65}},
        {"hexa 80000000 is out of the decimal field's range",
         {typed(F::Hexa, "80000000")},
         {"80000000", " 1000 0000 0000 0000 0000 0000 0000 0000", "-2147483648", "<NUL>", "", 0},
         {kRangeMessage}},
        {"a key in the control field converts the hexa field",
         {pasted(F::Hexa, "2A"), key(F::Control, Qt::Key_End)},
         {"2A", " 0010 1010", "42", "", "*", 42}},

        {"binary with blanks",
         {typed(F::Binario, "1 0000 0001")},
         {"00000101", "1 0000 0001", "257", "", "", 257}},
        {"binary with letters", {typed(F::Binario, "1a 0b1")}, {"00000005", "1a 0b1", "5", "<ENQ>", "", 5}},
        {"no binary digit changes nothing",
         {typed(F::Decimal, "65"), emptied(F::Binario), typed(F::Binario, "x")},
         {"00000041", "x", "65", "", "A", 65}},
        {"more than 32 binary digits keep the rightmost 32",
         {typed(F::Binario, kThirtySixDigits + "1")},  // the 37th is refused
         {"00000005", kThirtySixDigits, "5", "<ENQ>", "", 5}},

        {"character A",
         {typed(F::Char, "A")},
         {"00000041", kSixZeroGroups + " 0100 0001", "65", "", "A", 65}},
        {"character euro sign",
         {typed(F::Char, "€")},
         {"00000080", kSixZeroGroups + " 1000 0000", "128", "", "€", 128}},
        {"a blank in the character field is no character",
         {typed(F::Decimal, "65"), emptied(F::Char), typed(F::Char, " ")},
         {"00000000", kSixZeroGroups + " 0000 0000", "0", "<NUL>", "", 0}},
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        boxes_.shown.clear();
        makePanel();
        for (const auto& step : c.steps) run(step);
        const Shown s = shown();
        EXPECT_EQ(s.hexa, c.expected.hexa);
        EXPECT_EQ(s.binario, c.expected.binario);
        EXPECT_EQ(s.decimal, c.expected.decimal);
        EXPECT_EQ(s.control, c.expected.control);
        EXPECT_EQ(s.chr, c.expected.chr);
        EXPECT_EQ(s.value, c.expected.value);
        EXPECT_EQ(boxes_.texts("message"), c.messages);
        EXPECT_EQ(boxes_.shown.size(), c.messages.size());  // no run-time error either
    }
}

TEST_F(ConverterPanelTest, TabGoesThroughTheFieldsInOrder) {
    makePanel();
    panel_->EditHexa->setFocus();
    std::vector<QWidget*> visited;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.push_back(QApplication::focusWidget());
    }
    const std::vector<QWidget*> order = {panel_->EditBinario, panel_->EditDecimal, panel_->EditControl,
                                         panel_->EditChar};
    EXPECT_EQ(visited, order);
}

}  // namespace
}  // namespace varelo
