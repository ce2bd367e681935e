// Stand-ins until the scheduler's wiring is merged.
#include "app/main_window.h"

#include <QLineEdit>

namespace varelo {

void TFmEscuchar::StartTelegram(const std::string& editTlgText, std::uint32_t tlgType) {
    EditTlg->setText(QString::fromStdString(editTlgText));
    State.TlgType = tlgType;
    StartSending();
    if (!State.SkipLine) BloqueTlgClick();
}
bool TFmEscuchar::StartSending() {
    State.Sending = true;
    shared_.TagSession = false;
    return true;
}
void TFmEscuchar::BloqueTlgClick() {
    State.SkipLine = !State.SkipLine;
}
void TFmEscuchar::Cortar1Click() {
    State.Sending = false;
    shared_.TagSession = false;
    EditTlg->clear();
}

}  // namespace varelo
