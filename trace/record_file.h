#pragma once

#include "trace/line_format.h"
#include "trace/telegram.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace varelo {

// The record of a run: its lines' settings and every block exactly as it was
// taken from the kernel, with its stamp, and the lines' events. The layout is in
// docs/trace-record-format.md.
inline constexpr std::uint16_t kRecordVersion = 1;

struct RecordedLine {
    std::string name;
    LineFormat format;
};

struct RecordHeader {
    KernelStamp wallOffset = 0;
    std::vector<RecordedLine> lines;
};

struct RecordedBlock {
    int line = 0;
    KernelStamp stamp = 0;
    std::string bytes;
};

using RecordEntry = std::variant<RecordedBlock, LineEvent>;

// Writes a record as the run goes, each entry in one system call, so that a run
// killed at any moment leaves whole entries and at most the last one cut short.
class RecordWriter {
  public:
    ~RecordWriter();
    // Nothing, or why the file cannot be made.
    std::optional<std::string> open(const std::string& path, const RecordHeader& header);
    bool block(int line, KernelStamp stamp, std::span<const std::uint8_t> bytes);
    bool lineEvent(const LineEvent& event);
    bool close();

    const std::string& failure() const { return failure_; }
    bool failed() const { return !failure_.empty(); }

  private:
    bool writeAll(const std::string& head, std::span<const std::uint8_t> tail);

    int fd_ = -1;
    std::string failure_;
};

// Reads a record back, entry by entry.
class RecordReader {
  public:
    ~RecordReader();
    // Nothing, or why the file is no record this program reads.
    std::optional<std::string> open(const std::string& path);
    const RecordHeader& header() const { return header_; }
    // The next entry; nothing at the end of the file, or where the file was cut
    // short inside an entry (then truncatedAt() says where).
    std::optional<RecordEntry> next();
    std::optional<std::uint64_t> truncatedAt() const { return truncatedAt_; }

  private:
    bool read(void* data, std::size_t size);

    std::FILE* file_ = nullptr;
    RecordHeader header_;
    std::uint64_t offset_ = 0;
    std::optional<std::uint64_t> truncatedAt_;
};

}  // namespace varelo
