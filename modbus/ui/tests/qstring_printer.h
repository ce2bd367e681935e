#pragma once

#include <QString>

#include <ostream>

// Failure messages show texts as text, not as arrays of 16-bit units.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
