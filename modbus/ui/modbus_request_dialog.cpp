#include "modbus/ui/modbus_request_dialog.h"

#include "modbus/ui/button_glyphs.h"
#include "widgets/outer_size.h"
#include "widgets/spin_edit.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <cstdint>

namespace varelo {
namespace {

const char* const kFunctionCodes[] = {
    "Programmed Functions",
    "------------------------------------",
    "01 Read reel (bit)",
    "02 Read Input",
    "03 Read Word",
    "04 Read Input Word",
    "05 Write a reel (bit)",
    "06 Write a Word",
    "07 Read exception states",
    "08 Diagnostics",
    "11 Search for comm ctrl event",
    "12 Search for comm log event",
    "17 Slave identification",
};

struct FieldLimits {
    std::int32_t min, max, value;
    int maxLength;
};

TSpinEdit* makeField(ModalBoxes& boxes, QWidget* parent, const FieldLimits& limits) {
    auto* field = new TSpinEdit(boxes, parent);
    field->setMinValue(limits.min);
    field->setMaxValue(limits.max);
    field->setValue(limits.value);
    field->setMaxLength(limits.maxLength);
    return field;
}

// The same rule as leaving a field: a number beyond the limits is brought
// within them, a text that is no number stays as it is.
void clampAsOnExit(TSpinEdit* field) {
    const std::int32_t value = field->value();
    if (field->ClampValue(value) != value) field->setValue(value);
}

}  // namespace

TConfMODBUS::TConfMODBUS(ModalBoxes& boxes, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      Label10(new QLabel(QStringLiteral("MODBUS/JBUS"), this)),
      Label2(new QLabel(QStringLiteral("Station"), this)),
      SEEstacion(makeField(boxes, this, {0, 247, 1, 3})),
      Label3(new QLabel(QStringLiteral("Function"), this)),
      SEFuncion(makeField(boxes, this, {1, 17, 17, 2})),
      Label4(new QLabel(QStringLiteral("Variable"), this)),
      SEDireccion(makeField(boxes, this, {0, 100000, 0, 6})),
      Label7(new QLabel(QStringLiteral("Quantity"), this)),
      SECantidad(makeField(boxes, this, {1, 128, 32, 3})),
      Memo1(new QPlainTextEdit(this)),
      BitBtn1(new QPushButton(okGlyph(), QStringLiteral("&OK"), this)) {
    setWindowTitle(QStringLiteral(" Configuration demand MODBUS/JBUS"));
    QFont bold = Label10->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    Label10->setFont(bold);
    Label10->setGeometry(16, 8, 150, 20);

    // Everything within the inside a 431 x 191 frame leaves on a desktop (about 425 x 163).
    int y = 36;
    const std::pair<QLabel*, TSpinEdit*> rows[] = {
        {Label2, SEEstacion}, {Label3, SEFuncion}, {Label4, SEDireccion}, {Label7, SECantidad}};
    for (const auto& [label, field] : rows) {
        label->setGeometry(16, y + 3, 60, 16);
        field->setGeometry(80, y, 73, 23);
        y += 32;
    }

    for (const char* line : kFunctionCodes) Memo1->appendPlainText(QString::fromLatin1(line));
    Memo1->setGeometry(176, 8, 239, 112);
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->moveCursor(QTextCursor::Start);

    BitBtn1->setGeometry(257, 126, 77, 27);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &TConfMODBUS::BitBtn1Click);
    setOuterSize(this, {431, 191}, Resizing::Fixed);
}

void TConfMODBUS::showModal() {
    exec();
}

void TConfMODBUS::BitBtn1Click() {
    accept();
}

void TConfMODBUS::done(int result) {
    for (TSpinEdit* field : {SEEstacion, SEFuncion, SEDireccion, SECantidad}) clampAsOnExit(field);
    QDialog::done(result);
}

void TConfMODBUS::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (screen())
        setGeometry(
            QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen()->availableGeometry()));
}

}  // namespace varelo
