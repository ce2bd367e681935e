#include "widgets/reference_windows/about_window.h"

#include "widgets/reference_windows/tests/gui_test_support.h"

#include <QImage>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

namespace varelo {
namespace {

using testing_support::execWith;
using testing_support::pressKey;

const QColor kPurple(0x80, 0x00, 0x80);

int pixelsOfColour(const QImage& image, const QColor& colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).rgb() == colour.rgb()) ++count;
    return count;
}

using AboutWindow = testing_support::GuiTest;

TEST_F(AboutWindow, ShowsTheProductNameInPurpleOnPaleYellow) {
    TFmAcercaDe window;
    EXPECT_EQ(window.windowTitle(), " Acerca De");
    EXPECT_EQ(window.ProductName->text(), "Varelo");
    EXPECT_EQ(window.ProductName->palette().color(QPalette::WindowText), kPurple);
    EXPECT_TRUE(window.ProductName->font().bold());

    window.show();
    const QImage panel = window.Panel1->grab().toImage();
    const QImage name = window.ProductName->grab().toImage();
    window.hide();
    EXPECT_GT(pixelsOfColour(name, kPurple), 20) << "the name is drawn in purple";
    EXPECT_EQ(panel.pixelColor(panel.width() / 2, 4), QColor(0xF8, 0xF8, 0x92)) << "pale yellow panel";
}

TEST_F(AboutWindow, VersionLineCarriesTheBuildVersion) {
    TFmAcercaDe window;
    EXPECT_EQ(window.VersionLine->text(), "Version " VARELO_EXPECTED_VERSION);
    EXPECT_FALSE(window.Image1->pixmap().isNull());
}

TEST_F(AboutWindow, OkIsTheActiveControlAndClosesIt) {
    TFmAcercaDe window;
    const int byEnter = execWith(window, [&] {
        EXPECT_EQ(window.focusWidget(), window.OKButton);
        pressKey(window, Qt::Key_Return);
    });
    EXPECT_EQ(byEnter, QDialog::Accepted);

    const int byClick = execWith(window, [&] { window.OKButton->click(); });
    EXPECT_EQ(byClick, QDialog::Accepted);
}

}  // namespace
}  // namespace varelo
