#include "widgets/reference_windows/about_window.h"

#include "util/colour.h"
#include "widgets/reference_windows/form_style.h"
#include "widgets/reference_windows/serial_line_picture.h"

#include <qdrawutil.h>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace varelo {
namespace {

constexpr Colour kPaleYellow = 0x92F8F8;

// A panel in a lowered outer bevel with a raised inner one.
class BevelPanel : public QWidget {
  public:
    BevelPanel(QWidget* parent, Colour colour) : QWidget(parent) {
        QPalette p = palette();
        p.setColor(QPalette::Window, toQColor(colour));
        setPalette(p);
        setAutoFillBackground(true);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        qDrawShadePanel(&painter, rect(), palette(), true, 1);
        qDrawShadePanel(&painter, rect().adjusted(1, 1, -1, -1), palette(), false, 1);
    }
};

}  // namespace

QString TFmAcercaDe::versionText() {
    return QStringLiteral("Version " VARELO_VERSION);
}

TFmAcercaDe::TFmAcercaDe(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      Panel1(new BevelPanel(this, kPaleYellow)),
      ProductName(new QLabel(QStringLiteral("Varelo"), Panel1)),
      VersionLine(new QLabel(versionText(), Panel1)),
      Image1(new QLabel(Panel1)),
      OKButton(new QPushButton(QStringLiteral("OK"), this)) {
    setWindowTitle(QStringLiteral(" Acerca De"));
    setFixedSize(290, 335);

    Panel1->setGeometry(8, 8, 273, 281);

    ProductName->setGeometry(12, 40, 249, 28);
    ProductName->setAlignment(Qt::AlignCenter);
    ProductName->setFont(fontByName(QStringLiteral("MS Sans Serif"), -16, true));
    setTextColour(ProductName, colours::Purple);

    VersionLine->setGeometry(12, 120, 249, 20);
    VersionLine->setAlignment(Qt::AlignCenter);
    VersionLine->setFont(fontByName(QStringLiteral("MS Sans Serif"), -11, true));
    setTextColour(VersionLine, colours::Black);

    Image1->setGeometry(12, 196, 249, 77);
    Image1->setScaledContents(true);
    Image1->setPixmap(serialLinePicture());

    OKButton->setGeometry(95, 298, 77, 27);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &TFmAcercaDe::OKButtonClick);
}

void TFmAcercaDe::OKButtonClick() {
    accept();
}

void TFmAcercaDe::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOnScreen(this);
    OKButton->setFocus();
}

}  // namespace varelo
