#pragma once

#include "app/monitor/byte_rendering.h"

#include <string>
#include <string_view>

namespace varelo {

class CaptureFile;
class MonitorView;
class WallClock;
struct MonitorState;
struct SharedState;

// What the receive path needs from the main window.
class ReceiveWindow {
  public:
    virtual ~ReceiveWindow() = default;
    // The "Return 485" check box.
    virtual bool Return485Checked() const = 0;
    // Stops the tag reader's retry timer.
    virtual void StopTimerModBus() = 0;
    // The tag reader's response handler; gets every block while a tag session runs.
    virtual void ProcessTagResponse(const std::string& block) = 0;
    // The received-bytes count field.
    virtual void SetEditLng(const std::string& text) = 0;
};

// The line monitor's receive path: what happens to every block a port delivers.
// A failed capture write raises IoError out of these methods once the block is
// on the view; the steps after it are skipped.
class ReceivePath {
  public:
    ReceivePath(MonitorState& state, SharedState& shared, MonitorView& view, CaptureFile& capture,
                const WallClock& clock, ReceiveWindow& window);

    // The ports' receive-data handlers. Port 1 also removes the echo of the
    // last telegram sent while "Return 485" is checked.
    void Port1ReceiveData(std::string_view data);
    void Port2ReceiveData(std::string_view data);

    // Renders one received block and writes it, behind its header and stamp
    // when one telegram per line is on, to the view and the capture file, in
    // the port's colours; counts its bytes.
    void ShowReceived(char port, std::string_view block, std::string_view stamp);

  private:
    void receive(char port, std::string_view data);

    MonitorState& state_;
    SharedState& shared_;
    MonitorView& view_;
    CaptureFile& capture_;
    const WallClock& clock_;
    ReceiveWindow& window_;
    // Kept between blocks so that a steady stream renders without allocating.
    std::string block_;
    std::string rendered_;
};

}  // namespace varelo
