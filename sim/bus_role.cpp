#include "sim/bus_role.h"

#include "sim/slave_answers.h"

namespace varelo {

BusRole::BusRole(BusOptions options, OutputPacing pacing)
    : LineRole(pacing), options_(options), reader_(RtuSilence(options.baud)) {}

void BusRole::receive(std::string_view bytes, SimInstant now) {
    if (options_.echo) output().sendNow(std::string(bytes), now);
    answer(reader_.feed(bytes, now), now);
}

void BusRole::tick(SimInstant now) {
    answer(reader_.expire(now), now);
}

void BusRole::answer(const std::vector<ModbusRequest>& requests, SimInstant now) {
    for (const ModbusRequest& request : requests) {
        const std::optional<std::string> message = AnswerRequest(request.message, options_.stations, memory_);
        if (!message || options_.silent) continue;
        ++answersSent_;
        const bool wrongCheck = options_.wrongCheckEvery > 0 && answersSent_ % options_.wrongCheckEvery == 0;
        output().sendPaced(FrameModbusMessage(*message, request.framing, wrongCheck), now);
    }
}

}  // namespace varelo
