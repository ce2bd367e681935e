#include "app/main_window.h"

#include <QLineEdit>

namespace varelo {

namespace {

std::string_view bytesOf(const std::uint8_t* bytes, std::uint32_t size) {
    return {reinterpret_cast<const char*>(bytes), size};
}

}  // namespace

void TFmEscuchar::Port1ReceiveData(TCommPortDriver&, const std::uint8_t* bytes, std::uint32_t size) {
    receivePath_->Port1ReceiveData(bytesOf(bytes, size));
}

void TFmEscuchar::Port2ReceiveData(TCommPortDriver&, const std::uint8_t* bytes, std::uint32_t size) {
    receivePath_->Port2ReceiveData(bytesOf(bytes, size));
}

void TFmEscuchar::StopTimerModBus() {
    TimerModBus.setEnabled(false);
}

void TFmEscuchar::ProcessTagResponse(const std::string& block) {
    onTagResponse(block);
}

void TFmEscuchar::SetEditLng(const std::string& text) {
    EditLng->setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace varelo
