#pragma once

#include "platform/ui/modal_boxes.h"

class QWidget;

namespace varelo {

// The production boxes: QMessageBox, QInputDialog, QFileDialog.
class QtModalBoxes final : public ModalBoxes {
public:
    explicit QtModalBoxes(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void showMessage(const std::string& text) override;
    bool askYesNo(const std::string& text) override;
    std::string inputBox(const std::string& caption, const std::string& prompt,
                         const std::string& defaultText) override;
    void showErrorBox(const std::string& caption, const std::string& text) override;
    void showRunTimeError(const std::string& text) override;
    std::string openFileName(const std::string& filter, const std::string& currentName) override;
    void beep() override;

private:
    QWidget* parent_;
    bool runTimeErrorOpen_ = false;
};

}  // namespace varelo
