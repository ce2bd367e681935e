#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varelo {

// How register data is read: one register as u16, i16 or hex, or registers
// taken together as a wider number.
enum class RegisterType { U16, I16, Hex, U32, I32, F32, U64, I64, F64 };

// The order of a wider number's bytes as they come, A being its most
// significant byte: ABCD high register first (the standard's own order), CDAB
// low register first, BADC and DCBA the same with each register's two bytes
// swapped. For 64-bit numbers the rule is the same over four registers.
enum class WordOrder { ABCD, CDAB, BADC, DCBA };

std::optional<RegisterType> ParseRegisterType(std::string_view name);
std::optional<WordOrder> ParseWordOrder(std::string_view name);
const char* RegisterTypeName(RegisterType type);
const char* WordOrderName(WordOrder order);

// Registers a wider value spans: 1, 2 or 4.
int RegistersPerValue(RegisterType type);

struct RegisterValue {
    std::uint16_t offset = 0;  // registers from the first one of the data
    std::string text;          // as shown: "1234", "-2", "04D2", "3.14159"
    std::string json;          // as a JSON value: a number, or a string for hex and non-finite floats
};

struct RegisterValues {
    std::vector<RegisterValue> values;
    std::string note;  // registers left over that make no whole value, or a trailing odd byte
};

// The data bytes of a register read or write as values, one for each whole
// group of registers, starting at every multiple of the group's size.
RegisterValues ReadRegisters(std::string_view data, RegisterType type, WordOrder order);

// Coils or discrete inputs: the first bit of the first byte first, `count` of
// them (all the data's bits when count is 0 or more than the data holds).
std::string BitList(std::string_view data, std::size_t count, char separator = ' ');

}  // namespace varelo
