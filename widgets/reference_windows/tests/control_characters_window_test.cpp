#include "widgets/reference_windows/control_characters_window.h"

#include "widgets/reference_windows/tests/gui_test_support.h"

#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace varelo {
namespace {

using testing_support::execWith;
using testing_support::memoLines;

using ControlCharactersWindow = testing_support::GuiTest;

// The text as drawn: accented letters decoded from Windows-1252.
TEST_F(ControlCharactersWindow, MemosShowBothColumnsWithTheirAccents) {
    TCaracteresDeControl window;
    EXPECT_EQ(window.windowTitle(), " Caracteres de Control");

    const QStringList low = memoLines(*window.Memo1);
    ASSERT_EQ(low.size(), 19);
    EXPECT_EQ(low[0], "Caracteres de control  ASCII ");
    EXPECT_EQ(low[1], "");
    EXPECT_EQ(low[2], QString::fromUtf8("Hx Dec Simb Descripción"));
    EXPECT_EQ(low[3], "00 00  NUL  Caracter Nulo");
    EXPECT_EQ(low[7], QString::fromUtf8("04 04  EOT  Fin de Transmisión"));
    EXPECT_EQ(low[10], QString::fromUtf8("07 07  BEL  Señal Sonora"));
    EXPECT_EQ(low[12], QString::fromUtf8("09 09  SH   Tabulación"));
    EXPECT_EQ(low[15], QString::fromUtf8("0C 12  FF   Avance de Página"));
    EXPECT_EQ(low[18], QString::fromUtf8("0F 15  SI   Activar Mayúsculas"));

    const QStringList high = memoLines(*window.Memo2);
    ASSERT_EQ(high.size(), 19);
    EXPECT_EQ(high[0], "Caracteres de control  ASCII ");
    EXPECT_EQ(high[2], QString::fromUtf8("Hx Dec Simb Descripción"));
    EXPECT_EQ(high[3], "10 16  DLE  Escape Transm. Datos");
    EXPECT_EQ(high[9], QString::fromUtf8("16 22  SYN  Síncrono de Relleno"));
    EXPECT_EQ(high[10], QString::fromUtf8("17 23  ETB  Fin Bloque Transmisión"));
    EXPECT_EQ(high[18], "1F 31  US   Separador de Unidades");
}

TEST_F(ControlCharactersWindow, MemosAreReadOnlyOutOfTheTabOrderAndCloseCloses) {
    TCaracteresDeControl window;
    for (const QPlainTextEdit* memo : {window.Memo1, window.Memo2}) {
        EXPECT_TRUE(memo->isReadOnly());
        EXPECT_FALSE(memo->focusPolicy() & Qt::TabFocus);
    }
    EXPECT_EQ(window.BitBtn1->text(), "&Close");

    // Shown twice: the static text is not added again.
    for (int opening = 0; opening < 2; ++opening) {
        const int result = execWith(window, [&] { window.BitBtn1->click(); });
        EXPECT_EQ(result, QDialog::Rejected);
    }
    EXPECT_EQ(memoLines(*window.Memo1).size(), 19);
}

}  // namespace
}  // namespace varelo
