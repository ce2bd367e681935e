#include "app/main_window.h"

namespace varelo {

// Where the tag reader takes part in receiving and sending. Until a tag session
// exists, nothing starts one, so nothing arrives here.

void TFmEscuchar::onTagResponse(const std::string&) {}

void TFmEscuchar::onTagLampsSilver() {}

void TFmEscuchar::onTagLedToggle() {}

}  // namespace varelo
