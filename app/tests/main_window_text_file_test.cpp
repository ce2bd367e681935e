#include "app/tests/monitor_window_fixture.h"

#include <QLineEdit>
#include <QTimer>

#include <sys/stat.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace varelo::test {
namespace {

using Shown = ScriptedModalBoxes::Shown;
using TextFile = MonitorWindowTest;

const Shown Advice{"message", "The port flow control must be XON/XOFF on RTS/CTS."};
const Shown OpenDialog{"open", "Archivos de Texto|*.TXT|Todos los Archivos|*.*"};

TEST_F(TextFile, AFileThatCannotBeReadSendsNothingAndSaysWhy) {
    writeFile(path("present.txt"), "x");
    ::mkfifo(path("pipe").c_str(), 0600);  // nobody writes to it: opening must not wait
    std::filesystem::create_directories(path("folder"));
    struct Case {
        std::string chosen;
        std::string message;
        std::string editFichero;
        std::string editTlg;
    };
    const std::vector<Case> cases = {
        {"   ", "I need the file name to transmit.  Thank you.", "", "before"},
        {path("missing.txt"), "Unable to read the file", path("missing.txt"), "Text file"},
        {path("folder"), "Unable to read the file", path("folder"), "Text file"},
        {path("pipe"), "Unable to read the file", path("pipe"), "Text file"},
        {"/dev/zero", "Unable to read the file", "/dev/zero", "Text file"},
        {"/dev/urandom", "Unable to read the file", "/dev/urandom", "Text file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen);
        window().EditTlg->setText("before");
        shared.TlgToSend = "unchanged";
        boxes.shown.clear();
        boxes.fileAnswers.push_back(c.chosen);

        click(window().FicheroTexto1);
        EXPECT_EQ(boxes.shown, (std::vector<Shown>{Advice, OpenDialog, {"message", c.message}}));
        EXPECT_EQ(window().EditFichero->text().toStdString(), c.editFichero);
        EXPECT_EQ(window().EditTlg->text().toStdString(), c.editTlg);
        EXPECT_EQ(shared.TlgToSend, "unchanged");
    }
    runFor(20);
    EXPECT_EQ(com1.readAvailable(), "");
}

TEST_F(TextFile, TheTextUpToCtrlZGoesOutOnceAndIsShownRawBehindItsHeader) {
    startCapture(path("capture.txt"));
    writeFile(path("text.txt"),
              "Hi\rthere\x1A"
              "and not this");
    boxes.fileAnswers.push_back("  " + path("text.txt") + " ");
    window().State.TlgType = 3;

    click(window().FicheroTexto1);
    std::string far;
    ASSERT_TRUE(runUntil([&] {
        far += com1.readAvailable();
        return far.size() >= 8;
    }));
    runFor(20);
    far += com1.readAvailable();
    EXPECT_EQ(far, "Hi\rthere");
    EXPECT_EQ(shared.TlgToSend, "Hi\rthere");
    EXPECT_EQ(window().EditFichero->text().toStdString(), path("text.txt"));
    EXPECT_EQ(window().EditTlg->text(), "Text file");
    // Shown raw: the CR in the text starts a new line.
    EXPECT_EQ(screenRow(2).substr(0, 7), "P1<-Hi ");
    EXPECT_EQ(screenRow(3).substr(0, 6), "there ");
    EXPECT_EQ(window().State.TlgType, 3u);
    EXPECT_FALSE(window().State.Sending);
    EXPECT_EQ(contentOf(path("capture.txt")), "") << "a text file is not captured";
    EXPECT_FALSE(shared.EchoPending);
}

TEST_F(TextFile, ALargeFileIsSentWholeWhileTheWindowStaysResponsive) {
    constexpr std::size_t Size = 10 * 1024 * 1024;
    std::string content(Size, '\0');
    for (std::size_t i = 0; i < Size; ++i) content[i] = static_cast<char>('0' + i % 75);  // '0' to 'z'
    writeFile(path("large.txt"), content);
    boxes.fileAnswers.push_back(path("large.txt"));

    // The far end reads on a thread of its own, as a real device would, while the
    // window writes synchronously.
    std::string far;
    std::thread reader([&] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (far.size() < Size && std::chrono::steady_clock::now() < deadline) {
            const std::string got = com1.readAvailable();
            if (got.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            far += got;
        }
    });
    // Counts the passes of the event loop while the command runs.
    int passes = 0;
    QTimer beat;
    QObject::connect(&beat, &QTimer::timeout, [&] { ++passes; });
    beat.start(0);
    click(window().FicheroTexto1);
    beat.stop();
    reader.join();

    EXPECT_TRUE(far == content) << "received " << far.size() << " of " << Size << " bytes";
    EXPECT_GE(passes, 10) << "events are processed during the echo, not only once after the send";
    // The echo ends on the last row with the file's last bytes: header and text fill
    // whole rows of 88 columns, and what is left stands on the cursor's row.
    const std::size_t onLastRow = (4 + Size) % 88;
    const CrtScreen& screen = window().QVB->model();
    EXPECT_EQ(screenRow(screen.CurY()).substr(0, onLastRow), content.substr(Size - onLastRow));
    EXPECT_EQ(screen.CurX(), static_cast<int>(onLastRow) + 1);
}

}  // namespace
}  // namespace varelo::test
