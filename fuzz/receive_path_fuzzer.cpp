// The line monitor's receive path fed arbitrary blocks on both ports, with sent
// telegrams waiting as echoes and the display settings changing in between. What
// reaches the view, the capture file, the byte count and the tag reader must be
// exactly the blocks received, less the echo where "Return 485" removes it, each
// byte rendered by the display mode in force: nothing lost, nothing added.
//
// Input, a script of operations: an operation byte, then its operands.
//   op % 4 = 0, 1  a block on port 1 or 2: n = next byte, n bytes, then the arrival time
//                  (hour, minute, second, millisecond / 4 from the next four bytes)
//            2     a telegram sent with "Return 485" checked: n = next byte, n bytes
//            3     the settings, next byte: bit 0 Hexa, 1 Ctrl - ASCII - Hexa, 2 one line
//                  per telegram, 3 time of arrival, 4 "Return 485", 5 capturing, 6 tag session

#include "app/monitor/capture_file.h"
#include "app/monitor/monitor_state.h"
#include "app/monitor/monitor_view.h"
#include "app/monitor/receive_path.h"
#include "app/monitor/time_stamp.h"
#include "fuzz/fuzz_input.h"
#include "platform/clock.h"
#include "util/ctrl_names.h"
#include "util/shared_state.h"

#include <unistd.h>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace varelo::fuzz {
namespace {

// The display rule, byte by byte: 0x20 to 0xAF as themselves unless in Hexa mode,
// control characters by name in Ctrl - ASCII - Hexa mode, the rest as "(XX)".
std::string expectedRendering(const std::string& block, DisplayMode mode) {
    std::string out;
    for (const char c : block) {
        const auto b = static_cast<unsigned char>(c);
        if (!mode.HexMode && b >= 0x20 && b <= 0xAF) {
            out += c;
        } else if (!mode.HexMode && mode.CtrlMode && b < 0x20) {
            out += CtrlNames[b];
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "(%02X)", b);
            out += hex;
        }
    }
    return out;
}

// Writes down everything shown, and checks that it is shown in the colours the
// receiving port is drawn in.
class RecordingView : public MonitorView {
  public:
    void WriteString(std::string_view text) override {
        FUZZ_CHECK(text_ == portText && back_ == portBack);
        shown.append(text);
    }
    void WriteChar(char c) override { WriteString(std::string_view(&c, 1)); }
    void SetTextColor(Colour colour) override { text_ = colour; }
    void SetBackColor(Colour colour) override { back_ = colour; }
    bool inRestingColours() const { return text_ == colours::Black && back_ == colours::White; }

    std::string shown;
    Colour portText = colours::Black, portBack = colours::White;

  private:
    Colour text_ = colours::Black, back_ = colours::White;
};

class RecordingWindow : public ReceiveWindow {
  public:
    bool Return485Checked() const override { return return485; }
    void StopTimerModBus() override { ++timerStops; }
    void ProcessTagResponse(const std::string& block) override { tagBlocks.push_back(block); }
    void SetEditLng(const std::string& text) override { editLng = text; }

    bool return485 = false;
    int timerStops = 0;
    std::vector<std::string> tagBlocks;
    std::string editLng;
};

class FixedClock : public WallClock {
  public:
    TimeOfDay now() const override { return time; }
    TimeOfDay time;
};

// The capture file of this process, made afresh for each input.
const std::string& capturePath() {
    static const std::string path = "/tmp/varelo-receive-path-fuzz-" + std::to_string(getpid()) + ".txt";
    return path;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class Monitor {
  public:
    Monitor() { FUZZ_CHECK(capture_.open(capturePath())); }

    void settings(std::uint8_t bits) {
        state_.HexMode = bits & 1;
        state_.CtrlMode = bits & 2;
        state_.SkipLine = bits & 4;
        state_.ShowTime = bits & 8;
        window_.return485 = bits & 16;
        state_.Capturing = bits & 32;
        shared_.TagSession = bits & 64;
    }

    void sent(const std::string& telegram) {
        shared_.EchoTlg = telegram;
        shared_.EchoPending = true;
    }

    void receive(char port, const std::string& data, const TimeOfDay& time) {
        clock_.time = time;
        const std::string stamp = TimeStampText(time);
        FUZZ_CHECK(stamp.size() == 14);

        std::string block = data;
        if (port == '1' && window_.return485) {
            const std::string& echo = shared_.EchoTlg;
            if (shared_.EchoPending && block.compare(0, echo.size(), echo) == 0) block.erase(0, echo.size());
        }
        const bool echoWasPending = shared_.EchoPending;
        const int timerStops = window_.timerStops;
        view_.portText = port == '1' ? colours::Red : colours::Black;
        view_.portBack = port == '1' ? colours::Aqua : colours::Lime;

        port == '1' ? path_.Port1ReceiveData(data) : path_.Port2ReceiveData(data);

        FUZZ_CHECK(window_.timerStops == timerStops + 1 && shared_.RxPort == std::string(1, port));
        // Port 1 with "Return 485" looks for the echo in this block only; port 2 leaves it waiting.
        if (port == '1' && window_.return485) FUZZ_CHECK(!shared_.EchoPending && shared_.EchoTlg.empty());
        if (port == '2') FUZZ_CHECK(shared_.EchoPending == echoWasPending);

        if (shared_.TagSession) {
            expectedTagBlocks_.push_back(block);
        } else if (!block.empty()) {
            const std::string rendered = expectedRendering(block, {state_.HexMode, state_.CtrlMode});
            FUZZ_CHECK(RenderBlock(block, {state_.HexMode, state_.CtrlMode}) == rendered);
            FUZZ_CHECK(rendered.find_first_of("\r\n") == std::string::npos);
            if (state_.SkipLine) {
                expectedView_ += std::string("\rP") + port + "->" + (state_.ShowTime ? stamp : "");
                if (state_.Capturing)
                    expectedCapture_ += std::string("\r\nP") + port + "->" + (state_.ShowTime ? stamp : "");
            }
            expectedView_ += rendered;
            if (state_.Capturing) expectedCapture_ += rendered;
            expectedCount_ += static_cast<std::int64_t>(block.size());
            expectedCountText_ = std::to_string(expectedCount_);
            FUZZ_CHECK(view_.inRestingColours());
        }
        FUZZ_CHECK(view_.shown.size() == expectedView_.size());
        FUZZ_CHECK(state_.RxCount == expectedCount_);
        FUZZ_CHECK(window_.tagBlocks.size() == expectedTagBlocks_.size());
        FUZZ_CHECK(window_.editLng == expectedCountText_);
    }

    void finish() {
        capture_.close();
        FUZZ_CHECK(view_.shown == expectedView_);
        FUZZ_CHECK(window_.tagBlocks == expectedTagBlocks_);
        FUZZ_CHECK(readFile(capturePath()) == expectedCapture_);
        std::remove(capturePath().c_str());
    }

  private:
    MonitorState state_;
    SharedState shared_;
    RecordingView view_;
    CaptureFile capture_;
    FixedClock clock_;
    RecordingWindow window_;
    ReceivePath path_{state_, shared_, view_, capture_, clock_, window_};

    std::string expectedView_;
    std::string expectedCapture_;
    std::int64_t expectedCount_ = 0;
    std::string expectedCountText_;
    std::vector<std::string> expectedTagBlocks_;
};

}  // namespace
}  // namespace varelo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace varelo;
    using namespace varelo::fuzz;

    FuzzInput in(data, size);
    Monitor monitor;
    while (!in.empty()) {
        const int op = in.byte() % 4;
        if (op <= 1) {
            const std::string block = in.bytes(in.byte());
            TimeOfDay time;
            time.hour = in.byte() % 24;
            time.minute = in.byte() % 60;
            time.second = in.byte() % 60;
            time.millisecond = in.byte() * 4 % 1000;
            monitor.receive(op == 0 ? '1' : '2', block, time);
        } else if (op == 2) {
            monitor.sent(in.bytes(in.byte()));
        } else {
            monitor.settings(in.byte());
        }
    }
    monitor.finish();
    return 0;
}
