#include "widgets/reference_windows/ascii_table_window.h"

#include "util/cp1252.h"
#include "widgets/reference_windows/ascii_table_lines.h"
#include "widgets/reference_windows/tests/gui_test_support.h"

#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace varelo {
namespace {

using testing_support::execWith;
using testing_support::kNotClosed;
using testing_support::memoLines;
using testing_support::pressKey;

QString shown(const std::string& cp1252) {
    return QString::fromStdString(cp1252ToUtf8(cp1252));
}

void expectTheTable(const QPlainTextEdit& memo) {
    const auto lines = memoLines(memo);
    const auto expected = asciiTableLines();
    ASSERT_EQ(lines.size(), 29);
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(lines[int(i)], shown(expected[i])) << "line " << i + 1;
}

using AsciiTableWindow = testing_support::GuiTest;

TEST_F(AsciiTableWindow, ShowsTheTableAtTheTopLeftWithFocusOnClose) {
    TFCarAscii window;
    EXPECT_EQ(window.windowTitle(), "FCarAscii");
    EXPECT_FALSE(window.Memo1->isVisibleTo(&window)) << "hidden until filled";
    window.move(200, 150);

    const int result = execWith(window, [&] {
        EXPECT_EQ(window.pos(), QPoint(0, 0));
        EXPECT_TRUE(window.Memo1->isVisible());
        EXPECT_FALSE(window.Memo1->isReadOnly());
        EXPECT_EQ(window.focusWidget(), window.BitBtn1);
        expectTheTable(*window.Memo1);
        // Line 2 as drawn: the stand-in VT for codes 9, 10, 11 and 13, form feed for 12.
        EXPECT_EQ(memoLines(*window.Memo1)[1],
                  shown("\x0B 009 09|\x0B 010 0A|\x0B 011 0B|\x0C 012 0C|\x0B 013 0D|"
                        "\x0E 014 0E|\x0F 015 0F|\x10 016 10|\x11 017 11|"));
        // High codes are drawn as Windows-1252 characters.
        EXPECT_TRUE(memoLines(*window.Memo1)[14].contains(QString::fromUtf8("\u20AC 128 80|")));
        EXPECT_EQ(memoLines(*window.Memo1)[28],
                  QString::fromUtf8("\u00FC 252 FC|\u00FD 253 FD|\u00FE 254 FE|\u00FF 255 FF|"));
        window.BitBtn1->click();
    });
    EXPECT_EQ(result, QDialog::Rejected);
}

TEST_F(AsciiTableWindow, SecondOpeningRebuildsInsteadOfAppendingAndDropsEdits) {
    TFCarAscii window;
    execWith(window, [&] {
        window.Memo1->appendPlainText("typed by the user");
        window.BitBtn1->click();
    });
    window.move(300, 300);

    const int result = execWith(window, [&] {
        EXPECT_EQ(window.pos(), QPoint(0, 0));
        expectTheTable(*window.Memo1);
        window.BitBtn1->click();
    });
    EXPECT_NE(result, kNotClosed);
    expectTheTable(*window.Memo1);
}

TEST_F(AsciiTableWindow, EscapeClosesIt) {
    TFCarAscii window;
    const int result = execWith(window, [&] { pressKey(window, Qt::Key_Escape); });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace varelo
