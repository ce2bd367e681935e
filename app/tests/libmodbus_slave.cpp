#include "app/tests/libmodbus_slave.h"

#include <modbus/modbus.h>

#include <chrono>
#include <memory>

namespace varelo::test {

LibmodbusSlave::LibmodbusSlave(const std::string& path, int station, const Registers& holding)
    : thread_([this, path, station, holding] { serve(path, station, holding); }) {
    // Serving (or having failed) before the test goes on.
    while (!started_) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

LibmodbusSlave::~LibmodbusSlave() {
    stopping_ = true;
    thread_.join();
}

void LibmodbusSlave::serve(const std::string& path, int station, const Registers& holding) {
    std::unique_ptr<modbus_t, decltype(&modbus_free)> context(modbus_new_rtu(path.c_str(), 9600, 'N', 8, 1),
                                                              &modbus_free);
    std::unique_ptr<modbus_mapping_t, decltype(&modbus_mapping_free)> mapping(
        modbus_mapping_new(0, 0, static_cast<int>(holding.size()), 0), &modbus_mapping_free);
    if (!context || !mapping || modbus_set_slave(context.get(), station) != 0 ||
        modbus_connect(context.get()) != 0) {
        started_ = true;
        return;
    }
    for (std::size_t i = 0; i < holding.size(); ++i) mapping->tab_registers[i] = holding[i];
    // Waiting for a request returns now and then, so that the slave can be stopped.
    modbus_set_indication_timeout(context.get(), 0, 100000);
    modbus_set_response_timeout(context.get(), 0, 200000);
    serving_ = true;
    started_ = true;

    std::uint8_t request[MODBUS_RTU_MAX_ADU_LENGTH];
    while (!stopping_) {
        const int length = modbus_receive(context.get(), request);
        if (length > 0 && modbus_reply(context.get(), request, length, mapping.get()) > 0) ++answered_;
    }
    modbus_close(context.get());
}

}  // namespace varelo::test
