#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace varelo {

// The about window (File, "&About"): product name, version and a picture on a
// pale yellow panel; "OK" closes it. Created once and shown modally, centred.
class TFmAcercaDe : public QDialog {
    Q_OBJECT

  public:
    explicit TFmAcercaDe(QWidget* parent = nullptr);

    QWidget* const Panel1;
    QLabel* const ProductName;
    QLabel* const VersionLine;
    QLabel* const Image1;
    QPushButton* const OKButton;

    void OKButtonClick();

    // "Version <n.n.n>", from the build's project version.
    static QString versionText();

  protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace varelo
