#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace varelo {

class ModalBoxes;
class TSpinEdit;

// The MODBUS request settings dialog: station, function, start address and
// quantity of the request that the Send menu's request commands send over and
// over. Created hidden at start-up and kept, so the values stay from one
// showing to the next; a list of the function codes serves as a reminder.
class TConfMODBUS : public QDialog {
    Q_OBJECT

  public:
    // The spin edits beep through `boxes`.
    explicit TConfMODBUS(ModalBoxes& boxes, QWidget* parent = nullptr);

    QLabel* const Label10;
    QLabel* const Label2;
    TSpinEdit* const SEEstacion;
    QLabel* const Label3;
    TSpinEdit* const SEFuncion;
    QLabel* const Label4;
    TSpinEdit* const SEDireccion;
    QLabel* const Label7;
    TSpinEdit* const SECantidad;
    QPlainTextEdit* const Memo1;
    QPushButton* const BitBtn1;

    // Shows the dialog modally until it closes, by "&OK", its close box or
    // Escape alike; the caller then reads the four fields. Tests replace it to
    // answer without a window.
    virtual void showModal();

    void BitBtn1Click();

    // However the dialog closes, each field is held within its limits, as leaving
    // it would: the request then goes where the fields say.
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace varelo
