#include "sim/modbus_request_reader.h"

namespace varelo {

ModbusRequestReader::ModbusRequestReader(SimDuration rtuSilence) : rtu_(rtuSilence) {}

std::vector<ModbusRequest> ModbusRequestReader::expire(SimInstant now) {
    std::vector<ModbusRequest> requests;
    if (std::optional<std::string> message = rtu_.expire(now)) {
        ascii_.reset();
        requests.push_back({ModbusFraming::Rtu, std::move(*message)});
    }
    return requests;
}

std::vector<ModbusRequest> ModbusRequestReader::feed(std::string_view bytes, SimInstant now) {
    std::vector<ModbusRequest> requests = expire(now);
    for (char byte : bytes) {
        if (std::optional<std::string> message = ascii_.push(byte)) {
            rtu_.reset();
            requests.push_back({ModbusFraming::Ascii, std::move(*message)});
        } else if (std::optional<std::string> rtuMessage = rtu_.push(byte, now)) {
            ascii_.reset();
            requests.push_back({ModbusFraming::Rtu, std::move(*rtuMessage)});
        }
    }
    return requests;
}

}  // namespace varelo
