#include "modbus/register_values.h"

#include "modbus/hex_text.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

namespace varelo {
namespace {

struct TypeName {
    RegisterType type;
    const char* name;
};
constexpr TypeName kTypes[] = {
    {RegisterType::U16, "u16"}, {RegisterType::I16, "i16"}, {RegisterType::Hex, "hex"},
    {RegisterType::U32, "u32"}, {RegisterType::I32, "i32"}, {RegisterType::F32, "f32"},
    {RegisterType::U64, "u64"}, {RegisterType::I64, "i64"}, {RegisterType::F64, "f64"},
};

struct OrderName {
    WordOrder order;
    const char* name;
};
constexpr OrderName kOrders[] = {
    {WordOrder::ABCD, "ABCD"}, {WordOrder::CDAB, "CDAB"}, {WordOrder::BADC, "BADC"}, {WordOrder::DCBA, "DCBA"}};

// The value's bytes, most significant first, out of `n` bytes as they came.
std::uint64_t assemble(const unsigned char* bytes, int n, WordOrder order) {
    const bool swapWords = order == WordOrder::CDAB || order == WordOrder::DCBA;
    const bool swapBytes = order == WordOrder::BADC || order == WordOrder::DCBA;
    const int registers = n / 2;
    std::uint64_t value = 0;
    for (int r = 0; r < registers; ++r) {
        const int from = swapWords ? registers - 1 - r : r;
        unsigned char hi = bytes[2 * from];
        unsigned char lo = bytes[2 * from + 1];
        if (swapBytes) std::swap(hi, lo);
        value = value << 16 | static_cast<std::uint64_t>(hi) << 8 | lo;
    }
    return value;
}

template <typename T>
std::string number(T value) {
    char buffer[40];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string hexWord(std::uint16_t value) {
    std::string text;
    AppendHexNumber(text, value, 4);
    return text;
}

template <typename F>
void setFloat(RegisterValue& v, F value) {
    if (std::isfinite(value)) {
        v.text = number(value);
        v.json = v.text;
    } else {
        v.text = std::isnan(value) ? "nan" : (value > 0 ? "inf" : "-inf");
        v.json = "\"" + v.text + "\"";
    }
}

void setValue(RegisterValue& v, std::uint64_t raw, RegisterType type) {
    switch (type) {
        case RegisterType::U16:
        case RegisterType::U32:
        case RegisterType::U64:
            v.text = number(raw);
            break;
        case RegisterType::I16:
            v.text = number(static_cast<std::int16_t>(raw));
            break;
        case RegisterType::I32:
            v.text = number(static_cast<std::int32_t>(raw));
            break;
        case RegisterType::I64:
            v.text = number(static_cast<std::int64_t>(raw));
            break;
        case RegisterType::Hex:
            v.text = hexWord(static_cast<std::uint16_t>(raw));
            v.json = "\"" + v.text + "\"";
            return;
        case RegisterType::F32:
            setFloat(v, std::bit_cast<float>(static_cast<std::uint32_t>(raw)));
            return;
        case RegisterType::F64:
            setFloat(v, std::bit_cast<double>(raw));
            return;
    }
    v.json = v.text;
}

}  // namespace

std::optional<RegisterType> ParseRegisterType(std::string_view name) {
    for (const TypeName& t : kTypes)
        if (name == t.name) return t.type;
    return std::nullopt;
}

std::optional<WordOrder> ParseWordOrder(std::string_view name) {
    for (const OrderName& o : kOrders)
        if (name == o.name) return o.order;
    return std::nullopt;
}

const char* RegisterTypeName(RegisterType type) {
    for (const TypeName& t : kTypes)
        if (t.type == type) return t.name;
    return "u16";
}

const char* WordOrderName(WordOrder order) {
    for (const OrderName& o : kOrders)
        if (o.order == order) return o.name;
    return "ABCD";
}

int RegistersPerValue(RegisterType type) {
    switch (type) {
        case RegisterType::U32:
        case RegisterType::I32:
        case RegisterType::F32:
            return 2;
        case RegisterType::U64:
        case RegisterType::I64:
        case RegisterType::F64:
            return 4;
        default:
            return 1;
    }
}

RegisterValues ReadRegisters(std::string_view data, RegisterType type, WordOrder order) {
    RegisterValues out;
    const std::size_t registers = data.size() / 2;
    const std::size_t group = static_cast<std::size_t>(RegistersPerValue(type));
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
    out.values.reserve(registers / group);
    for (std::size_t r = 0; r + group <= registers; r += group) {
        RegisterValue v;
        v.offset = static_cast<std::uint16_t>(r);
        setValue(v, assemble(bytes + 2 * r, static_cast<int>(2 * group), group == 1 ? WordOrder::ABCD : order), type);
        out.values.push_back(std::move(v));
    }
    const std::size_t left = registers % group;
    if (left != 0) {
        out.note = std::to_string(left) + (left == 1 ? " register" : " registers") + " left over, too few for a " +
                   RegisterTypeName(type);
    }
    if (data.size() % 2 != 0) {
        if (!out.note.empty()) out.note += "; ";
        out.note += "an odd byte left over";
    }
    return out;
}

std::string BitList(std::string_view data, std::size_t count, char separator) {
    const std::size_t available = data.size() * 8;
    if (count == 0 || count > available) count = available;
    std::string bits;
    bits.reserve(count * 2);
    for (std::size_t i = 0; i < count; ++i) {
        if (i != 0) bits += separator;
        bits += (static_cast<unsigned char>(data[i / 8]) >> (i % 8)) & 1 ? '1' : '0';
    }
    return bits;
}

}  // namespace varelo
