#include "widgets/reference_windows/ascii_table_window.h"

#include "util/cp1252.h"
#include "widgets/reference_windows/ascii_table_lines.h"
#include "widgets/reference_windows/close_button.h"
#include "widgets/outer_size.h"
#include "widgets/reference_windows/form_style.h"

#include <QPlainTextEdit>
#include <QPushButton>

namespace varelo {

TFCarAscii::TFCarAscii(QWidget* parent)
    : QDialog(parent), Memo1(new QPlainTextEdit(this)), BitBtn1(makeCloseButton(this)) {
    setWindowTitle(QStringLiteral("FCarAscii"));
    setOuterSize(this, {596, 480});

    Memo1->setGeometry(4, 32, 577, 417);
    setUpTableMemo(Memo1, -11);
    Memo1->hide();

    BitBtn1->setGeometry(240, 4, 77, 25);
    connect(BitBtn1, &QPushButton::clicked, this, &TFCarAscii::BitBtn1Click);
}

void TFCarAscii::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TFCarAscii::FormActivate() {
    move(0, 0);
    Memo1->hide();
    Memo1->clear();
    for (const std::string& line : asciiTableLines())
        Memo1->appendPlainText(QString::fromStdString(cp1252ToUtf8(line)));
    Memo1->moveCursor(QTextCursor::Start);
    Memo1->show();
    BitBtn1->setFocus();
}

// Escape takes the dialog's own cancel path, which ends the same way as this click.
void TFCarAscii::BitBtn1Click() {
    reject();
}

}  // namespace varelo
