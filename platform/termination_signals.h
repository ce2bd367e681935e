#pragma once

#include <QObject>

#include <functional>
#include <memory>

namespace varelo {

// The system's requests that the program end: SIGTERM (a logout, a session
// manager, kill), SIGINT (Ctrl+C in the terminal it was started from) and SIGHUP
// (that terminal gone). While the object lives such a signal no longer kills the
// process; `requested` runs instead, on the thread that made the object, at the
// next pass of whichever event loop runs there (a modal box's included). A signal
// the program was started with ignored (nohup) stays ignored. One object at a time.
class TerminationSignals : public QObject {
  public:
    explicit TerminationSignals(std::function<void()> requested, QObject* parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

  private:
    struct Watch;
    std::unique_ptr<Watch> watch_;
};

}  // namespace varelo
