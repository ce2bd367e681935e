#include "platform/termination_signals.h"

namespace varelo {

// A system without POSIX signals ends the program through its windows alone.
struct TerminationSignals::Watch {};

TerminationSignals::TerminationSignals(std::function<void()>, QObject* parent) : QObject(parent) {}
TerminationSignals::~TerminationSignals() = default;

}  // namespace varelo
