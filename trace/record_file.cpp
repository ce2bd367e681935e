#include "trace/record_file.h"

#include "trace/file_removed.h"

#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace varelo {
namespace {

constexpr char kMagic[8] = {'V', 'A', 'R', 'T', 'R', 'A', 'C', 'E'};
enum EntryKind : std::uint8_t { kBlock = 1, kLost = 2, kBack = 3, kModem = 4, kModemUnknown = 5 };

template <typename T>
void Put(std::string& out, T value) {
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        out += static_cast<char>(static_cast<std::uint64_t>(value) >> (8 * i) & 0xFF);
    }
}

template <typename T>
T Get(const unsigned char* in) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) value |= static_cast<std::uint64_t>(in[i]) << (8 * i);
    return static_cast<T>(value);
}

std::string EntryHead(EntryKind kind, int line, KernelStamp stamp) {
    std::string head;
    Put<std::uint8_t>(head, kind);
    Put<std::uint8_t>(head, static_cast<std::uint8_t>(line));
    Put<std::int64_t>(head, stamp);
    return head;
}

}  // namespace

RecordWriter::~RecordWriter() { close(); }

std::optional<std::string> RecordWriter::open(const std::string& path, const RecordHeader& header) {
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd_ < 0) return std::string(std::strerror(errno));
    std::string head(kMagic, sizeof kMagic);
    Put<std::uint16_t>(head, kRecordVersion);
    Put<std::uint8_t>(head, static_cast<std::uint8_t>(header.lines.size()));
    Put<std::uint8_t>(head, 0);
    Put<std::int64_t>(head, header.wallOffset);
    for (const RecordedLine& line : header.lines) {
        Put<std::uint32_t>(head, line.format.baud);
        Put<std::uint8_t>(head, static_cast<std::uint8_t>(line.format.dataBits));
        Put<std::uint8_t>(head, static_cast<std::uint8_t>(line.format.parity));
        Put<std::uint8_t>(head, static_cast<std::uint8_t>(line.format.stop));
        Put<std::uint8_t>(head, static_cast<std::uint8_t>(line.format.flow));
        Put<std::uint16_t>(head, static_cast<std::uint16_t>(line.name.size()));
        head += line.name;
    }
    if (!writeAll(head, {})) return failure_;
    return std::nullopt;
}

bool RecordWriter::block(int line, KernelStamp stamp, std::span<const std::uint8_t> bytes) {
    std::string head = EntryHead(kBlock, line, stamp);
    Put<std::uint32_t>(head, static_cast<std::uint32_t>(bytes.size()));
    return writeAll(head, bytes);
}

bool RecordWriter::lineEvent(const LineEvent& e) {
    static constexpr EntryKind kinds[] = {kLost, kBack, kModem, kModemUnknown};
    std::string head = EntryHead(kinds[static_cast<std::size_t>(e.kind)], e.line, e.stamp);
    if (e.kind == LineEvent::Kind::ModemLines) {
        Put<std::uint8_t>(head, e.modem);
    } else if (e.kind != LineEvent::Kind::ModemUnknown) {
        Put<std::uint16_t>(head, static_cast<std::uint16_t>(std::min<std::size_t>(e.detail.size(), 0xFFFF)));
        head.append(e.detail, 0, 0xFFFF);
    }
    return writeAll(head, {});
}

bool RecordWriter::close() {
    if (fd_ >= 0 && ::close(fd_) != 0 && failure_.empty()) failure_ = std::strerror(errno);
    fd_ = -1;
    return failure_.empty();
}

bool RecordWriter::writeAll(const std::string& head, std::span<const std::uint8_t> tail) {
    if (fd_ < 0 || !failure_.empty()) return false;
    iovec parts[2] = {{const_cast<char*>(head.data()), head.size()},
                      {const_cast<std::uint8_t*>(tail.data()), tail.size()}};
    std::size_t left = head.size() + tail.size();
    int first = 0;
    while (left > 0) {
        const ssize_t n = ::writev(fd_, parts + first, 2 - first);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            failure_ = std::strerror(n < 0 ? errno : ENOSPC);
            return false;
        }
        if (FileRemoved(fd_)) {
            failure_ = kFileRemoved;
            return false;
        }
        left -= static_cast<std::size_t>(n);
        for (std::size_t done = static_cast<std::size_t>(n); first < 2 && done > 0;) {
            const std::size_t take = std::min(done, parts[first].iov_len);
            parts[first].iov_base = static_cast<char*>(parts[first].iov_base) + take;
            parts[first].iov_len -= take;
            done -= take;
            if (parts[first].iov_len == 0) ++first;
        }
        while (first < 2 && parts[first].iov_len == 0) ++first;
    }
    return true;
}

RecordReader::~RecordReader() {
    if (file_) std::fclose(file_);
}

std::optional<std::string> RecordReader::open(const std::string& path) {
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) return std::string(std::strerror(errno));
    char magic[sizeof kMagic];
    unsigned char fixed[12];
    if (!read(magic, sizeof magic) || std::memcmp(magic, kMagic, sizeof magic) != 0) {
        return std::string("not a varelo-trace record");
    }
    if (!read(fixed, sizeof fixed)) return std::string("cut short in its header");
    const auto version = Get<std::uint16_t>(fixed);
    if (version != kRecordVersion) {
        return "a record of version " + std::to_string(version) + "; this program reads version " +
               std::to_string(kRecordVersion);
    }
    const unsigned lineCount = fixed[2];
    if (lineCount < 1 || lineCount > 2) return std::string("a record with " + std::to_string(lineCount) + " lines");
    header_.wallOffset = Get<std::int64_t>(fixed + 4);
    for (unsigned i = 0; i < lineCount; ++i) {
        unsigned char line[10];
        if (!read(line, sizeof line)) return std::string("cut short in its header");
        RecordedLine recorded;
        recorded.format.baud = Get<std::uint32_t>(line);
        recorded.format.dataBits = line[4];
        recorded.format.parity = static_cast<TraceParity>(line[5]);
        recorded.format.stop = static_cast<TraceStop>(line[6]);
        recorded.format.flow = static_cast<TraceFlow>(line[7]);
        if (recorded.format.baud == 0 || line[4] < 5 || line[4] > 8 || line[5] > 4 || line[6] > 2 || line[7] > 2) {
            return std::string("line settings in its header that no line has");
        }
        recorded.name.resize(Get<std::uint16_t>(line + 8));
        if (!read(recorded.name.data(), recorded.name.size())) return std::string("cut short in its header");
        header_.lines.push_back(std::move(recorded));
    }
    return std::nullopt;
}

std::optional<RecordEntry> RecordReader::next() {
    if (!file_ || truncatedAt_) return std::nullopt;
    const std::uint64_t start = offset_;
    unsigned char head[10];
    const auto cut = [&]() -> std::optional<RecordEntry> {
        truncatedAt_ = start;
        return std::nullopt;
    };
    const std::size_t got = std::fread(head, 1, sizeof head, file_);
    offset_ += got;
    if (got == 0) return std::nullopt;
    if (got < sizeof head) return cut();
    const int line = head[1];
    const auto stamp = Get<std::int64_t>(head + 2);
    if (line >= static_cast<int>(header_.lines.size())) return cut();
    switch (head[0]) {
        case kBlock: {
            unsigned char length[4];
            if (!read(length, sizeof length)) return cut();
            RecordedBlock block{line, stamp, std::string(Get<std::uint32_t>(length), '\0')};
            if (!read(block.bytes.data(), block.bytes.size())) return cut();
            return block;
        }
        case kLost:
        case kBack: {
            unsigned char length[2];
            if (!read(length, sizeof length)) return cut();
            LineEvent e{line, stamp, head[0] == kLost ? LineEvent::Kind::Lost : LineEvent::Kind::Back, 0, {}};
            e.detail.resize(Get<std::uint16_t>(length));
            if (!read(e.detail.data(), e.detail.size())) return cut();
            return e;
        }
        case kModem: {
            unsigned char lines = 0;
            if (!read(&lines, 1)) return cut();
            return LineEvent{line, stamp, LineEvent::Kind::ModemLines, lines, {}};
        }
        case kModemUnknown:
            return LineEvent{line, stamp, LineEvent::Kind::ModemUnknown, 0, {}};
        default:
            return cut();  // no entry of this program: the rest cannot be read
    }
}

bool RecordReader::read(void* data, std::size_t size) {
    const std::size_t got = size == 0 ? 0 : std::fread(data, 1, size, file_);
    offset_ += got;
    return got == size;
}

}  // namespace varelo
