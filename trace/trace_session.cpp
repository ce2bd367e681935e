#include "trace/trace_session.h"

#include "serial/posix_serial_device.h"
#include "trace/run_outputs.h"
#include "trace/run_signals.h"
#include "trace/trace_line.h"

#include <QCoreApplication>
#include <QTimer>

#include <signal.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <iostream>

namespace varelo {
namespace {

KernelStamp WallOffsetNow() {
    const auto wall = std::chrono::duration_cast<std::chrono::nanoseconds>(
                          std::chrono::system_clock::now().time_since_epoch())
                          .count();
    return wall - KernelStampNow();
}

TraceView ViewFor(const TraceOptions& options, const std::vector<std::string>& names) {
    TraceView view;
    view.lineCount = names.size();
    for (std::size_t i = 0; i < names.size(); ++i) {
        view.names[i] = options.aliases[i].empty() ? names[i] : options.aliases[i];
    }
    view.mode = options.mode;
    return view;
}

void Say(const std::string& message) { std::cerr << "varelo-trace: " << message << std::endl; }

// A live run on the event loop: lines feed the pipeline; a timer ends telegrams
// whose silence has come; signals, --duration, --count and failures end the run.
class LiveRun {
  public:
    explicit LiveRun(const TraceOptions& options) : options_(options) {}

    int run() {
        std::vector<LineFormat> formats(options_.lines.begin(), options_.lines.begin() + options_.devices.size());
        TraceView view = ViewFor(options_, options_.devices);
        view.wallOffset = WallOffsetNow();
        outputs_ = std::make_unique<RunOutputs>(options_, view, formats);
        outputs_->pipeline().setTelegramLimit(options_.count);
        RunSignals stopSignals([this](int signal) {
            if (signal == SIGUSR1) {
                std::cerr << outputs_->modbusStatistics() << std::flush;
            } else {
                stop(0);
            }
        });
        if (auto error = stopSignals.start()) {
            Say(*error);
            return kExitFailed;
        }
        for (std::size_t i = 0; i < options_.devices.size(); ++i) {
            TraceLine::Setup setup{static_cast<int>(i), options_.devices[i], options_.lines[i], options_.modem,
                                   options_.reconnect, OpenPosixSerialDevice};
            lines_.push_back(std::make_unique<TraceLine>(
                setup, TraceLine::Handlers{[this, i](KernelStamp stamp, std::span<const std::uint8_t> bytes) {
                                               block(static_cast<int>(i), stamp, bytes);
                                           },
                                           [this](const LineEvent& e) { lineEvent(e); }}));
            if (auto reason = lines_.back()->open()) {
                Say(options_.devices[i] + ": " + *reason);
                return kExitRefused;
            }
        }
        RecordHeader header;
        header.wallOffset = outputs_->view().wallOffset;
        for (std::size_t i = 0; i < options_.devices.size(); ++i) header.lines.push_back({options_.devices[i], formats[i]});
        // A failed output is told from its own thread; the run hears of it on its own.
        const auto outputFailed = [this] {
            QMetaObject::invokeMethod(QCoreApplication::instance(), [this] { checkOutputs(); }, Qt::QueuedConnection);
        };
        if (auto error = outputs_->open(options_.recordFile.empty() ? nullptr : &header, outputFailed)) {
            Say(*error);
            return kExitRefused;
        }
        started_ = KernelStampNow();

        silenceTimer_.setSingleShot(true);
        silenceTimer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&silenceTimer_, &QTimer::timeout, [this] { silenceCame(); });
        if (!options_.send.bytes.empty()) {
            sendTimer_.setTimerType(Qt::PreciseTimer);
            QObject::connect(&sendTimer_, &QTimer::timeout, [this] { send(); });
            QTimer::singleShot(0, [this] { send(); });
            if (options_.send.everyMs) sendTimer_.start(static_cast<int>(*options_.send.everyMs));
        }
        if (options_.durationSeconds) {
            QTimer::singleShot(static_cast<int>(std::ceil(*options_.durationSeconds * 1000)), Qt::PreciseTimer,
                               [this] { stop(0); });
        }
        const int status = QCoreApplication::exec();
        return finish(status);
    }

  private:
    void block(int line, KernelStamp stamp, std::span<const std::uint8_t> bytes) {
        if (stopping_) return;
        if (RecordWriter* record = outputs_->record()) record->block(line, stamp, bytes);
        outputs_->pipeline().block(line, stamp, bytes);
        afterInput();
    }

    void lineEvent(const LineEvent& e) {
        if (stopping_) return;
        if (RecordWriter* record = outputs_->record()) record->lineEvent(e);
        outputs_->pipeline().lineEvent(e);
        if (e.kind == LineEvent::Kind::Lost && !options_.reconnect) {
            lostFor_ = options_.devices[static_cast<std::size_t>(e.line)] + ": " + e.detail;
            stop(kExitFailed);
        }
        afterInput();
    }

    void afterInput() {
        if (outputs_->pipeline().limitReached()) stop(0);
        if (outputs_->failure()) stop(kExitFailed);
        armSilence();
    }

    // The timer rests until the earliest open telegram's silence would end.
    void armSilence() {
        const std::optional<KernelStamp> deadline = outputs_->pipeline().nextDeadline();
        if (!deadline) return;
        if (silenceTimer_.isActive() && armedFor_ <= *deadline) return;
        armedFor_ = *deadline;
        const KernelStamp wait = std::max<KernelStamp>(0, *deadline - KernelStampNow());
        silenceTimer_.start(static_cast<int>((wait + 999'999) / 1'000'000));
    }

    void silenceCame() {
        // What the kernel holds now is stamped first: a byte that came just in time counts.
        for (auto& line : lines_) line->pull();
        outputs_->pipeline().idle(KernelStampNow());
        afterInput();
    }

    // The --send telegram with its check, on the first line. Its stamps: the
    // moment it is written, and that plus the time its bytes take on the line.
    void send() {
        if (stopping_) return;
        const bool ascii = options_.modbus.on && options_.modbus.framing == TelegramFraming::Ascii;
        const std::string bytes = TelegramToSend(options_.send.bytes, options_.send.check, ascii);
        const KernelStamp start = KernelStampNow();
        if (!lines_[0]->write(bytes)) return;
        const auto perByte = static_cast<KernelStamp>(CharacterNanoseconds(options_.lines[0]));
        outputs_->sent(0, start, start + static_cast<KernelStamp>(bytes.size()) * perByte, bytes);
        afterInput();
    }

    void checkOutputs() {
        if (outputs_->failure()) stop(kExitFailed);
    }

    void stop(int status) {
        if (stopping_) return;
        stopping_ = true;
        status_ = status;
        QTimer::singleShot(0, [status] { QCoreApplication::exit(status); });
    }

    int finish(int status) {
        stopping_ = true;
        for (auto& line : lines_) line->close();  // lock files go with the devices
        outputs_->finish();
        const double seconds = static_cast<double>(KernelStampNow() - started_) / 1e9;
        std::cerr << outputs_->summary(seconds, options_.devices);
        if (!lostFor_.empty()) Say(lostFor_ + "; the run ends (--no-reconnect)");
        if (auto failure = outputs_->failure()) {
            Say(*failure);
            return kExitFailed;
        }
        return status != 0 ? status : status_;
    }

    const TraceOptions& options_;
    std::unique_ptr<RunOutputs> outputs_;
    std::vector<std::unique_ptr<TraceLine>> lines_;
    QTimer silenceTimer_;
    QTimer sendTimer_;
    KernelStamp armedFor_ = 0;
    KernelStamp started_ = 0;
    bool stopping_ = false;
    int status_ = 0;
    std::string lostFor_;
};

}  // namespace

int RunLiveTrace(const TraceOptions& options) {
    LiveRun run(options);
    return run.run();
}

int RunReplayTrace(const TraceOptions& options) {
    RecordReader reader;
    if (auto error = reader.open(options.replayFile)) {
        Say(options.replayFile + ": " + *error);
        return kExitRefused;
    }
    const RecordHeader& header = reader.header();
    std::vector<std::string> names;
    std::vector<LineFormat> formats;
    for (const RecordedLine& line : header.lines) {
        names.push_back(line.name);
        formats.push_back(line.format);
    }
    TraceView view = ViewFor(options, names);
    view.wallOffset = header.wallOffset;
    RunOutputs outputs(options, view, formats);
    outputs.pipeline().setTelegramLimit(options.count);
    if (auto error = outputs.open(nullptr)) {
        Say(*error);
        return kExitRefused;
    }
    std::optional<KernelStamp> first, last;
    const std::optional<KernelStamp> duration =
        options.durationSeconds ? std::optional<KernelStamp>(std::llround(*options.durationSeconds * 1e9)) : std::nullopt;
    while (std::optional<RecordEntry> entry = reader.next()) {
        const KernelStamp stamp = std::visit([](const auto& e) { return e.stamp; }, *entry);
        if (!first) first = stamp;
        if (duration && stamp - *first > *duration) break;
        last = stamp;
        if (auto* block = std::get_if<RecordedBlock>(&*entry)) {
            outputs.pipeline().block(block->line, block->stamp,
                                     std::span(reinterpret_cast<const std::uint8_t*>(block->bytes.data()),
                                               block->bytes.size()));
        } else {
            outputs.pipeline().lineEvent(std::get<LineEvent>(*entry));
        }
        if (outputs.pipeline().limitReached() || outputs.failure()) break;
    }
    outputs.finish();
    std::cerr << outputs.summary(first && last ? static_cast<double>(*last - *first) / 1e9 : 0.0, names);
    if (auto failure = outputs.failure()) {
        Say(*failure);
        return kExitFailed;
    }
    if (reader.truncatedAt() && !outputs.pipeline().limitReached()) {
        Say(options.replayFile + ": cut short or damaged at byte " + std::to_string(*reader.truncatedAt()) +
            "; replayed up to the last whole block");
        return kExitFailed;
    }
    return 0;
}

}  // namespace varelo
