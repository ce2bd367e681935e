#include "widgets/outer_size.h"

#include <QPushButton>
#include <QWidget>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace varelo {
namespace {

TEST(OuterSize, TheInsideIsTheOuterSizeLessTheFrame) {
    struct Case {
        QMargins frame;
        QSize inside;
    } cases[] = {
        {{0, 0, 0, 0}, {640, 480}},        // no frame (a bare X server)
        {{1, 20, 1, 5}, {638, 455}},       // a title bar and a bottom handle
        {{4, 30, 4, 4}, {632, 446}},       // a desktop's sizing border and caption
        {{400, 300, 400, 300}, {1, 1}},    // never less than a pixel
    };
    for (const Case& c : cases) EXPECT_EQ(insideForOuter({640, 480}, c.frame), c.inside) << c.frame.top();
}

// The real window system's frame, as the platform reports it once the window is shown.
TEST(OuterSize, AShownWindowsFrameMeasuresTheOuterSizeAndAUsersResizeStays) {
    QWidget window;
    setOuterSize(&window, {300, 200});
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.frameGeometry().size() == QSize(300, 200); }, 3000))
        << window.frameGeometry().width() << " x " << window.frameGeometry().height();
    EXPECT_FALSE(frameOf(window).isNull()) << "the platform draws a frame, so the inside is smaller";
    EXPECT_EQ(window.size(), insideForOuter({300, 200}, frameOf(window)));

    window.resize(350, 260);
    window.move(window.pos() + QPoint(10, 10));
    QTest::qWait(50);
    EXPECT_EQ(window.size(), QSize(350, 260)) << "the user's size stays";
    setOuterSize(&window, {300, 200});
    EXPECT_EQ(window.frameGeometry().size(), QSize(300, 200));
}

TEST(OuterSize, AFixedWindowKeepsItsSizeButNeverCutsAControlOff) {
    QWidget window;
    auto* button = new QPushButton("OK", &window);
    button->setGeometry(10, 150, 80, 30);  // bottom edge 179, so 184 with the margin
    setOuterSize(&window, {300, 200}, Resizing::Fixed);
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.frameGeometry().size() == QSize(300, 200); }, 3000));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());

    setOuterSize(&window, {300, 160}, Resizing::Fixed);
    EXPECT_EQ(window.height(), 180 + kControlsMargin) << "the button stays whole";
    EXPECT_EQ(window.width(), 300 - frameOf(window).left() - frameOf(window).right());
}

}  // namespace
}  // namespace varelo
