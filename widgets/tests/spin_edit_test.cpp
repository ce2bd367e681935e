#include "widgets/spin_edit.h"

#include "widgets/spin_button.h"
#include "widgets/tests/field_window.h"
#include "widgets/timer_speed_button.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <limits>

namespace varelo {
namespace {

class SpinEditTest : public FieldWindowTest<TSpinEdit> {
  protected:
    void SetUp() override {
        FieldWindowTest::SetUp();
        spin_ = field_;
        spin_->setOnChange([this] { ++changes_; });
    }

    // The main window's polling delay field.
    void makeDelayField() {
        spin_->setMinValue(10);
        spin_->setMaxValue(1000);
        spin_->setIncrement(10);
        spin_->setValue(50);
    }

    TTimerSpeedButton* upButton() const { return spin_->button()->upButton(); }
    QPoint centre(QWidget* w) const { return w->rect().center(); }

    TSpinEdit* spin_ = nullptr;
    int changes_ = 0;
};

TEST_F(SpinEditTest, StepsStopAtTheLimits) {
    makeDelayField();
    spin_->setValue(1000);
    spin_->StepUp();
    EXPECT_EQ(spin_->value(), 1000);
    spin_->setValue(10);
    spin_->StepDown();
    EXPECT_EQ(spin_->value(), 10);

    enter();
    QTest::keyClick(spin_, Qt::Key_Up);
    QTest::keyClick(spin_, Qt::Key_Up);
    EXPECT_EQ(spin_->text(), "30");
    QTest::keyClick(spin_, Qt::Key_Down);
    EXPECT_EQ(spin_->value(), 20);

    spin_->setValue(5000);
    EXPECT_EQ(spin_->text(), "1000") << "writing the value clamps it";
}

TEST_F(SpinEditTest, EqualLimitsMeanNoneAndStepsDoNotWrapRound) {
    spin_->setValue(-123456);
    EXPECT_EQ(spin_->value(), -123456);
    spin_->setValue(std::numeric_limits<std::int32_t>::max());
    spin_->StepUp();
    EXPECT_EQ(spin_->value(), std::numeric_limits<std::int32_t>::max());
    spin_->setValue(std::numeric_limits<std::int32_t>::min());
    spin_->StepDown();
    EXPECT_EQ(spin_->value(), std::numeric_limits<std::int32_t>::min());
}

TEST_F(SpinEditTest, TextThatIsNoNumberReadsAsMinValue) {
    makeDelayField();
    for (const char* text : {"", "-", "+", "5.", "1,5", "abc", "99999999999"}) {
        spin_->setText(text);
        EXPECT_EQ(spin_->value(), 10) << text;
    }
    spin_->setText("+25");
    EXPECT_EQ(spin_->value(), 25);
}

TEST_F(SpinEditTest, RefusedCharactersBeepAndInsertNothing) {
    makeDelayField();
    enter();
    spin_->selectAll();
    QTest::keyClicks(spin_, "5a");
    QTest::keyClick(spin_, Qt::Key_Return);
    EXPECT_EQ(spin_->text(), "5");
    EXPECT_EQ(boxes_.beeps, 2);
    EXPECT_EQ(spin_->value(), 5) << "no clamping while typing";

    QTest::keyClicks(spin_, QString(QChar(spin_->decimalSeparator())));
    EXPECT_EQ(spin_->text(), QString("5") + QChar(spin_->decimalSeparator()));
    EXPECT_EQ(boxes_.beeps, 2);
    EXPECT_EQ(spin_->value(), 10) << "a decimal number reads as the minimum";
}

TEST_F(SpinEditTest, LeavingClampsANumberButKeepsOtherText) {
    spin_->setMinValue(10);
    spin_->setMaxValue(10000000);
    spin_->setIncrement(100);
    spin_->setValue(1000);
    enter();
    spin_->selectAll();
    QTest::keyClicks(spin_, "5");
    leave();
    EXPECT_EQ(spin_->text(), "10");

    enter();
    spin_->clear();
    leave();
    EXPECT_EQ(spin_->text(), "") << "an empty field stays empty";
    EXPECT_EQ(spin_->value(), 10);
}

TEST_F(SpinEditTest, ReadOnlyAndEditorOffFields) {
    makeDelayField();
    spin_->setReadOnly(true);
    spin_->StepUp();
    spin_->StepDown();
    EXPECT_EQ(spin_->value(), 50);
    EXPECT_EQ(boxes_.beeps, 2);

    spin_->setReadOnly(false);
    spin_->setEditorEnabled(false);
    enter();
    QTest::keyClick(spin_, Qt::Key_End);
    QTest::keyClick(spin_, Qt::Key_5);
    QTest::keyClick(spin_, Qt::Key_Backspace);
    EXPECT_EQ(spin_->text(), "50");
    EXPECT_EQ(boxes_.beeps, 4);
    QTest::keyClick(spin_, Qt::Key_Up);
    EXPECT_EQ(spin_->value(), 60) << "the value can still be stepped";
}

TEST_F(SpinEditTest, ShortClickStepsOnceOnRelease) {
    makeDelayField();
    changes_ = 0;
    QTest::mousePress(upButton(), Qt::LeftButton, {}, centre(upButton()));
    EXPECT_EQ(spin_->value(), 50);
    QTest::mouseRelease(upButton(), Qt::LeftButton, {}, centre(upButton()));
    EXPECT_EQ(spin_->value(), 60);
    EXPECT_EQ(changes_, 1);
    EXPECT_TRUE(spin_->hasFocus()) << "a press hands the focus to the field";
    ASSERT_NE(upButton()->repeatTimer(), nullptr);
    EXPECT_FALSE(upButton()->repeatTimer()->enabled());
}

TEST_F(SpinEditTest, HeldButtonRepeatsThenStepsOnceMoreOnRelease) {
    makeDelayField();
    QTest::mousePress(upButton(), Qt::LeftButton, {}, centre(upButton()));
    FormTimer* timer = upButton()->repeatTimer();
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->enabled());
    EXPECT_EQ(timer->interval(), TTimerSpeedButton::kFirstRepeatMs);
    EXPECT_EQ(spin_->value(), 50);

    timer->fire();
    EXPECT_EQ(spin_->value(), 60);
    EXPECT_EQ(timer->interval(), TTimerSpeedButton::kRepeatMs);
    timer->fire();
    EXPECT_EQ(spin_->value(), 70);

    QTest::mouseRelease(upButton(), Qt::LeftButton, {}, centre(upButton()));
    EXPECT_EQ(spin_->value(), 80);
    EXPECT_FALSE(timer->enabled());
    timer->fire();
    EXPECT_EQ(spin_->value(), 80) << "no repeat once released";
}

TEST_F(SpinEditTest, ReleaseOutsideTheButtonAddsNoStep) {
    makeDelayField();
    auto* down = spin_->button()->downButton();
    QTest::mousePress(down, Qt::LeftButton, {}, centre(down));
    down->repeatTimer()->fire();
    EXPECT_EQ(spin_->value(), 40);
    QTest::mouseRelease(down, Qt::LeftButton, {}, QPoint(-20, -20));
    EXPECT_EQ(spin_->value(), 40);
}

TEST_F(SpinEditTest, RepeatTimerRunsOnItsOwn) {
    makeDelayField();
    QTest::mousePress(upButton(), Qt::LeftButton, {}, centre(upButton()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return spin_->value() >= 70; }, 5000));
    QTest::mouseRelease(upButton(), Qt::LeftButton, {}, centre(upButton()));
    const int released = spin_->value();
    QTest::qWait(250);
    EXPECT_EQ(spin_->value(), released);
}

}  // namespace
}  // namespace varelo
