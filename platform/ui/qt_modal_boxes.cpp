#include "platform/ui/qt_modal_boxes.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QStringList>

namespace varelo {
namespace {

QString q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// "Text files|*.TXT|All files|*.*" -> "Text files (*.TXT *.txt);;All files (*)"
QString toQtFilter(const std::string& filter) {
    const QStringList parts = q(filter).split('|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1];
        if (pattern == "*.*") pattern = "*";
        else if (pattern != pattern.toLower()) pattern += ' ' + pattern.toLower();
        out << parts[i] + " (" + pattern.replace(';', ' ') + ")";
    }
    return out.join(";;");
}

// The file dialog, with the typed name taken without the blanks around it. The
// dialog itself puts its folder in front of what was typed, blanks and all, so
// "  cap1.txt  " would become "<folder>/  cap1.txt  " and "  /tmp/x.txt" a name
// inside the folder; the blanks go before it sees the name.
class TrimmingFileDialog final : public QFileDialog {
  public:
    using QFileDialog::QFileDialog;

    void accept() override {
        if (auto* typed = findChild<QLineEdit*>("fileNameEdit")) {  // the dialog's name field
            const QString name = typed->text();
            qsizetype first = 0;
            qsizetype end = name.size();
            while (first < end && name[first] == QChar(' ')) ++first;
            while (end > first && name[end - 1] == QChar(' ')) --end;
            if (first > 0 || end < name.size()) typed->setText(name.mid(first, end - first));
        }
        QFileDialog::accept();
    }
};

}  // namespace

void QtModalBoxes::showMessage(const std::string& text) {
    QMessageBox::information(parent_, QApplication::applicationName(), q(text));
}

bool QtModalBoxes::askYesNo(const std::string& text) {
    return QMessageBox::information(parent_, QApplication::applicationName(), q(text),
                                    QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

std::string QtModalBoxes::inputBox(const std::string& caption, const std::string& prompt,
                                   const std::string& defaultText) {
    bool ok = false;
    const QString answer =
        QInputDialog::getText(parent_, q(caption), q(prompt), QLineEdit::Normal, q(defaultText), &ok);
    return ok ? answer.toStdString() : defaultText;
}

void QtModalBoxes::showErrorBox(const std::string& caption, const std::string& text) {
    QMessageBox::critical(parent_, q(caption), q(text));
}

void QtModalBoxes::showRunTimeError(const std::string& text) {
    // The box runs a nested event loop in which receive events and timer ticks go
    // on; a capture file on a full disk would then fail again and again and stack
    // one box inside the other without end. One run-time error box at a time.
    if (runTimeErrorOpen_) return;
    runTimeErrorOpen_ = true;
    QMessageBox::critical(parent_, QApplication::applicationName(), q(text));
    runTimeErrorOpen_ = false;
}

std::string QtModalBoxes::openFileName(const std::string& filter, const std::string& currentName) {
    TrimmingFileDialog dialog(parent_, QString(), QString(), toQtFilter(filter));
    // The toolkit's own dialog on every desktop: a native one would take the typed
    // name its own way.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!currentName.empty()) dialog.selectFile(q(currentName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return currentName;
    return dialog.selectedFiles().first().toStdString();
}

void QtModalBoxes::beep() { QApplication::beep(); }

}  // namespace varelo
