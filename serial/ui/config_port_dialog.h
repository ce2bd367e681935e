#pragma once

#include "serial/comm_port_driver.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace varelo {

// The port settings dialog: port number, rate, data bits, stop bits, parity and
// flow control of one serial port. One instance serves both ports; it holds no
// settings of its own: each showing is loaded from a driver and written back to it.
// There is no cancel: however the dialog is closed, its choices are applied.
class TConfigPort1 : public QDialog {
    Q_OBJECT
  public:
    explicit TConfigPort1(QWidget* parent = nullptr);

    // Selects in each list the item of the driver's current setting.
    void LoadFrom(const TCommPortDriver& port);
    // Writes each list's choice to the driver, in the order the driver expects them
    // (port, rate, parity, data bits, stop bits, software then hardware flow).
    // "(Custom)" and a list without a selection leave that setting unchanged.
    void StoreTo(TCommPortDriver& port) const;

    // Shows the dialog modally until it is closed. Tests override it to pick items
    // without a nested event loop.
    virtual void ShowModal();

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QComboBox* cboPort;
    QComboBox* cboBaud;
    QComboBox* cboData;
    QComboBox* cboStop;
    QComboBox* cboParity;
    QComboBox* cboFlow;
    QComboBox* CboHand;
    QPushButton* btnOK;

  private:
    void FormCreate();
    void btnOKClick();
};

}  // namespace varelo
