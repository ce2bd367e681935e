#pragma once

#include <memory>

class QSocketNotifier;

namespace varelo {

class CaptureFile;
class PostedErrorBox;

// Hands on what a capture pipe's slow reader has not taken yet as soon as the pipe
// has room again, so that the reader sees the traffic without waiting for the next
// block. A failure (the reader gone) is reported once and left to the next block.
class CaptureBacklogWatch {
public:
    CaptureBacklogWatch(CaptureFile& file, PostedErrorBox& errors);
    ~CaptureBacklogWatch();

    // A capture was opened: watch its descriptor while it holds bytes back.
    void opened();
    // The capture is about to close: stop watching its descriptor.
    void closing();

private:
    void pipeHasRoom();

    CaptureFile& file_;
    PostedErrorBox& errors_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace varelo
