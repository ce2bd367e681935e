#include "trace/telegram_framer.h"

#include <algorithm>
#include <cstring>

namespace varelo {

TelegramFramer::TelegramFramer(int line, FramingRule rule, Sink sink)
    : line_(line), rule_(std::move(rule)), sink_(std::move(sink)) {}

void TelegramFramer::block(KernelStamp stamp, std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) return;
    idle(stamp);
    if (rule_.silence == 0 && rule_.delimiter.empty()) {
        // One telegram per block, still within the length cap.
        for (std::size_t done = 0; done < bytes.size();) {
            const std::size_t count = std::min(rule_.maxBytes, bytes.size() - done);
            append(stamp, bytes.data() + done, count);
            done += count;
            finish(done < bytes.size());
        }
        return;
    }
    const std::uint8_t* p = bytes.data();
    const std::uint8_t* const end = p + bytes.size();
    while (p < end) {
        std::size_t count = std::min<std::size_t>(rule_.maxBytes - current_.bytes.size(), end - p);
        if (!rule_.delimiter.empty()) {
            // Up to the next byte that may end the delimiter; the whole tail is checked then.
            const void* last = std::memchr(p, rule_.delimiter.back(), count);
            if (last) count = static_cast<std::size_t>(static_cast<const std::uint8_t*>(last) - p) + 1;
        }
        append(stamp, p, count);
        p += count;
        if (!rule_.delimiter.empty() && endsWithDelimiter()) {
            finish(false);
        } else if (current_.bytes.size() >= rule_.maxBytes) {
            finish(true);
        }
    }
}

void TelegramFramer::idle(KernelStamp now) {
    if (open() && rule_.silence > 0 && now - current_.end >= rule_.silence) finish(false);
}

void TelegramFramer::flush() {
    if (open()) finish(false);
}

void TelegramFramer::append(KernelStamp stamp, const std::uint8_t* bytes, std::size_t count) {
    if (count == 0) return;
    if (current_.bytes.empty()) current_.start = stamp;
    current_.end = stamp;
    current_.bytes.append(reinterpret_cast<const char*>(bytes), count);
}

void TelegramFramer::finish(bool cut) {
    Telegram done = std::move(current_);
    current_ = Telegram{};
    done.line = line_;
    done.cut = cut;
    done.continued = nextContinues_;
    nextContinues_ = cut;
    sink_(std::move(done));
}

bool TelegramFramer::endsWithDelimiter() const {
    const std::string& b = current_.bytes;
    const std::string& d = rule_.delimiter;
    return b.size() >= d.size() && std::memcmp(b.data() + b.size() - d.size(), d.data(), d.size()) == 0;
}

}  // namespace varelo
