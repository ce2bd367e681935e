#include "sim/slave_answers.h"

#include <cstdint>

namespace varelo {

namespace {

constexpr int kBroadcast = 0;
constexpr int kMaxBitsRead = 2000;
constexpr int kMaxRegistersRead = 125;
constexpr std::uint16_t kCoilOn = 0xFF00;
constexpr std::uint16_t kCoilOff = 0x0000;
constexpr unsigned char kRunning = 0xFF;

// The fields of a request of functions 1 to 6: a start address and a quantity
// (or, for 5 and 6, the value to write).
struct AddressedRequest {
    int address = 0;
    int quantity = 0;
};

int byteAt(const std::string& bytes, std::size_t i) {
    return static_cast<unsigned char>(bytes[i]);
}

AddressedRequest addressedFields(const std::string& message) {
    return {byteAt(message, 2) << 8 | byteAt(message, 3), byteAt(message, 4) << 8 | byteAt(message, 5)};
}

std::string header(int station, int function) {
    return {static_cast<char>(station), static_cast<char>(function)};
}

std::string exceptionAnswer(int station, int function, ModbusException code) {
    return header(station, function | 0x80) + static_cast<char>(code);
}

std::optional<ModbusException> rangeFault(AddressedRequest request, int maxQuantity) {
    if (request.quantity < 1 || request.quantity > maxQuantity) return ModbusException::IllegalDataValue;
    if (request.address + request.quantity > 0x10000) return ModbusException::IllegalDataAddress;
    return std::nullopt;
}

std::string readBits(int station, int function, AddressedRequest request, const SlaveMemory& memory) {
    if (auto fault = rangeFault(request, kMaxBitsRead)) return exceptionAnswer(station, function, *fault);
    std::string data((request.quantity + 7) / 8, '\0');
    for (int i = 0; i < request.quantity; ++i) {
        const int address = request.address + i;
        const bool on =
            function == 1 ? memory.coil(station, address) : memory.discreteInput(station, address);
        if (on) data[i / 8] = static_cast<char>(data[i / 8] | 1 << (i % 8));
    }
    return header(station, function) + static_cast<char>(data.size()) + data;
}

std::string readRegisters(int station, int function, AddressedRequest request, const SlaveMemory& memory) {
    if (auto fault = rangeFault(request, kMaxRegistersRead))
        return exceptionAnswer(station, function, *fault);
    std::string answer = header(station, function) + static_cast<char>(2 * request.quantity);
    for (int i = 0; i < request.quantity; ++i) {
        const int address = request.address + i;
        const std::uint16_t value =
            function == 3 ? memory.holdingRegister(station, address) : memory.inputRegister(station, address);
        answer += static_cast<char>(value >> 8);
        answer += static_cast<char>(value & 0xFF);
    }
    return answer;
}

// The stations a write acts on: the one addressed, or every served one for a broadcast.
template <typename Write>
void forEachTarget(int station, StationRange stations, Write write) {
    if (station != kBroadcast) {
        write(station);
        return;
    }
    for (int s = stations.first; s <= stations.last; ++s) write(s);
}

std::string writeCoil(int station, const std::string& message, AddressedRequest request,
                      StationRange stations, SlaveMemory& memory) {
    if (request.quantity != kCoilOn && request.quantity != kCoilOff)
        return exceptionAnswer(station, 5, ModbusException::IllegalDataValue);
    forEachTarget(station, stations,
                  [&](int s) { memory.setCoil(s, request.address, request.quantity == kCoilOn); });
    return message;
}

std::string writeRegister(int station, const std::string& message, AddressedRequest request,
                          StationRange stations, SlaveMemory& memory) {
    const auto value = static_cast<std::uint16_t>(request.quantity);
    forEachTarget(station, stations, [&](int s) { memory.setHoldingRegister(s, request.address, value); });
    return message;
}

std::string reportSlaveId(int station) {
    const std::string text = "VARELO-SIM " + std::to_string(station);
    const std::string data = std::string{static_cast<char>(station), static_cast<char>(kRunning)} + text;
    return header(station, 17) + static_cast<char>(data.size()) + data;
}

std::string answerFunction(int station, int function, const std::string& message, StationRange stations,
                           SlaveMemory& memory) {
    const bool addressed = function >= 1 && function <= 6;
    if (addressed && message.size() != 6)
        return exceptionAnswer(station, function, ModbusException::IllegalDataValue);
    const AddressedRequest request = addressed ? addressedFields(message) : AddressedRequest{};
    switch (function) {
        case 1:
        case 2:
            return readBits(station, function, request, memory);
        case 3:
        case 4:
            return readRegisters(station, function, request, memory);
        case 5:
            return writeCoil(station, message, request, stations, memory);
        case 6:
            return writeRegister(station, message, request, stations, memory);
        case 17:
            return reportSlaveId(station);
        default:
            return exceptionAnswer(station, function, ModbusException::IllegalFunction);
    }
}

}  // namespace

std::optional<std::string> AnswerRequest(const std::string& message, StationRange stations,
                                         SlaveMemory& memory) {
    if (message.size() < 2) return std::nullopt;
    const int station = byteAt(message, 0);
    const int function = byteAt(message, 1);
    if (station != kBroadcast && !stations.contains(station)) return std::nullopt;
    std::string answer = answerFunction(station, function, message, stations, memory);
    if (station == kBroadcast) return std::nullopt;
    return answer;
}

}  // namespace varelo
