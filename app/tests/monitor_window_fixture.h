#pragma once

#include "app/monitor/tests/monitor_fakes.h"
#include "app/tests/main_window_fixture.h"
#include "terminal/terminal_view.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace varelo::test {

// The started program with a folder of its own for capture and text files, and the
// means to let the event loop run until the line has done its part.
class MonitorWindowTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        folder = std::filesystem::temp_directory_path() /
                 ("varelo-monitor-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        startProgram();
    }
    // The program as the test wants it started, once its folder exists.
    virtual void startProgram() { start(); }
    void TearDown() override {
        MainWindowTest::TearDown();
        std::filesystem::remove_all(folder);
    }

    std::string path(const std::string& name) const { return (folder / name).string(); }
    static std::string contentOf(const std::string& file) { return varelo::testing::readFile(file); }
    static void writeFile(const std::string& file, const std::string& content) {
        std::ofstream(file, std::ios::binary) << content;
    }

    // File, New on the named file; an existing one (a device) is replaced.
    void startCapture(const std::string& file) {
        boxes.fileAnswers.push_back(file);
        boxes.yesNoAnswers.push_back(true);
        click(window().Nuevo1);
        ASSERT_TRUE(window().State.Capturing) << file;
    }

    // Runs the event loop until `done` holds; false if it still does not after a
    // generous while (the test then fails rather than hangs).
    static bool runUntil(const std::function<bool()>& done) {
        QElapsedTimer waited;
        waited.start();
        while (!done()) {
            if (waited.elapsed() > 20000) return false;
            runFor(5);
        }
        return true;
    }
    static void runFor(int ms) {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    }

    // Row y of the terminal view as text, and one of its cells.
    std::string screenRow(int y) {
        const CrtScreen& screen = window().QVB->model();
        std::string row;
        for (int x = 1; x <= screen.Columns(); ++x) row += static_cast<char>(screen.cell(x, y).Ch);
        return row;
    }
    const TCrtCell& cellAt(int x, int y) { return window().QVB->model().cell(x, y); }

    std::filesystem::path folder;
};

}  // namespace varelo::test
