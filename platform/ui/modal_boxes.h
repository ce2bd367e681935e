#pragma once

#include <string>

namespace varelo {

// Every modal box the program shows goes through this seam, so that tests can
// script the answers and read back every text shown. Texts are UTF-8.
// All boxes keep the event loop running while open (timers and receive events go on).
class ModalBoxes {
public:
    virtual ~ModalBoxes() = default;

    // A message with an OK button.
    virtual void showMessage(const std::string& text) = 0;

    // An information box with the buttons Yes and No; true for Yes.
    virtual bool askYesNo(const std::string& text) = 0;

    // An input box; Cancel (or closing it) gives the default text.
    virtual std::string inputBox(const std::string& caption, const std::string& prompt,
                                 const std::string& defaultText) = 0;

    // A system box with the error icon and its own caption ("File Error").
    virtual void showErrorBox(const std::string& caption, const std::string& text) = 0;

    // The application's standard error box for run-time errors.
    virtual void showRunTimeError(const std::string& text) = 0;

    // The file-open dialog. `filter` is "Description|pattern|Description|pattern".
    // Returns the dialog's current file name once it closes: the chosen one after
    // OK, `currentName` unchanged after Cancel.
    virtual std::string openFileName(const std::string& filter, const std::string& currentName) = 0;

    // The desktop's default beep.
    virtual void beep() = 0;
};

}  // namespace varelo
