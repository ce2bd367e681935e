#include "widgets/reference_windows/control_characters_text.h"

#include <array>
#include <cstdio>

namespace varelo {
namespace {

struct ControlCharacter {
    const char* symbol;
    const char* description;  // Windows-1252
};

// Symbols as the table lists them: code 9 is "SH" here too.
constexpr std::array<ControlCharacter, 32> kControlCharacters = {{
    {"NUL", "Caracter Nulo"},
    {"SOH", "Inicio de Cabecera"},
    {"STX", "Inicio de Texto"},
    {"ETX", "Fin de Texto"},
    {"EOT", "Fin de Transmisi\xF3n"},
    {"ENQ", "Interrogaci\xF3n"},
    {"ACK", "Respuesta Afirmativa"},
    {"BEL",
     "Se\xF1"
     "al Sonora"},
    {"BS", "Retroceso"},
    {"SH", "Tabulaci\xF3n"},
    {"LF", "Salto de Linea"},
    {"VT", "Tabulaci\xF3n Vertical"},
    {"FF", "Avance de P\xE1gina"},
    {"CR", "Retorno de Carro"},
    {"SO", "Desactivar May\xFAsculas"},
    {"SI", "Activar May\xFAsculas"},
    {"DLE", "Escape Transm. Datos"},
    {"DC1", "Dispositivo Control 1"},
    {"DC2", "Dispositivo Control 2"},
    {"DC3", "Dispositivo Control 3"},
    {"DC4", "Dispositivo Control 4"},
    {"NAK", "Respuesta Negativa"},
    {"SYN", "S\xEDncrono de Relleno"},
    {"ETB", "Fin Bloque Transmisi\xF3n"},
    {"CAN", "Cancelar"},
    {"EM", "Fin de Soporte"},
    {"SUB", "Sustituir"},
    {"ESC", "Escape"},
    {"FS", "Separador de Ficheros"},
    {"GS", "Separador de Grupos"},
    {"RS", "Separador de Registros"},
    {"US", "Separador de Unidades"},
}};

// "0A 10  LF   Salto de Linea": hexadecimal and decimal code, the symbol in three places.
std::string row(int code) {
    const ControlCharacter& c = kControlCharacters[code];
    char start[16];
    std::snprintf(start, sizeof start, "%02X %02d  %-3s  ", code, code, c.symbol);
    return start + std::string(c.description);
}

std::vector<std::string> column(int firstCode) {
    std::vector<std::string> lines = {"Caracteres de control  ASCII ", "", "Hx Dec Simb Descripci\xF3n"};
    for (int code = firstCode; code < firstCode + 16; ++code) lines.push_back(row(code));
    return lines;
}

}  // namespace

std::vector<std::string> controlCharactersLowLines() {
    return column(0);
}
std::vector<std::string> controlCharactersHighLines() {
    return column(16);
}

}  // namespace varelo
