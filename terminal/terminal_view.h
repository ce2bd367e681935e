#pragma once

#include "terminal/crt_display.h"
#include "terminal/crt_screen.h"
#include "util/colour.h"

#include <QEvent>
#include <QFont>
#include <QPointF>
#include <QRawFont>
#include <QRect>
#include <QWidget>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace varelo {

// The character-cell terminal view on which the line traffic is shown. It draws
// a CrtScreen, sizes itself to Columns x Rows cells of its font, and hands typed
// keys to OnKeyPress without interpreting them.
class TQVBcrt : public QWidget, private CrtDisplay {
    Q_OBJECT
  public:
    explicit TQVBcrt(QWidget* parent = nullptr);

    void WriteBuffer(const std::uint8_t* bytes, std::size_t count);
    void WriteChar(std::uint8_t c);
    // Any length reaches the screen whole and in order.
    void WriteString(const std::string& s);
    void ClearScreen();

    void SetTextColor(Colour c) { screen_.SetTextColor(c); }
    void SetBackColor(Colour c) { screen_.SetBackColor(c); }
    Colour TextColor() const { return screen_.TextColor(); }
    Colour BackColor() const { return screen_.BackColor(); }

    // 2..132 columns and 2..25 rows; other values are ignored.
    void SetColumns(int columns);
    void SetRows(int rows);
    int Columns() const { return screen_.Columns(); }
    int Rows() const { return screen_.Rows(); }

    void SetLineBreak(TLineBreak lb) { screen_.SetLineBreak(lb); }
    TLineBreak LineBreak() const { return screen_.LineBreak(); }

    // Whether the block caret is shown at the cursor while the view has the focus.
    void SetCursor(bool on);
    bool Cursor() const { return cursor_; }

    // Each typed character, as a Windows-1252 byte; the handler may change it.
    void SetOnKeyPress(std::function<void(char&)> handler) { onKeyPress_ = std::move(handler); }

    int CharWidth() const { return charWidth_; }
    int CharHeight() const { return charHeight_; }

    const CrtScreen& model() const { return screen_; }

    // The private event that carries the deferred full repaint.
    static QEvent::Type RepaintAllEvent();

  protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool focusNextPrevChild(bool next) override;

  private:
    // CrtDisplay
    void invalidateCells(int row, int firstColumn, int lastColumn) override;
    bool takeBackRepaint() override;
    void postRepaint() override;
    void paintAll() override;
    void fillBackground(Colour back) override;
    void beep() override;

    void FontChanged();
    void findFallbackGlyphs();
    void fitToCells();
    void updateAll();
    bool caretShown() const { return cursor_ && hasFocus(); }
    QRect cellsRect(int row, int firstColumn, int lastColumn) const;
    QRect cursorRect() const { return cellsRect(screen_.CurY(), screen_.CurX(), screen_.CurX()); }
    void paintCells(QPainter& painter, const QRect& area);
    void paintCaret(QPainter& painter);
    void drawRun(QPainter& painter, QPoint topLeft, const TCrtCell* cells, int count);

    CrtScreen screen_;
    bool cursor_ = true;
    std::function<void(char&)> onKeyPress_;

    int charWidth_ = 1;
    int charHeight_ = 1;
    int ascent_ = 0;
    // Every byte is drawn as a ready glyph placed at its own cell, never through text
    // layout (which would hide a soft hyphen or let a wider glyph push the rest on).
    // A byte the font lacks takes the glyph another font gives it, else the font's
    // missing-glyph mark.
    QRawFont rawFont_;
    std::array<quint32, 256> glyphIndex_{};
    std::array<std::int8_t, 256> fallbackOf_{};  // index into fallbackFonts_, or -1
    std::vector<QRawFont> fallbackFonts_;
    std::array<QPointF, CrtScreen::MaxColumns> glyphPositions_;
    std::array<quint32, CrtScreen::MaxColumns> runGlyphs_{};
    std::array<QPointF, CrtScreen::MaxColumns> runPositions_;

    bool repaintDue_ = false;          // the deferred full repaint the screen asked for
    bool repaintEventQueued_ = false;  // a RepaintAllEvent waits in the queue to carry it
    bool wholeViewDirty_ = false;      // update() of the whole view is on its way
    QRect caretRect_;                  // where the caret was drawn last
};

}  // namespace varelo
