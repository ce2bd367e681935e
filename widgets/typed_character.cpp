#include "widgets/typed_character.h"

#include <QKeyEvent>

namespace varelo {

std::optional<char16_t> typedCharacter(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Backspace:
            return char16_t{8};
        case Qt::Key_Tab:
            return char16_t{9};
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return char16_t{13};
        case Qt::Key_Escape:
            return char16_t{27};
        default:
            break;
    }
    if (event.modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return std::nullopt;
    const QString text = event.text();
    if (text.isEmpty()) return std::nullopt;
    const char16_t c = text.at(0).unicode();
    if (c < 32 || c == 127) return std::nullopt;
    return c;
}

}  // namespace varelo
