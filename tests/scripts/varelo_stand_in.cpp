// Stands in for Varelo when the run scripts are tested without a display: it
// takes its ports from VARELO_COM1 and VARELO_COM2 as Varelo does, and prints
// what it did on standard output, one line each.
//
//   varelo_stand_in                  prints its pid and every VARELO_COMn set
//   varelo_stand_in exchange STATION COUNT
//                                    asks STATION for its slave id (RTU) on COM1
//                                    and prints the first COUNT bytes that come
//                                    back in hexadecimal, then prints one line
//                                    received on COM2
//   varelo_stand_in hold             holds both ports until it is killed

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "modbus/modbus_frame.h"

namespace {

constexpr auto kPatience = std::chrono::seconds(10);

// Never the fallback /dev/ttyS<n-1>: a port that is not named is refused.
int openPort(int n) {
    const std::string variable = "VARELO_COM" + std::to_string(n);
    const char* path = std::getenv(variable.c_str());
    if (!path || !*path) {
        std::fprintf(stderr, "stand-in: %s is not set\n", variable.c_str());
        std::exit(3);
    }
    const int fd = open(path, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        std::fprintf(stderr, "stand-in: cannot open %s\n", path);
        std::exit(3);
    }
    termios raw{};
    if (tcgetattr(fd, &raw) == 0) {
        cfmakeraw(&raw);
        tcsetattr(fd, TCSANOW, &raw);
    }
    return fd;
}

// Reads until `done` holds for what has come, or the patience is spent.
template <typename Done>
std::string readUntil(int fd, Done done) {
    const auto giveUp = std::chrono::steady_clock::now() + kPatience;
    std::string bytes;
    while (!done(bytes)) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(giveUp - std::chrono::steady_clock::now());
        pollfd readable{fd, POLLIN, 0};
        if (left.count() <= 0 || poll(&readable, 1, static_cast<int>(left.count())) <= 0) break;
        char chunk[256];
        const ssize_t count = read(fd, chunk, sizeof chunk);
        if (count <= 0) break;
        bytes.append(chunk, static_cast<std::size_t>(count));
    }
    return bytes;
}

std::string hex(const std::string& bytes) {
    std::string text;
    char digits[4];
    for (const unsigned char byte : bytes) {
        std::snprintf(digits, sizeof digits, text.empty() ? "%02x" : " %02x", byte);
        text += digits;
    }
    return text;
}

int report() {
    std::printf("stand-in pid %d\n", static_cast<int>(getpid()));
    for (int n = 1; n <= 16; ++n) {
        const std::string variable = "VARELO_COM" + std::to_string(n);
        if (const char* path = std::getenv(variable.c_str())) std::printf("%s=%s\n", variable.c_str(), path);
    }
    return 0;
}

int exchange(int station, std::size_t count) {
    const int bus = openPort(1);
    const std::string poll = varelo::BuildModbusFrame(station, 17, 0, 0, "RTU");
    if (write(bus, poll.data(), poll.size()) != static_cast<ssize_t>(poll.size())) return 1;
    const std::string answer = readUntil(bus, [&](const std::string& got) { return got.size() >= count; });
    std::printf("COM1 <- %s\n", hex(answer).c_str());

    const int scale = openPort(2);
    std::string line = readUntil(scale, [](const std::string& got) { return got.find("\r\n") != got.npos; });
    line = line.substr(0, line.find("\r\n"));
    std::printf("COM2 <- %s\n", line.c_str());
    return answer.size() >= count && !line.empty() ? 0 : 1;
}

int hold() {
    openPort(1);
    openPort(2);
    std::printf("holding, pid %d\n", static_cast<int>(getpid()));
    std::fflush(stdout);
    for (;;) pause();
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode.empty()) return report();
    if (mode == "exchange" && argc > 3)
        return exchange(std::atoi(argv[2]), std::strtoul(argv[3], nullptr, 10));
    if (mode == "hold") return hold();
    std::fprintf(stderr, "stand-in: unknown mode %s\n", mode.c_str());
    return 2;
}
