#pragma once

#include "platform/ui/modal_boxes.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace varelo {

// Boxes for tests: every box shown is recorded in order (kind and text), and
// the answers come from queues the test fills. An empty queue answers as the
// user who cancels would (No, the default text, the current file name).
class ScriptedModalBoxes final : public ModalBoxes {
public:
    struct Shown {
        std::string kind;  // "message", "yesno", "input", "error", "runtime", "open"
        std::string text;  // the message, or "caption|prompt|default" for an input box
        bool operator==(const Shown&) const = default;
    };

    std::vector<Shown> shown;
    std::deque<bool> yesNoAnswers;
    std::deque<std::string> inputAnswers;   // each answer as typed, confirmed with OK
    std::deque<std::string> fileAnswers;    // each chosen name, confirmed with OK
    int beeps = 0;
    // Runs while a box is "open", as the nested event loop of a real box would.
    std::function<void()> whileOpen;

    void showMessage(const std::string& text) override { record("message", text); }
    bool askYesNo(const std::string& text) override {
        record("yesno", text);
        return take(yesNoAnswers, false);
    }
    std::string inputBox(const std::string& caption, const std::string& prompt,
                         const std::string& defaultText) override {
        record("input", caption + "|" + prompt + "|" + defaultText);
        return take(inputAnswers, defaultText);
    }
    void showErrorBox(const std::string& caption, const std::string& text) override {
        record("error", caption + "|" + text);
    }
    void showRunTimeError(const std::string& text) override { record("runtime", text); }
    std::string openFileName(const std::string& filter, const std::string& currentName) override {
        record("open", filter);
        return take(fileAnswers, currentName);
    }
    void beep() override { ++beeps; }

    // The texts of the boxes of one kind, in order.
    std::vector<std::string> texts(const std::string& kind) const {
        std::vector<std::string> out;
        for (const auto& s : shown)
            if (s.kind == kind) out.push_back(s.text);
        return out;
    }

private:
    void record(const std::string& kind, const std::string& text) {
        shown.push_back({kind, text});
        if (whileOpen) whileOpen();
    }
    template <typename T>
    static T take(std::deque<T>& queue, T fallback) {
        if (queue.empty()) return fallback;
        T v = std::move(queue.front());
        queue.pop_front();
        return v;
    }
};

}  // namespace varelo
