#include "app/capture_backlog_watch.h"

#include "app/monitor/capture_file.h"
#include "platform/ui/posted_error_box.h"

#include <QSocketNotifier>

namespace varelo {

CaptureBacklogWatch::CaptureBacklogWatch(CaptureFile& file, PostedErrorBox& errors)
    : file_(file), errors_(errors) {}

CaptureBacklogWatch::~CaptureBacklogWatch() = default;

void CaptureBacklogWatch::opened() {
    // Only a pipe (or a device) ever holds bytes back; an ordinary file is never watched.
    file_.setOnBacklog([this] {
        if (!notifier_) {
            notifier_ = std::make_unique<QSocketNotifier>(file_.descriptor(), QSocketNotifier::Write);
            QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                             [this] { pipeHasRoom(); });
        }
        notifier_->setEnabled(true);
    });
}

void CaptureBacklogWatch::closing() {
    file_.setOnBacklog({});
    notifier_.reset();
}

void CaptureBacklogWatch::pipeHasRoom() {
    const bool written = runGuarded(errors_, [this] { file_.writeBacklog(); });
    if (!written || !file_.backlogged()) notifier_->setEnabled(false);
}

}  // namespace varelo
