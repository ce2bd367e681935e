#include "app/main_window.h"

#include "util/text_helpers.h"

#include <QAction>
#include <QLineEdit>

#include <filesystem>
#include <system_error>

namespace varelo {

namespace {

bool fileExists(const std::string& name) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(name), error);
}

}  // namespace

void TFmEscuchar::Nuevo1Click() {
    OpenDialog1.Execute(boxes_);
    const std::string name = TrimSpaces(OpenDialog1.FileName);
    EditFichero->setText(QString::fromStdString(name));
    EditLng->clear();
    if (name.empty()) {
        boxes_.showMessage("I need the File name to receive.  Thank you");
        return;
    }
    if (fileExists(name) &&
        !boxes_.askYesNo("File " + name + " already exists.  Do you want to replace it?")) {
        EditFichero->clear();
        return;
    }
    if (!CaptureFile.open(name)) {
        boxes_.showErrorBox("File Error", "I can´t open the request file.");
        State.Capturing = false;
        return;
    }
    captureBacklog_.opened();
    State.Capturing = true;
    Nuevo1->setEnabled(false);
    Cerrar1->setEnabled(true);
}

void TFmEscuchar::Cerrar1Click() {
    // The capture ends even when the file fails to close: its state is reset first,
    // so that nothing is later written to a file that is no longer open, and the
    // error is then reported.
    const bool wasCapturing = State.Capturing;
    EditFichero->clear();
    State.Capturing = false;
    Nuevo1->setEnabled(true);
    Cerrar1->setEnabled(false);
    captureBacklog_.closing();
    if (wasCapturing) CaptureFile.close();
}

}  // namespace varelo
