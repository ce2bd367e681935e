#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace varelo {

// The table of the 32 control characters (Help, "Control &Characters"): code,
// symbol and description, 0 to 15 on the left and 16 to 31 on the right.
// Static text; created once and shown modally, centred on the screen.
class TCaracteresDeControl : public QDialog {
    Q_OBJECT

  public:
    explicit TCaracteresDeControl(QWidget* parent = nullptr);

    QPlainTextEdit* const Memo1;
    QPlainTextEdit* const Memo2;
    QPushButton* const BitBtn1;

  protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace varelo
