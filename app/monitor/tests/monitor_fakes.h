#pragma once

#include "app/monitor/monitor_view.h"
#include "app/monitor/regional_settings.h"
#include "platform/clock.h"

#include <unistd.h>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace varelo::testing {

// A terminal view that records every write with the colours it was written in.
class RecordingView final : public MonitorView {
  public:
    struct Piece {
        std::string text;
        bool byWriteChar;
        Colour textColour;
        Colour backColour;
    };

    std::vector<Piece> pieces;
    Colour textColour = colours::SystemWindowText;
    Colour backColour = colours::SystemWindow;

    void WriteString(std::string_view text) override {
        pieces.push_back({std::string(text), false, textColour, backColour});
    }
    void WriteChar(char c) override { pieces.push_back({std::string(1, c), true, textColour, backColour}); }
    void SetTextColor(Colour colour) override { textColour = colour; }
    void SetBackColor(Colour colour) override { backColour = colour; }

    // Everything written, as the view's byte stream.
    std::string stream() const {
        std::string all;
        for (const auto& p : pieces) all += p.text;
        return all;
    }
};

// What a non-blocking descriptor (a pipe's read end) holds now.
inline std::string readWaiting(int fd) {
    std::string got;
    char buffer[65536];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) got.append(buffer, static_cast<std::size_t>(n));
    return got;
}

class FixedClock final : public WallClock {
  public:
    TimeOfDay time;
    TimeOfDay now() const override { return time; }
};

// Regional settings of a day-first locale with a decimal comma.
class FixedRegional final : public RegionalSettings {
  public:
    std::string decimal = ",";
    std::string ShortDateText() const override { return "09/12/2026"; }
    std::string LongTimeText() const override { return "14:30:05"; }
    std::string DecimalSeparator() const override { return decimal; }
};

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A fresh empty file in /tmp, removed when the object goes.
class TempFile {
  public:
    TempFile() {
        char name[] = "/tmp/varelo-capture-XXXXXX";
        const int fd = mkstemp(name);
        if (fd >= 0) ::close(fd);
        path_ = name;
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() { std::remove(path_.c_str()); }
    const std::string& path() const { return path_; }
    std::string content() const { return readFile(path_); }

  private:
    std::string path_;
};

}  // namespace varelo::testing
