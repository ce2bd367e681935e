#include "widgets/reference_windows/control_characters_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varelo {
namespace {

// Windows-1252: \xF3 is o acute, \xF1 n tilde, \xE1 a acute, \xFA u acute, \xED i acute.
const std::vector<std::string> kLowColumn = {
    "Caracteres de control  ASCII ",
    "",
    "Hx Dec Simb Descripci\xF3n",
    "00 00  NUL  Caracter Nulo",
    "01 01  SOH  Inicio de Cabecera",
    "02 02  STX  Inicio de Texto",
    "03 03  ETX  Fin de Texto",
    "04 04  EOT  Fin de Transmisi\xF3n",
    "05 05  ENQ  Interrogaci\xF3n",
    "06 06  ACK  Respuesta Afirmativa",
    "07 07  BEL  Se\xF1"
    "al Sonora",
    "08 08  BS   Retroceso",
    "09 09  SH   Tabulaci\xF3n",
    "0A 10  LF   Salto de Linea",
    "0B 11  VT   Tabulaci\xF3n Vertical",
    "0C 12  FF   Avance de P\xE1gina",
    "0D 13  CR   Retorno de Carro",
    "0E 14  SO   Desactivar May\xFAsculas",
    "0F 15  SI   Activar May\xFAsculas",
};

const std::vector<std::string> kHighColumn = {
    "Caracteres de control  ASCII ",
    "",
    "Hx Dec Simb Descripci\xF3n",
    "10 16  DLE  Escape Transm. Datos",
    "11 17  DC1  Dispositivo Control 1",
    "12 18  DC2  Dispositivo Control 2",
    "13 19  DC3  Dispositivo Control 3",
    "14 20  DC4  Dispositivo Control 4",
    "15 21  NAK  Respuesta Negativa",
    "16 22  SYN  S\xEDncrono de Relleno",
    "17 23  ETB  Fin Bloque Transmisi\xF3n",
    "18 24  CAN  Cancelar",
    "19 25  EM   Fin de Soporte",
    "1A 26  SUB  Sustituir",
    "1B 27  ESC  Escape",
    "1C 28  FS   Separador de Ficheros",
    "1D 29  GS   Separador de Grupos",
    "1E 30  RS   Separador de Registros",
    "1F 31  US   Separador de Unidades",
};

void expectSameLines(const std::vector<std::string>& actual, const std::vector<std::string>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(actual[i], expected[i]) << "line " << i + 1;
}

TEST(ControlCharactersText, LowColumnListsCodes0To15) {
    expectSameLines(controlCharactersLowLines(), kLowColumn);
}

TEST(ControlCharactersText, HighColumnListsCodes16To31) {
    expectSameLines(controlCharactersHighLines(), kHighColumn);
}

}  // namespace
}  // namespace varelo
