#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

// One application object for the whole test program, as widgets need.
class QtApplicationEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { app_ = std::make_unique<QApplication>(argc_, argv_); }
    void TearDown() override { app_.reset(); }

  private:
    int argc_ = 1;
    char name_[16] = "widget_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace
