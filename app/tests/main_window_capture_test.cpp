#include "app/tests/main_window_fixture.h"

#include "util/run_time_errors.h"

#include <QLineEdit>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace varelo::test {
namespace {

namespace fs = std::filesystem;

class CaptureFileMenu : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        folder =
            fs::temp_directory_path() / ("varelo-capture-" + std::to_string(::getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        start();
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        fs::remove_all(folder);
    }

    std::string path(const std::string& name) const { return (folder / name).string(); }
    static std::string contentOf(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void writeFile(const std::string& file, const std::string& content) {
        std::ofstream(file, std::ios::binary) << content;
    }
    void chooseFile(const std::string& name) { boxes.fileAnswers.push_back(name); }
    std::string editFichero() { return window().EditFichero->text().toStdString(); }
    void expectNotCapturing() {
        EXPECT_FALSE(window().State.Capturing);
        EXPECT_TRUE(window().Nuevo1->isEnabled());
        EXPECT_FALSE(window().Cerrar1->isEnabled());
    }
    void expectCapturing() {
        EXPECT_TRUE(window().State.Capturing);
        EXPECT_FALSE(window().Nuevo1->isEnabled());
        EXPECT_TRUE(window().Cerrar1->isEnabled());
    }

    fs::path folder;
};

TEST_F(CaptureFileMenu, CancelOnFirstUseAsksForANameAndCreatesNothing) {
    window().EditLng->setText("12");
    click(window().Nuevo1);

    EXPECT_EQ(boxes.shown, (std::vector<ScriptedModalBoxes::Shown>{
                               {"open", "Archivos de Texto|*.TXT|Todos los Archivos|*.*"},
                               {"message", "I need the File name to receive.  Thank you"}}));
    EXPECT_EQ(editFichero(), "");
    EXPECT_EQ(window().EditLng->text().toStdString(), "") << "New empties the byte count field";
    EXPECT_TRUE(fs::is_empty(folder));
    expectNotCapturing();
}

TEST_F(CaptureFileMenu, ANameWithSurroundingBlanksIsUsedAndShownTrimmed) {
    chooseFile("  " + path("capture.txt") + "   ");
    click(window().Nuevo1);

    EXPECT_EQ(boxes.texts("message"), std::vector<std::string>{});
    EXPECT_EQ(editFichero(), path("capture.txt"));
    EXPECT_TRUE(fs::exists(path("capture.txt")));
    expectCapturing();

    window().CaptureFile.write("P1->AB");
    click(window().Cerrar1);
    EXPECT_EQ(contentOf(path("capture.txt")), "P1->AB");
    EXPECT_EQ(editFichero(), "");
    expectNotCapturing();
}

TEST_F(CaptureFileMenu, AnExistingFileIsReplacedOnYesAndKeptOnNo) {
    const std::string file = path("old.txt");
    writeFile(file, "earlier capture");
    const std::string question = "File " + file + " already exists.  Do you want to replace it?";

    chooseFile(file);
    boxes.yesNoAnswers.push_back(false);
    click(window().Nuevo1);
    EXPECT_EQ(boxes.texts("yesno"), std::vector<std::string>{question});
    EXPECT_EQ(editFichero(), "") << "No empties the name field";
    EXPECT_EQ(contentOf(file), "earlier capture");
    expectNotCapturing();

    // Cancel now: the dialog still holds the name chosen before.
    boxes.yesNoAnswers.push_back(true);
    click(window().Nuevo1);
    EXPECT_EQ(boxes.texts("yesno"), (std::vector<std::string>{question, question}));
    EXPECT_EQ(editFichero(), file);
    EXPECT_EQ(contentOf(file), "") << "Yes empties the file";
    expectCapturing();
}

TEST_F(CaptureFileMenu, AFileThatCannotBeCreatedIsReportedAndChangesNoMenuItem) {
    writeFile(path("plain-file"), "x");
    fs::create_directories(path("a-folder"));
    const std::vector<std::string> names = {
        path("no-such-folder/capture.txt"),  // a folder that does not exist
        path("plain-file/capture.txt"),      // a file where a folder should be
        path("a-folder"),                    // a folder's own name, answered Yes
    };
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        boxes.shown.clear();
        chooseFile(name);
        boxes.yesNoAnswers.push_back(true);
        click(window().Nuevo1);
        EXPECT_EQ(boxes.texts("error"),
                  std::vector<std::string>{"File Error|I can´t open the request file."});
        expectNotCapturing();
    }
}

TEST_F(CaptureFileMenu, CloseWithoutACaptureOnlyEmptiesTheNameAndResetsTheMenu) {
    window().EditFichero->setText("left from a text file");
    click(window().Cerrar1);  // disabled: the user cannot reach it
    EXPECT_EQ(editFichero(), "left from a text file");

    window().Cerrar1Click();
    EXPECT_EQ(editFichero(), "");
    EXPECT_TRUE(boxes.shown.empty());
    expectNotCapturing();
}

TEST_F(CaptureFileMenu, ExitWithACaptureOpenClosesTheFileWithEverythingWritten) {
    chooseFile(path("exit.txt"));
    click(window().Nuevo1);
    window().show();
    window().CaptureFile.write("\r\nP1->first");
    window().CaptureFile.write("\r\nP2->second");

    click(window().Salir1);

    EXPECT_FALSE(window().isVisible());
    EXPECT_FALSE(window().CaptureFile.isOpen());
    EXPECT_FALSE(window().Port1.Connected());
    EXPECT_FALSE(window().Port2.Connected());
    EXPECT_EQ(contentOf(path("exit.txt")), "\r\nP1->first\r\nP2->second");
    EXPECT_TRUE(boxes.shown.size() == 1) << "only the file dialog was shown";
}

// Takes the descriptor away under the open capture file, so that closing it fails.
void closeDescriptorOf(const std::string& file) {
    for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (fs::read_symlink(entry.path(), error) == fs::path(file)) {
            ::close(std::stoi(entry.path().filename().string()));
            return;
        }
    }
    FAIL() << "no descriptor open on " << file;
}

TEST_F(CaptureFileMenu, ACaptureThatFailsToCloseIsReportedAndStillEnds) {
    chooseFile(path("lost.txt"));
    click(window().Nuevo1);
    expectCapturing();
    closeDescriptorOf(path("lost.txt"));

    window().show();
    click(window().Salir1);
    ASSERT_EQ(boxes.texts("runtime").size(), 1u);
    EXPECT_EQ(boxes.texts("runtime")[0].rfind("I/O error", 0), 0u) << boxes.texts("runtime")[0];
    EXPECT_TRUE(window().isVisible()) << "a close that fails leaves the window";
    expectNotCapturing();
    EXPECT_EQ(editFichero(), "");

    click(window().Salir1);
    EXPECT_FALSE(window().isVisible()) << "closing again ends it";
    EXPECT_EQ(boxes.texts("runtime").size(), 1u);
}

}  // namespace
}  // namespace varelo::test
