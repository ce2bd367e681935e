#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace varelo {

// The ASCII table (Help, "&Ascii Characters"): every code 0 to 255 with its
// character, decimal and hexadecimal form. Created once, shown modally; each
// time it is shown it goes to the top left corner of the screen and its text
// is built afresh, so edits typed into it last only until then.
class TFCarAscii : public QDialog {
    Q_OBJECT

  public:
    explicit TFCarAscii(QWidget* parent = nullptr);

    QPlainTextEdit* const Memo1;
    QPushButton* const BitBtn1;  // Escape presses it

    void FormActivate();
    void BitBtn1Click();

  protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace varelo
