#include "widgets/reference_windows/control_characters_window.h"

#include "util/cp1252.h"
#include "widgets/outer_size.h"
#include "widgets/reference_windows/close_button.h"
#include "widgets/reference_windows/control_characters_text.h"
#include "widgets/reference_windows/form_style.h"

#include <QPlainTextEdit>
#include <QPushButton>

#include <string>
#include <vector>

namespace varelo {
namespace {

void fillMemo(QPlainTextEdit* memo, const std::vector<std::string>& lines) {
    memo->setReadOnly(true);
    memo->setFocusPolicy(Qt::ClickFocus);  // no tab stop
    setUpTableMemo(memo, -12);
    // The longest row fills the box to the pixel; a bar would only scroll the margin.
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (const std::string& line : lines) memo->appendPlainText(QString::fromStdString(cp1252ToUtf8(line)));
    memo->moveCursor(QTextCursor::Start);
}

}  // namespace

TCaracteresDeControl::TCaracteresDeControl(QWidget* parent)
    : QDialog(parent),
      Memo1(new QPlainTextEdit(this)),
      Memo2(new QPlainTextEdit(this)),
      BitBtn1(makeCloseButton(this)) {
    setWindowTitle(QStringLiteral(" Caracteres de Control"));
    setOuterSize(this, {507, 386});

    Memo1->setGeometry(4, 36, 237, 313);
    fillMemo(Memo1, controlCharactersLowLines());
    Memo2->setGeometry(244, 36, 249, 313);
    fillMemo(Memo2, controlCharactersHighLines());

    BitBtn1->setGeometry(204, 4, 77, 29);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
}

void TCaracteresDeControl::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOnScreen(this);
}

}  // namespace varelo
