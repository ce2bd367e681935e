// varelo-trace: watches one or two serial lines from the terminal, telegram by
// telegram, on Varelo's own serial layer and byte rendering.
#include "trace/trace_options.h"
#include "trace/trace_session.h"

#include <QCoreApplication>

#include <iostream>

int main(int argc, char** argv) {
    using namespace varelo;
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto parsed = ParseTraceOptions(args);
    if (const auto* error = std::get_if<std::string>(&parsed)) {
        std::cerr << "varelo-trace: " << *error << "\n" << TraceUsage();
        return kExitRefused;
    }
    const TraceOptions& options = std::get<TraceOptions>(parsed);
    if (options.help) {
        std::cout << TraceHelp();
        return 0;
    }
    if (!options.replayFile.empty()) return RunReplayTrace(options);
    QCoreApplication app(argc, argv);
    return RunLiveTrace(options);
}
