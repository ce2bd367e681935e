#pragma once

#include "platform/ui/scripted_modal_boxes.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace varelo {

// A shown, active window with the field under test and one more control to
// take the focus from it. The field starts without the focus.
template <typename Field>
class FieldWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window_.resize(320, 80);
        field_ = new Field(boxes_, &window_);
        field_->setGeometry(10, 10, 120, 22);
        next_ = new QLineEdit(&window_);
        next_->setGeometry(150, 10, 120, 22);
        window_.show();
        QApplication::setActiveWindow(&window_);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
        next_->setFocus();
    }

    void enter() {
        field_->setFocus();
        ASSERT_TRUE(field_->hasFocus());
    }
    void leave() {
        next_->setFocus();
        ASSERT_FALSE(field_->hasFocus());
    }

    ScriptedModalBoxes boxes_;
    QWidget window_;
    Field* field_ = nullptr;
    QLineEdit* next_ = nullptr;
};

}  // namespace varelo
