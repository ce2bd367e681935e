#pragma once

#include <string>

namespace varelo {

class CaptureFile;
class ModalBoxes;
class MonitorView;
class TelegramBuilders;
struct MonitorState;
struct SharedState;

// What the scheduler needs from the main window. Ports are the digits '1' and '2'.
class SchedulerWindow {
  public:
    virtual ~SchedulerWindow() = default;
    // '1' while the port radio button 1 is checked, else '2'.
    virtual char SelectedPort() const = 0;
    // The program's record of an open port (its Close item is enabled).
    virtual bool PortOpen(char port) const = 0;
    // The "Return 485" check box.
    virtual bool Return485Checked() const = 0;
    // The sending timer (Timer1). Enabling restarts its period.
    virtual bool Timer1Enabled() const = 0;
    virtual void SetTimer1Enabled(bool enabled) = 0;
    // Timer1's interval := the period field.
    virtual void EditTiempoChange() = 0;
    // Writes the whole telegram with the port's driver; returns when done or timed out.
    virtual void SendString(char port, const std::string& telegram) = 0;
    // The tag data window's lamps: both to silver at every tick, and the tag
    // lamp toggled after each send of a tag session.
    virtual void SetTagLampsSilver() = 0;
    virtual void ToggleTagLed() = 0;
};

enum class SchedulerState {
    Idle,     // not sending
    Running,  // sending, Timer1 ticking
    Halted,   // sending, but a tick found nothing to send (or failed): Timer1 stays off
};

// The telegram generator's scheduler: at each tick of Timer1 it rebuilds the
// telegram by its type, sends it on the chosen port, keeps it for echo removal
// and echoes it on the view and in the capture file behind its sent header.
class TransmissionScheduler {
  public:
    TransmissionScheduler(MonitorState& state, SharedState& shared, TelegramBuilders& builders,
                          MonitorView& view, CaptureFile& capture, SchedulerWindow& window,
                          ModalBoxes& boxes);

    // Starts (or keeps) sending, unless the chosen port is not open: then
    // "Port 1 is not open" or "Port 2 is not open" and nothing changes.
    // True when sending was started.
    bool StartSending();

    // The data steps of Stop: Timer1 off, not sending, no tag session. The
    // window empties its telegram-name field and restores its size.
    void Stop();

    // Timer1's tick. A failed capture write raises IoError and leaves Timer1
    // off (Halted) until the next start or Stop.
    void Timer1Timer();

    SchedulerState State() const;

  private:
    void buildTelegram();
    void echoSent(char port, const std::string& telegram);

    MonitorState& state_;
    SharedState& shared_;
    TelegramBuilders& builders_;
    MonitorView& view_;
    CaptureFile& capture_;
    SchedulerWindow& window_;
    ModalBoxes& boxes_;
};

}  // namespace varelo
