#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace varelo {

// The capture file: a text file that receives, piece by piece, what the monitor
// shows of the traffic. Every piece goes to the system at once, so a crash or a
// kill loses nothing that was shown. A failed write or close raises IoError.
//
// The file may also be a named pipe or a device. Nothing here ever waits: a pipe
// that nobody reads cannot be opened, a reader that has gone raises IoError (the
// broken pipe), and what a slow reader has not taken yet is held back, in order,
// until the pipe has room again.
class CaptureFile {
public:
    // The most that is held back for a slow reader; a piece that would go beyond
    // it is not written and raises IoError (EAGAIN).
    static constexpr std::size_t BacklogLimit = 1 << 20;

    CaptureFile() = default;
    CaptureFile(const CaptureFile&) = delete;
    CaptureFile& operator=(const CaptureFile&) = delete;
    ~CaptureFile();

    // Creates the file, or empties it if it exists. False when it cannot be opened,
    // a named pipe without a reader included.
    bool open(const std::string& path);
    bool isOpen() const { return fd_ >= 0; }

    // Writes one piece. A file that was removed meanwhile (with its folder, say)
    // raises IoError too.
    void write(std::string_view piece);

    // What a slow reader has not taken yet, and the means to hand it on once the
    // pipe has room: `onBacklog` is called after each write that leaves bytes held back.
    bool backlogged() const { return !backlog_.empty(); }
    int descriptor() const { return fd_; }
    void setOnBacklog(std::function<void()> onBacklog) { onBacklog_ = std::move(onBacklog); }
    void writeBacklog();

    // Closes the file. What is still held back gets one more try; what a reader
    // still does not take is reported. Closing a closed file does nothing.
    void close();

private:
    int fd_ = -1;
    std::string backlog_;
    std::function<void()> onBacklog_;
};

}  // namespace varelo
