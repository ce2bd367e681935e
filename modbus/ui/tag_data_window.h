#pragma once

#include "modbus/tag_reader.h"
#include "util/colour.h"

#include <QWidget>

#include <functional>
#include <string>

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace varelo {

class LedShape;

// The four lamps of the tag data window, left to right.
enum class TagLed { Azul, Amarillo, Verde, Rojo };

// The tag data window: the progress of a tag reading session (four lamps and
// the count of blocks taken in) and the tag's memory as a map of 16 x 16
// characters. Created hidden at start-up and shown non-modally by the Send
// menu's tag reading command; its close box only hides it, the session goes on.
class TFormParvolin : public QWidget {
    Q_OBJECT

  public:
    // Stands in the map for a byte that has no visible character of its own
    // (control bytes, DEL, the code page's unassigned bytes, the soft hyphen),
    // so that every row keeps its 16 columns. A small white square: no byte of
    // the code page draws as it, so a marked byte is never mistaken for a real one.
    static constexpr char16_t kNoGlyphMark = u'\u25AB';

    explicit TFormParvolin(QWidget* parent = nullptr);

    QPushButton* const BF1;
    LedShape* const LedAzul;
    LedShape* const LedAmarillo;
    LedShape* const LedVerde;
    LedShape* const LedRojo;
    QLabel* const LabelPaso;
    QPushButton* const BitBtn1;
    QGroupBox* const GroupBox2;
    QPlainTextEdit* const Memo1;

    // The tag's memory image as the map: a header line, then one line per 16 bytes.
    void ShowTagMap(const std::string& image);
    // After each request sent: the activity lamp goes from silver to blue and back.
    void ToggleTagLed();
    void SetLed(TagLed which, Colour colour);
    Colour LedColour(TagLed which) const;
    void SetLabelPaso(const std::string& text);

    // Shows what a step of the session asks for: lamps and step count first,
    // then "Inicializar" (map cleared, lamps silver), then a completed map.
    // Restarting the retry timer is the caller's part.
    void applyOutcome(const TagOutcome& outcome);

    // "Inicializar" restarts the pass: the window clears its map and lamps, and
    // this handler restarts the reader (TagReader::initialize). The handler is
    // the main window's and runs inside its own error guard.
    void SetOnInicializar(std::function<TagOutcome()> handler);
    // "&OK" ends the session through this handler (the Send menu's Stop), then
    // closes the window.
    void SetOnStop(std::function<void()> handler);

    void BF1Click();
    void BitBtn1Click();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    LedShape* led(TagLed which) const;
    void clearMapAndLeds();

    std::function<TagOutcome()> onInicializar_;
    std::function<void()> onStop_;
    bool placed_ = false;
};

}  // namespace varelo
