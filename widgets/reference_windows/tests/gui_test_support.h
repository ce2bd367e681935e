#pragma once

#include <QDialog>
#include <QStringList>

#include <gtest/gtest.h>

#include <functional>

class QPlainTextEdit;

namespace varelo::testing_support {

// The one QApplication of the test program, created on first use.
void ensureGuiApplication();

// Base of the window tests: makes sure the application exists.
class GuiTest : public testing::Test {
  protected:
    void SetUp() override { ensureGuiApplication(); }
};

// The lines of a text box as its document holds them.
QStringList memoLines(const QPlainTextEdit& memo);

// Runs the dialog modally, as the main window does, and calls `whileOpen` once
// from inside its event loop. A dialog that `whileOpen` fails to close is closed
// by a guard after a few seconds with the result kNotClosed, so a fault fails the
// test instead of hanging it.
inline constexpr int kNotClosed = -1;
int execWith(QDialog& dialog, std::function<void()> whileOpen);

// Sends a key press and release to the widget that has the dialog's focus.
void pressKey(QDialog& dialog, int key);

}  // namespace varelo::testing_support
