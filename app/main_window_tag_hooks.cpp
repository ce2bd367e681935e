#include "app/main_window.h"

namespace varelo {

// The tag data window's OK ends the session the way the Send menu's Stop does.
void TFmEscuchar::attachTagWindow() {
    tagSession_.attachWindow(windows_.FormParvolin, [this] { Cortar1Click(); });
}

void TFmEscuchar::onTagResponse(const std::string& block) {
    tagSession_.ProcessTagResponse(block);
}

void TFmEscuchar::onTagLampsSilver() {
    tagSession_.SetLampsSilver();
}

void TFmEscuchar::onTagLedToggle() {
    tagSession_.ToggleTagLed();
}

}  // namespace varelo
