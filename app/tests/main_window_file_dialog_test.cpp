#include "app/tests/monitor_window_fixture.h"

#include "platform/ui/qt_modal_boxes.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>
#include <QtTest/QTest>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace varelo::test {
namespace {

// The program's boxes with the real file dialog: the toolkit's own dialog, answered
// by typing into its name field; every other box scripted.
class RealFileDialogBoxes final : public ModalBoxes {
  public:
    explicit RealFileDialogBoxes(ScriptedModalBoxes& scripted) : scripted_(scripted) {}

    void showMessage(const std::string& text) override { scripted_.showMessage(text); }
    bool askYesNo(const std::string& text) override { return scripted_.askYesNo(text); }
    std::string inputBox(const std::string& caption, const std::string& prompt,
                         const std::string& defaultText) override {
        return scripted_.inputBox(caption, prompt, defaultText);
    }
    void showErrorBox(const std::string& caption, const std::string& text) override {
        scripted_.showErrorBox(caption, text);
    }
    void showRunTimeError(const std::string& text) override { scripted_.showRunTimeError(text); }
    std::string openFileName(const std::string& filter, const std::string& currentName) override {
        return real_.openFileName(filter, currentName);
    }
    void beep() override { scripted_.beep(); }

  private:
    ScriptedModalBoxes& scripted_;
    QtModalBoxes real_;
};

class RealFileDialog : public MonitorWindowTest {
  protected:
    void startProgram() override {
        std::filesystem::create_directories(path("elsewhere"));
        start(realBoxes);
    }

    // Once the file dialog is open: the user goes to `dialogFolder`, types `name`
    // over what the name field holds and presses Enter. A dialog still open after
    // that is cancelled, so that the test fails instead of waiting.
    void typeInFileDialog(const std::string& dialogFolder, const std::string& name) {
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, [this, poll, dialogFolder, name] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible()) return;
            poll->deleteLater();
            dialogUsed = true;
            dialog->setDirectory(QString::fromStdString(dialogFolder));
            auto* field = dialog->findChild<QLineEdit*>("fileNameEdit");
            ASSERT_NE(field, nullptr);
            // The dialog fills its name field in once it has read the folder, as it
            // settles; the user types when it has.
            const QString typed = QString::fromStdString(name);
            for (int attempt = 0; attempt < 10 && field->text() != typed; ++attempt) {
                QTest::qWait(100);
                QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(field, typed);
                QTest::qWait(100);
            }
            QTest::keyClick(field, Qt::Key_Return);
            QTimer::singleShot(2000, dialog, [dialog] {
                if (dialog->isVisible()) dialog->reject();
            });
        });
        poll->start(10);
    }

    std::string editFichero() { return window().EditFichero->text().toStdString(); }

    RealFileDialogBoxes realBoxes{boxes};
    bool dialogUsed = false;
};

struct TypedName {
    std::string typed;     // in the dialog's folder, the test folder
    std::string expected;  // below the test folder
};

std::vector<TypedName> typedNames(const std::string& folder) {
    return {
        {"  cap1.txt  ", "cap1.txt"},
        {"  " + folder + "/elsewhere/lead.txt", "elsewhere/lead.txt"},
        {" my capture.txt ", "my capture.txt"},  // the blanks inside stay
    };
}

TEST_F(RealFileDialog, FileNewUsesAndShowsTheTypedNameWithoutItsBlanks) {
    for (const TypedName& t : typedNames(folder.string())) {
        SCOPED_TRACE("typed \"" + t.typed + "\"");
        boxes.shown.clear();
        dialogUsed = false;
        typeInFileDialog(folder.string(), t.typed);
        click(window().Nuevo1);

        EXPECT_TRUE(dialogUsed);
        EXPECT_EQ(boxes.texts("message"), std::vector<std::string>{});
        EXPECT_EQ(boxes.texts("error"), std::vector<std::string>{});
        EXPECT_EQ(editFichero(), path(t.expected));
        EXPECT_TRUE(std::filesystem::exists(path(t.expected)));
        EXPECT_TRUE(window().State.Capturing);
        click(window().Cerrar1);
    }
    std::vector<std::string> created;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) created.push_back(entry.path().lexically_relative(folder).string());
    std::sort(created.begin(), created.end());
    EXPECT_EQ(created, (std::vector<std::string>{"cap1.txt", "elsewhere/lead.txt", "my capture.txt"}));
}

TEST_F(RealFileDialog, TextFileSendsTheFileOfTheTypedNameWithoutItsBlanks) {
    for (const TypedName& t : typedNames(folder.string())) {
        SCOPED_TRACE("typed \"" + t.typed + "\"");
        writeFile(path(t.expected), "sent " + t.expected);
        boxes.shown.clear();
        dialogUsed = false;
        typeInFileDialog(folder.string(), t.typed);
        click(window().FicheroTexto1);

        EXPECT_TRUE(dialogUsed);
        EXPECT_EQ(boxes.texts("message"),
                  std::vector<std::string>{"The port flow control must be XON/XOFF on RTS/CTS."});
        EXPECT_EQ(editFichero(), path(t.expected));
        std::string far;
        EXPECT_TRUE(runUntil([&] {
            far += com1.readAvailable();
            return far.size() >= 5 + t.expected.size();
        }));
        EXPECT_EQ(far, "sent " + t.expected);
    }
}

}  // namespace
}  // namespace varelo::test
