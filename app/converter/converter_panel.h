#pragma once

#include <QFrame>

namespace varelo {

class ConverterField;
class ModalBoxes;
class TEditN;

// The number converter on the main window (Panel1): one value shown in
// hexadecimal, binary, decimal, as a control-character name and as a character.
// Whichever field the user types in, the others follow at each key release.
// The decimal field holds the value; the panel keeps nothing else and touches
// neither the ports nor the terminal view. 445 by 41 pixels; the main window
// places it.
class ConverterPanel : public QFrame {
    Q_OBJECT
  public:
    // The boxes show the decimal field's range message and any run-time error
    // of a handler.
    explicit ConverterPanel(ModalBoxes& boxes, QWidget* parent = nullptr);

    // In tab order.
    ConverterField* const EditHexa;     // at most 8 typed, upper case
    ConverterField* const EditBinario;  // at most 36 typed
    TEditN* const EditDecimal;          // integer, at most 9 typed
    ConverterField* const EditControl;  // read-only, upper case
    ConverterField* const EditChar;     // at most 1 typed

    // The key-release handlers; EditControl's is EditHexaKeyUp.
    void EditDecimalKeyUp();
    void EditHexaKeyUp();
    void EditBinarioKeyUp();
    void EditCharKeyUp();

  private:
    // The forms of the decimal field's value written to the other fields.
    void showHexaOfValue();
    void showBinaryOfHexa();
    void showControlOfValue();
    void showCharacterOfValue();

    ModalBoxes& boxes_;
};

}  // namespace varelo
