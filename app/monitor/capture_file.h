#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace varelo {

// The capture file: a text file that receives, piece by piece, what the monitor
// shows of the traffic. Every piece is flushed at once, so a crash or a kill
// loses nothing that was shown. A failed write, flush or close raises IoError.
class CaptureFile {
public:
    CaptureFile() = default;
    CaptureFile(const CaptureFile&) = delete;
    CaptureFile& operator=(const CaptureFile&) = delete;
    ~CaptureFile();

    // Creates the file, or empties it if it exists. False when it cannot be opened.
    bool open(const std::string& path);
    bool isOpen() const { return file_ != nullptr; }

    // Writes one piece and flushes it to the operating system. A file that was
    // removed meanwhile (with its folder, say) raises IoError too.
    void write(std::string_view piece);

    // Closes the file, flushing what is buffered. Closing a closed file does nothing.
    void close();

private:
    std::FILE* file_ = nullptr;
};

}  // namespace varelo
