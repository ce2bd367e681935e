#pragma once

#include <optional>

class QKeyEvent;

namespace varelo {

// The character a key press types, as the fields' key filters see it: a
// printable character, or Backspace (8), Tab (9), Enter (13) or Escape (27).
// Keys that type nothing (arrows, Delete, Insert, function keys) and editing
// shortcuts with Ctrl (copy, paste, undo) give none: they take their usual course.
std::optional<char16_t> typedCharacter(const QKeyEvent& event);

}  // namespace varelo
