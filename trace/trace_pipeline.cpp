#include "trace/trace_pipeline.h"

#include <algorithm>

namespace varelo {
namespace {

KernelStamp StartOf(const std::variant<Telegram, LineEvent>& item) {
    return std::visit(
        [](const auto& i) {
            if constexpr (std::is_same_v<std::decay_t<decltype(i)>, Telegram>) {
                return i.start;
            } else {
                return i.stamp;
            }
        },
        item);
}

int LineOf(const std::variant<Telegram, LineEvent>& item) {
    return std::visit([](const auto& i) { return i.line; }, item);
}

}  // namespace

TracePipeline::TracePipeline(std::vector<FramingRule> rulePerLine) {
    framers_.reserve(rulePerLine.size());
    for (std::size_t line = 0; line < rulePerLine.size(); ++line) {
        framers_.emplace_back(static_cast<int>(line), rulePerLine[line],
                              [this](Telegram&& t) { hold(std::move(t)); });
    }
}

void TracePipeline::addAnalyser(std::unique_ptr<TelegramAnalyser> analyser) {
    analysers_.push_back(std::move(analyser));
}

void TracePipeline::addOutput(TraceOutput* output) { outputs_.push_back(output); }

void TracePipeline::block(int line, KernelStamp stamp, std::span<const std::uint8_t> bytes) {
    // Every line's silence is judged at this moment first, as a live run's timers would have.
    for (TelegramFramer& framer : framers_) framer.idle(stamp);
    framers_[static_cast<std::size_t>(line)].block(stamp, bytes);
    release();
}

void TracePipeline::idle(KernelStamp now) {
    for (TelegramFramer& framer : framers_) framer.idle(now);
    release();
    for (TraceOutput* output : outputs_) output->idle(now);
}

void TracePipeline::lineEvent(LineEvent event) {
    for (TelegramFramer& framer : framers_) framer.idle(event.stamp);
    if (event.kind == LineEvent::Kind::Lost) framers_[static_cast<std::size_t>(event.line)].flush();
    hold(std::move(event));
    release();
}

void TracePipeline::finish() {
    for (TelegramFramer& framer : framers_) framer.flush();
    release();
    for (TraceOutput* output : outputs_) output->finish();
}

std::optional<KernelStamp> TracePipeline::nextDeadline() const {
    std::optional<KernelStamp> earliest;
    for (const TelegramFramer& framer : framers_) {
        if (!framer.open() || framer.rule().silence == 0) continue;
        if (!earliest || framer.deadline() < *earliest) earliest = framer.deadline();
    }
    for (const TraceOutput* output : outputs_) {
        const std::optional<KernelStamp> at = output->deadline();
        if (at && (!earliest || *at < *earliest)) earliest = at;
    }
    return earliest;
}

void TracePipeline::hold(Item item) {
    // Items of one line come in order; of two, nearly so: insert from the back.
    auto at = held_.end();
    while (at != held_.begin()) {
        const Item& before = *(at - 1);
        if (StartOf(before) < StartOf(item) || (StartOf(before) == StartOf(item) && LineOf(before) <= LineOf(item))) {
            break;
        }
        --at;
    }
    held_.insert(at, std::move(item));
}

void TracePipeline::release() {
    std::size_t passed = 0;
    for (; passed < held_.size(); ++passed) {
        Item& item = held_[passed];
        const KernelStamp start = StartOf(item);
        const int line = LineOf(item);
        const bool earlierOpen = std::any_of(framers_.begin(), framers_.end(), [&](const TelegramFramer& f) {
            const int other = static_cast<int>(&f - framers_.data());
            return other != line && f.open() && (f.openSince() < start || (f.openSince() == start && other < line));
        });
        if (earlierOpen) break;
        std::visit([this](auto& i) { pass(i); }, item);
    }
    held_.erase(held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(passed));
}

void TracePipeline::pass(Telegram& telegram) {
    if (limitReached()) return;
    const auto line = static_cast<std::size_t>(telegram.line);
    if (lastEnd_[line]) telegram.gapSameLine = telegram.start - *lastEnd_[line];
    if (lastEndAny_) telegram.gapAnyLine = telegram.start - *lastEndAny_;
    lastEnd_[line] = telegram.end;
    lastEndAny_ = std::max(lastEndAny_.value_or(telegram.end), telegram.end);

    LineStats& s = stats_.lines[line];
    ++s.telegrams;
    s.bytes += telegram.bytes.size();
    s.largestTelegram = std::max<std::uint64_t>(s.largestTelegram, telegram.bytes.size());
    if (telegram.gapSameLine) s.longestGap = std::max(s.longestGap, *telegram.gapSameLine);

    for (auto& analyser : analysers_) analyser->analyse(telegram);
    for (TraceOutput* output : outputs_) output->telegram(telegram);
}

void TracePipeline::pass(const LineEvent& event) {
    LineStats& s = stats_.lines[static_cast<std::size_t>(event.line)];
    if (event.kind == LineEvent::Kind::Lost) ++s.lost;
    if (event.kind == LineEvent::Kind::Back) ++s.back;
    // A line that comes back starts afresh: no gap across the time it was away.
    if (event.kind == LineEvent::Kind::Back) lastEnd_[static_cast<std::size_t>(event.line)].reset();
    for (auto& analyser : analysers_) analyser->lineEvent(event);
    for (TraceOutput* output : outputs_) output->lineEvent(event);
}

}  // namespace varelo
