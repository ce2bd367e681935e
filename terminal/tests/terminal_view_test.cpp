#include "terminal/terminal_view.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QImage>
#include <QLineEdit>
#include <QRawFont>
#include <QVBoxLayout>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <string>

namespace varelo {
namespace {

class TerminalViewTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "terminal_view_test";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance()) new QApplication(argc, argv);
    }

    // The colour drawn at the middle of a cell, column and row 1-based.
    static QColor colourAt(TQVBcrt& view, int x, int y) {
        const QImage image = view.grab().toImage();
        return image.pixelColor((x - 1) * view.CharWidth() + view.CharWidth() / 2,
                                (y - 1) * view.CharHeight() + view.CharHeight() / 2);
    }
};

TEST_F(TerminalViewTest, SizesItselfToItsCellsAndKeepsThatSize) {
    TQVBcrt view;
    const QFontMetrics metrics(view.font());
    EXPECT_EQ(view.CharWidth(), metrics.averageCharWidth());
    EXPECT_EQ(view.CharHeight(), metrics.height() + metrics.leading());

    view.SetColumns(88);
    view.SetRows(133);  // ignored
    const QSize cells(88 * view.CharWidth(), 24 * view.CharHeight());
    EXPECT_EQ(view.size(), cells);

    view.show();
    view.resize(300, 40);
    EXPECT_EQ(view.size(), cells);

    QFont bigger = view.font();
    bigger.setPixelSize(22);
    view.setFont(bigger);
    EXPECT_GT(view.CharHeight(), cells.height() / 24);
    EXPECT_EQ(view.size(), QSize(88 * view.CharWidth(), 24 * view.CharHeight()));
}

TEST_F(TerminalViewTest, TabEnterEscapeAndArrowsStayInTheView) {
    QDialog dialog;  // a dialog closes on Escape and moves the focus on Tab if keys get past the view
    auto* edit = new QLineEdit(&dialog);
    auto* view = new TQVBcrt(&dialog);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(edit);
    layout->addWidget(view);
    std::string typed;
    view->SetOnKeyPress([&](char& key) { typed += key; });
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    view->setFocus();
    ASSERT_TRUE(view->hasFocus());

    for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Backspace,
                        Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_A}) {
        SCOPED_TRACE(key);
        QTest::keyClick(view, key);
        EXPECT_TRUE(view->hasFocus());
        EXPECT_TRUE(dialog.isVisible());
    }
    QTest::keyClick(view, Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_TRUE(view->hasFocus());
    // Shift+Tab and Delete as X11 delivers them: Backtab without text, Delete with DEL.
    QTest::sendKeyEvent(QTest::Click, view, Qt::Key_Backtab, QString(), Qt::ShiftModifier);
    EXPECT_TRUE(view->hasFocus());
    QTest::sendKeyEvent(QTest::Click, view, Qt::Key_Delete, QStringLiteral("\x7f"), Qt::NoModifier);

    QKeyEvent euro(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("\u20AC"));
    QApplication::sendEvent(view, &euro);

    // Arrows and Delete carry no character; the others arrive as Windows-1252 bytes.
    EXPECT_EQ(typed, std::string("\t\r\r\x1b\ba\t\t\x80"));
    EXPECT_EQ(view->model().CurX(), 1) << "the view does not echo typed keys";
}

TEST_F(TerminalViewTest, ALongStringArrivesWholeAndInOrder) {
    TQVBcrt view;
    view.SetColumns(88);
    std::string text;
    for (int i = 0; i < 1000; ++i) text += static_cast<char>('!' + i % 90);
    view.WriteString(text);

    for (int i = 0; i < 1000; ++i) {
        const TCrtCell& c = view.model().cell(1 + i % 88, 1 + i / 88);
        ASSERT_EQ(c.Ch, static_cast<std::uint8_t>(text[i])) << i;
    }
    EXPECT_EQ(view.model().CurX(), 1000 % 88 + 1);
    EXPECT_EQ(view.model().CurY(), 1000 / 88 + 1);
}

TEST_F(TerminalViewTest, TheNextScrollTakesTheWaitingRepaintBackAndPostsItAgain) {
    TQVBcrt view;
    int delivered = 0;
    struct Counter : QObject {
        int* count;
        explicit Counter(int* c) : count(c) {}
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == TQVBcrt::RepaintAllEvent()) ++*count;
            return false;
        }
    } counter(&delivered);
    view.installEventFilter(&counter);

    view.WriteString(std::string(24, '\n'));  // one scroll: one repaint posted
    EXPECT_FALSE(view.model().RepaintPending());
    view.WriteString("\n");  // the next scroll finds it waiting
    EXPECT_TRUE(view.model().RepaintPending());
    EXPECT_EQ(view.model().ScrollCount(), 1);

    QCoreApplication::processEvents();
    EXPECT_EQ(delivered, 1);
    EXPECT_FALSE(view.model().RepaintPending());
    EXPECT_EQ(view.model().ScrollCount(), 0);
}

// The image of one cell of row 1, column 1-based.
QImage cellImage(const TQVBcrt& view, const QImage& shown, int column) {
    return shown.copy((column - 1) * view.CharWidth(), 0, view.CharWidth(), view.CharHeight());
}

// Writes `text` in `font`, which ends in "BC", and expects every byte before them
// to show something in its own cell and "BC" where the byte count puts them.
void expectEachByteInItsCell(const QFont& font, const std::string& text) {
    TQVBcrt reference;
    reference.setFont(font);
    reference.WriteString("BC");
    const QImage letters = reference.grab().toImage();
    const QImage b = cellImage(reference, letters, 1);
    const QImage c = cellImage(reference, letters, 2);
    const QImage blank = cellImage(reference, letters, 3);
    ASSERT_NE(b, blank);

    TQVBcrt view;
    view.setFont(font);
    view.WriteString(text);
    const QImage shown = view.grab().toImage();
    int foundB = 0;
    for (int column = 1; column <= view.Columns() && !foundB; ++column)
        if (cellImage(view, shown, column) == b) foundB = column;
    const int columnOfB = static_cast<int>(text.size()) - 1;
    EXPECT_EQ(foundB, columnOfB) << "the column that shows B";
    EXPECT_TRUE(cellImage(view, shown, columnOfB + 1) == c) << "C right after B";
    for (int column = 1; column < columnOfB; ++column)
        EXPECT_FALSE(cellImage(view, shown, column) == blank) << "column " << column << " shows its byte";
}

// The bytes the font has no glyph for, and the soft hyphen, which text layout would
// hide, each keep their one cell: nothing after them moves.
TEST_F(TerminalViewTest, EveryByteTakesExactlyItsOwnCell) {
    const QFont viewFont = TQVBcrt().font();
    for (int missing : {0x7F, 0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        SCOPED_TRACE(missing);
        expectEachByteInItsCell(viewFont, {'A', static_cast<char>(missing), '\xAD', 'B', 'C'});
    }

    // Glyphs another font lends (a proportional one, wider or narrower than the
    // cell) stay in their cells too: this font lacks the soft hyphen, ² and ³.
    QFont lacking("DejaVu Math TeX Gyre");
    lacking.setPixelSize(11);
    const QRawFont lackingRaw = QRawFont::fromFont(lacking);
    ASSERT_EQ(lackingRaw.familyName(), "DejaVu Math TeX Gyre");
    ASSERT_EQ(lackingRaw.glyphIndexesForString(QStringLiteral("\u00B2")).value(0), 0u);
    expectEachByteInItsCell(lacking, "A\xB2\xB3\xAD\xB2\x7F" "BC");
}

TEST_F(TerminalViewTest, DrawsEachCellInItsColoursAndTheCaretOnlyWhileFocused) {
    QWidget window;
    auto* view = new TQVBcrt(&window);
    auto* edit = new QLineEdit(&window);
    edit->move(0, view->height());
    view->SetTextColor(colours::Red);
    view->SetBackColor(colours::Aqua);
    view->WriteString("X ");
    view->SetTextColor(colours::Black);
    view->SetBackColor(colours::White);
    view->WriteString(" \x80");
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    EXPECT_EQ(colourAt(*view, 2, 1), QColor(Qt::cyan));
    EXPECT_EQ(colourAt(*view, 3, 1), QColor(Qt::white));
    // Glyphs are smoothed, so ink shows as pixels leaning to the text colour.
    const QImage image = view->grab().toImage();
    auto inked = [&](int column, auto leansToInk) {
        for (int y = 0; y < view->CharHeight(); ++y)
            for (int x = (column - 1) * view->CharWidth(); x < column * view->CharWidth(); ++x)
                if (leansToInk(image.pixelColor(x, y))) return true;
        return false;
    };
    EXPECT_TRUE(inked(1, [](QColor c) { return c.red() > c.green(); })) << "X in red on aqua";
    EXPECT_FALSE(inked(2, [](QColor c) { return c.red() > c.green(); })) << "a blank";
    EXPECT_TRUE(inked(4, [](QColor c) { return c.red() < 128; })) << "the euro sign in black on white";

    edit->setFocus();
    EXPECT_EQ(colourAt(*view, 5, 1), QColor(Qt::white)) << "no caret without the focus";
    view->setFocus();
    EXPECT_EQ(colourAt(*view, 5, 1), QColor(Qt::black)) << "block caret in the text colour";
    view->SetCursor(false);
    EXPECT_EQ(colourAt(*view, 5, 1), QColor(Qt::white));
}

}  // namespace
}  // namespace varelo
