#include "app/converter/converter_panel.h"

#include "app/converter/converter_field.h"
#include "app/converter/converter_forms.h"
#include "platform/ui/handler_guard.h"
#include "util/colour.h"
#include "util/cp1252.h"
#include "util/text_helpers.h"
#include "widgets/typed_edit.h"

#include <QLabel>

#include <string>

namespace varelo {
namespace {

QString fromCp1252(const std::string& bytes) {
    return QString::fromStdString(cp1252ToUtf8(bytes));
}

// The strip's layout: each label above its field.
struct Place {
    const char* caption;
    int left, width;
};
constexpr int kLabelTop = 2;
constexpr int kFieldTop = 16;
constexpr int kFieldHeight = 21;
constexpr Place kHexa{"Hexa", 4, 62};
constexpr Place kBinario{"Binary", 70, 228};
constexpr Place kDecimal{"Decimal", 302, 70};
constexpr Place kControl{"Ctrl.", 376, 42};
constexpr Place kChar{"Ch.", 422, 20};

void place(QWidget* parent, QLineEdit* field, const Place& at) {
    auto* label = new QLabel(QString::fromLatin1(at.caption), parent);
    label->move(at.left + 1, kLabelTop);
    field->setGeometry(at.left, kFieldTop, at.width, kFieldHeight);
}

}  // namespace

ConverterPanel::ConverterPanel(ModalBoxes& boxes, QWidget* parent)
    : QFrame(parent),
      EditHexa(new ConverterField(this)),
      EditBinario(new ConverterField(this)),
      EditDecimal(new TEditN(boxes, this)),
      EditControl(new ConverterField(this)),
      EditChar(new ConverterField(this)),
      boxes_(boxes) {
    setObjectName(QStringLiteral("Panel1"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    setFont(font);
    resize(445, 41);

    place(this, EditHexa, kHexa);
    place(this, EditBinario, kBinario);
    place(this, EditDecimal, kDecimal);
    place(this, EditControl, kControl);
    place(this, EditChar, kChar);

    EditHexa->setMaxLength(8);
    EditHexa->setUpperCase(true);
    EditBinario->setMaxLength(36);
    EditControl->setReadOnly(true);
    EditControl->setUpperCase(true);
    EditChar->setMaxLength(1);

    EditDecimal->setEditType(etInteger);
    EditDecimal->setMaxLength(9);
    EditDecimal->setColor(colours::White);
    EditDecimal->setColorOnFocus(colours::White);
    EditDecimal->setColorOnNotFocus(colours::White);

    setTabOrder(EditHexa, EditBinario);
    setTabOrder(EditBinario, EditDecimal);
    setTabOrder(EditDecimal, EditControl);
    setTabOrder(EditControl, EditChar);

    // The decimal field guards its own handler.
    EditDecimal->setOnKeyUp([this](int) { EditDecimalKeyUp(); });
    const auto guarded = [this](void (ConverterPanel::*handler)()) {
        return [this, handler] { runGuarded(boxes_, [&] { (this->*handler)(); }); };
    };
    EditHexa->setOnKeyUp(guarded(&ConverterPanel::EditHexaKeyUp));
    EditControl->setOnKeyUp(guarded(&ConverterPanel::EditHexaKeyUp));
    EditBinario->setOnKeyUp(guarded(&ConverterPanel::EditBinarioKeyUp));
    EditChar->setOnKeyUp(guarded(&ConverterPanel::EditCharKeyUp));
}

void ConverterPanel::EditDecimalKeyUp() {
    if (TrimSpaces(EditDecimal->text().toStdString()).empty()) return;
    showHexaOfValue();
    showBinaryOfHexa();
    showControlOfValue();
    showCharacterOfValue();
}

void ConverterPanel::EditHexaKeyUp() {
    if (!EditHexa->text().isEmpty()) {
        const HexFilterResult filtered = filterHexField(EditHexa->text().toStdU32String());
        const QString field = QString::fromStdU32String(filtered.field);
        if (field != EditHexa->text()) EditHexa->writeText(field);
        if (filtered.digits.empty()) return;

        EditDecimal->SetIntegerText(hexDigitsToInt(filtered.digits));
        EditBinario->writeText(QString::fromStdString(HexToBinText(filtered.digits)));
        showControlOfValue();
    }
    showCharacterOfValue();
}

void ConverterPanel::EditBinarioKeyUp() {
    if (!EditBinario->text().isEmpty()) {
        const std::string digits = binaryDigitsOf(EditBinario->text().toStdString());
        if (digits.empty()) return;

        EditDecimal->SetIntegerText(BinTextToInt(digits));
        showHexaOfValue();
        showControlOfValue();
    }
    showCharacterOfValue();
}

// A blank is no character here: it empties the field and gives 0.
void ConverterPanel::EditCharKeyUp() {
    const std::string typed = EditChar->text().toStdString();
    if (TrimSpaces(typed).empty()) {
        EditChar->writeText(QString());
        EditDecimal->SetIntegerText(0);
    } else {
        const std::string code = utf8ToCp1252(typed);
        EditDecimal->SetIntegerText(static_cast<unsigned char>(code.front()));
    }
    showHexaOfValue();
    showBinaryOfHexa();
    showControlOfValue();
}

void ConverterPanel::showHexaOfValue() {
    EditHexa->writeText(QString::fromStdString(hexForm(EditDecimal->valueInteger())));
}

void ConverterPanel::showBinaryOfHexa() {
    EditBinario->writeText(QString::fromStdString(HexToBinText(EditHexa->text().toStdString())));
}

void ConverterPanel::showControlOfValue() {
    EditControl->writeText(QString::fromStdString(controlForm(EditDecimal->valueInteger())));
}

void ConverterPanel::showCharacterOfValue() {
    EditChar->writeText(fromCp1252(characterForm(EditDecimal->valueInteger())));
}

}  // namespace varelo
