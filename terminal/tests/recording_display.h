#pragma once

#include "terminal/crt_display.h"

#include <vector>

namespace varelo::testing {

// Stands in for the view: keeps at most one deferred repaint "in the queue" and
// records every paint the model asks for.
class RecordingDisplay : public CrtDisplay {
  public:
    struct RowPaint {
        int row, first, last;
        bool operator==(const RowPaint&) const = default;
    };

    void invalidateCells(int row, int first, int last) override {
        rowPaints.push_back({row, first, last});
        rowPaintScrolls.push_back(scrolls);
    }
    // The model asks once per scroll, so this also counts the scrolls.
    bool takeBackRepaint() override {
        ++scrolls;
        const bool was = queued;
        queued = false;
        return was;
    }
    void postRepaint() override { queued = true; }
    void paintAll() override { fullPaints.push_back(scrolls); }
    void fillBackground(Colour back) override { fills.push_back(back); }
    void beep() override { ++beeps; }

    bool queued = false;
    int scrolls = 0;
    std::vector<RowPaint> rowPaints;
    std::vector<int> rowPaintScrolls;  // scrolls done when each row paint was asked for
    std::vector<int> fullPaints;       // scrolls done when each full paint was asked for
    std::vector<Colour> fills;
    int beeps = 0;
};

}  // namespace varelo::testing
