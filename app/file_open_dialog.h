#pragma once

#include "platform/ui/modal_boxes.h"

#include <string>

namespace varelo {

// A file-open dialog that, like the desktop's, remembers the name it last held:
// after a cancel its file name is still the one chosen before (or empty).
struct FileOpenDialog {
    std::string Filter;
    std::string FileName;

    void Execute(ModalBoxes& boxes) { FileName = boxes.openFileName(Filter, FileName); }
};

}  // namespace varelo
