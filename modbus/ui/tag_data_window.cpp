#include "modbus/ui/tag_data_window.h"

#include "modbus/ui/button_glyphs.h"
#include "modbus/ui/led_shape.h"
#include "util/cp1252.h"
#include "widgets/group_box_caption.h"
#include "widgets/outer_size.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStringList>
#include <QStyle>

namespace varelo {
namespace {

constexpr int kLedSize = 9;
constexpr int kLedStep = 13;
constexpr int kMapFontPixels = 12;

// A byte of the map as it is drawn. Bytes that would draw nothing, or nothing
// with a width, get the mark instead so that the columns stay aligned.
QChar mapCharacter(unsigned char byte) {
    constexpr unsigned char kDel = 0x7F;
    constexpr unsigned char kSoftHyphen = 0xAD;
    const char32_t unicode = cp1252ToUnicode(byte);
    const bool control = unicode < 0x20 || (unicode >= kDel && unicode <= 0x9F);
    if (control || byte == kSoftHyphen) return QChar(TFormParvolin::kNoGlyphMark);
    return QChar(static_cast<char16_t>(unicode));
}

QString mapText(const std::string& image) {
    QStringList lines;
    for (const std::string& line : TagMapLines(image)) {
        QString text;
        text.reserve(static_cast<qsizetype>(line.size()));
        for (const unsigned char byte : line) text += mapCharacter(byte);
        lines << text;
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

TFormParvolin::TFormParvolin(QWidget* parent)
    : QWidget(parent, Qt::Window),
      BF1(new QPushButton(restartGlyph(), QStringLiteral("Inicializar"), this)),
      LedAzul(new LedShape(this)),
      LedAmarillo(new LedShape(this)),
      LedVerde(new LedShape(this)),
      LedRojo(new LedShape(this)),
      LabelPaso(new QLabel(this)),
      BitBtn1(new QPushButton(okGlyph(), QStringLiteral("&OK"), this)),
      GroupBox2(new QGroupBox(QStringLiteral(" Mapa completo etiqueta "), this)),
      Memo1(new QPlainTextEdit(GroupBox2)) {
    setWindowTitle(QStringLiteral(" Datos Etiqueta Parvolin"));
    int x = 16;
    for (LedShape* lamp : {LedAzul, LedAmarillo, LedVerde, LedRojo}) {
        lamp->setGeometry(x, 12, kLedSize, kLedSize);
        x += kLedStep;
    }
    LabelPaso->setGeometry(16, 26, 60, 13);

    // OK stands beside "Inicializar" at the top, so that the map's full height fits
    // the inside a 234 x 382 frame leaves on a desktop (about 226 x 351).
    BF1->setGeometry(80, 6, 84, 27);
    BF1->setFocusPolicy(Qt::ClickFocus);
    connect(BF1, &QPushButton::clicked, this, &TFormParvolin::BF1Click);

    GroupBox2->setGeometry(16, 42, 201, 300);
    putCaptionOnFrameLine(GroupBox2);
    Memo1->setGeometry(12, 16, 177, 280);
    QFont fixedPitch(QStringLiteral("Courier New"));
    fixedPitch.setStyleHint(QFont::TypeWriter);
    fixedPitch.setPixelSize(kMapFontPixels);
    Memo1->setFont(fixedPitch);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->document()->setDocumentMargin(1);
    Memo1->setReadOnly(true);

    BitBtn1->setGeometry(166, 6, 51, 27);
    connect(BitBtn1, &QPushButton::clicked, this, &TFormParvolin::BitBtn1Click);
    setOuterSize(this, {234, 382}, Resizing::Fixed);
}

void TFormParvolin::ShowTagMap(const std::string& image) {
    Memo1->setPlainText(mapText(image));
}

void TFormParvolin::ToggleTagLed() {
    LedAzul->setColour(LedAzul->colour() == colours::Silver ? colours::Blue : colours::Silver);
}

void TFormParvolin::SetLed(TagLed which, Colour colour) {
    led(which)->setColour(colour);
}

Colour TFormParvolin::LedColour(TagLed which) const {
    return led(which)->colour();
}

void TFormParvolin::SetLabelPaso(const std::string& text) {
    LabelPaso->setText(QString::fromStdString(cp1252ToUtf8(text)));
}

void TFormParvolin::applyOutcome(const TagOutcome& outcome) {
    if (outcome.ledRojo) SetLed(TagLed::Rojo, *outcome.ledRojo);
    if (outcome.ledAmarillo) SetLed(TagLed::Amarillo, *outcome.ledAmarillo);
    if (outcome.ledVerde) SetLed(TagLed::Verde, *outcome.ledVerde);
    if (outcome.labelPaso) SetLabelPaso(*outcome.labelPaso);
    if (outcome.initialize) clearMapAndLeds();
    if (outcome.mapToShow) ShowTagMap(*outcome.mapToShow);
}

void TFormParvolin::SetOnInicializar(std::function<TagOutcome()> handler) {
    onInicializar_ = std::move(handler);
}

void TFormParvolin::SetOnStop(std::function<void()> handler) {
    onStop_ = std::move(handler);
}

void TFormParvolin::BF1Click() {
    clearMapAndLeds();
    if (onInicializar_) applyOutcome(onInicializar_());
}

void TFormParvolin::BitBtn1Click() {
    if (onStop_) onStop_();
    close();
}

void TFormParvolin::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Centred the first time only: a window the user has moved stays where it is.
    if (!placed_ && screen())
        setGeometry(
            QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen()->availableGeometry()));
    placed_ = true;
}

LedShape* TFormParvolin::led(TagLed which) const {
    switch (which) {
        case TagLed::Azul:
            return LedAzul;
        case TagLed::Amarillo:
            return LedAmarillo;
        case TagLed::Verde:
            return LedVerde;
        case TagLed::Rojo:
            break;
    }
    return LedRojo;
}

void TFormParvolin::clearMapAndLeds() {
    Memo1->clear();
    for (LedShape* lamp : {LedVerde, LedRojo, LedAmarillo, LedAzul}) lamp->setColour(colours::Silver);
}

}  // namespace varelo
