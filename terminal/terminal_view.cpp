#include "terminal/terminal_view.h"

#include "util/cp1252.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <array>

namespace varelo {
namespace {

// Windows-1252 byte -> the character drawn for it.
const std::array<QChar, 256>& glyphs() {
    static const std::array<QChar, 256> table = [] {
        std::array<QChar, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[b] = QChar(static_cast<char16_t>(cp1252ToUnicode(static_cast<unsigned char>(b))));
        return t;
    }();
    return table;
}

QColor toQColor(Colour c, const QPalette& palette) {
    if (!isSystemColour(c)) return QColor(redOf(c), greenOf(c), blueOf(c));
    switch (c) {
        case colours::SystemWindow:
            return palette.color(QPalette::Base);
        case colours::SystemWindowText:
            return palette.color(QPalette::Text);
        default:
            return palette.color(QPalette::WindowText);
    }
}

// The byte a key stands for when Qt gives it no text. Shift+Tab (Backtab) types a
// Tab as Tab does.
char keyByte(int key) {
    switch (key) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return '\t';
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return '\r';
        case Qt::Key_Escape:
            return '\x1b';
        case Qt::Key_Backspace:
            return '\b';
        default:
            return 0;
    }
}

bool isArrow(int key) {
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

}  // namespace

QEvent::Type TQVBcrt::RepaintAllEvent() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

TQVBcrt::TQVBcrt(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    screen_.setDisplay(this);
    QFont font("Courier New");
    font.setPixelSize(11);
    setFont(font);  // measures through changeEvent, unless the font is the one inherited
    FontChanged();
}

void TQVBcrt::WriteBuffer(const std::uint8_t* bytes, std::size_t count) {
    screen_.WriteBuffer(bytes, count);
}

void TQVBcrt::WriteChar(std::uint8_t c) {
    screen_.WriteChar(c);
}

void TQVBcrt::WriteString(const std::string& s) {
    screen_.WriteBuffer(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
}

void TQVBcrt::ClearScreen() {
    screen_.ClearScreen();
}

void TQVBcrt::SetColumns(int columns) {
    screen_.SetColumns(columns);
    fitToCells();
}

void TQVBcrt::SetRows(int rows) {
    screen_.SetRows(rows);
    fitToCells();
}

void TQVBcrt::SetCursor(bool on) {
    cursor_ = on;
    update(caretRect_);
    update(cursorRect());
}

void TQVBcrt::FontChanged() {
    const QFontMetrics metrics(font());
    charWidth_ = std::max(1, metrics.averageCharWidth());
    charHeight_ = std::max(1, metrics.height() + metrics.leading());
    ascent_ = metrics.ascent();

    rawFont_ = QRawFont::fromFont(font());
    const auto& glyph = glyphs();
    for (int b = 0; b < 256; ++b)
        glyphIndex_[b] = rawFont_.glyphIndexesForString(QString(glyph[b])).value(0, 0);
    for (int x = 0; x < CrtScreen::MaxColumns; ++x) glyphPositions_[x] = QPointF(x * charWidth_, 0);
    findFallbackGlyphs();
    fitToCells();
    updateAll();
}

// Text layout knows which other font has a glyph the view's font lacks; it is asked
// once per such byte, and the glyph it picks is then drawn at the byte's cell.
void TQVBcrt::findFallbackGlyphs() {
    fallbackOf_.fill(-1);
    fallbackFonts_.clear();
    const auto& glyph = glyphs();
    for (int b = ' '; b < 256; ++b) {
        if (glyphIndex_[b] != 0) continue;
        QTextLayout layout(QString(glyph[b]), font());
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        for (const QGlyphRun& run : layout.glyphRuns()) {
            const QList<quint32> indexes = run.glyphIndexes();
            if (indexes.size() != 1 || indexes[0] == 0 || run.rawFont() == rawFont_) continue;
            auto known = std::find(fallbackFonts_.begin(), fallbackFonts_.end(), run.rawFont());
            if (known == fallbackFonts_.end()) known = fallbackFonts_.insert(known, run.rawFont());
            fallbackOf_[b] = static_cast<std::int8_t>(known - fallbackFonts_.begin());
            glyphIndex_[b] = indexes[0];
        }
    }
}

void TQVBcrt::fitToCells() {
    setFixedSize(Columns() * charWidth_, Rows() * charHeight_);
}

void TQVBcrt::updateAll() {
    wholeViewDirty_ = true;
    update();
}

QRect TQVBcrt::cellsRect(int row, int firstColumn, int lastColumn) const {
    return QRect((firstColumn - 1) * charWidth_, (row - 1) * charHeight_,
                 (lastColumn - firstColumn + 1) * charWidth_, charHeight_);
}

// --- what the cell model asks of the view

void TQVBcrt::invalidateCells(int row, int firstColumn, int lastColumn) {
    if (wholeViewDirty_) return;
    update(cellsRect(row, firstColumn, lastColumn));
    if (caretShown()) update(cursorRect());
}

// Taking a waiting repaint back and posting it again leaves the one event where it
// is in the queue and only marks it due: the same repaint, without a trip through
// the event dispatcher (a system call to wake it) for every scrolled line.
bool TQVBcrt::takeBackRepaint() {
    if (!repaintDue_) return false;
    repaintDue_ = false;
    return true;
}

void TQVBcrt::postRepaint() {
    repaintDue_ = true;
    if (repaintEventQueued_) return;
    QCoreApplication::postEvent(this, new QEvent(RepaintAllEvent()));
    repaintEventQueued_ = true;
}

void TQVBcrt::paintAll() {
    updateAll();
}

void TQVBcrt::fillBackground(Colour) {
    updateAll();
}  // the cleared cells carry the colour

void TQVBcrt::beep() {
    QApplication::beep();
}

// --- Qt events

bool TQVBcrt::event(QEvent* e) {
    if (e->type() == RepaintAllEvent()) {
        repaintEventQueued_ = false;
        if (repaintDue_) {
            repaintDue_ = false;
            screen_.RepaintAll();
        }
        return true;
    }
    return QWidget::event(e);
}

bool TQVBcrt::focusNextPrevChild(bool) {
    return false;
}  // Tab is a key for the line

void TQVBcrt::changeEvent(QEvent* e) {
    if (e->type() == QEvent::FontChange) FontChanged();
    QWidget::changeEvent(e);
}

void TQVBcrt::focusInEvent(QFocusEvent* e) {
    update(cursorRect());
    QWidget::focusInEvent(e);
}

void TQVBcrt::focusOutEvent(QFocusEvent* e) {
    QWidget::focusOutEvent(e);
    update(caretRect_);
    update(cursorRect());
}

void TQVBcrt::keyPressEvent(QKeyEvent* e) {
    // Delete is an editing key that types no character, though X11 gives it the text DEL.
    std::string bytes = e->key() == Qt::Key_Delete ? std::string() : utf8ToCp1252(e->text().toStdString());
    if (bytes.empty() && keyByte(e->key())) bytes = keyByte(e->key());
    if (bytes.empty() && !isArrow(e->key())) {
        QWidget::keyPressEvent(e);
        return;
    }
    for (char key : bytes)
        if (onKeyPress_) onKeyPress_(key);
    e->accept();
}

void TQVBcrt::paintEvent(QPaintEvent* e) {
    wholeViewDirty_ = false;
    QPainter painter(this);
    for (const QRect& area : e->region()) paintCells(painter, area);

    if (!caretShown()) return;
    const QRect now = cursorRect();
    if (caretRect_ != now && !e->region().contains(caretRect_)) update(caretRect_);  // the old caret
    caretRect_ = now;
    if (e->region().intersects(now)) paintCaret(painter);
}

// Draws the cells inside one area, one fill and one text per run of equal colours.
void TQVBcrt::paintCells(QPainter& painter, const QRect& area) {
    const int firstColumn = std::max(0, area.left() / charWidth_);
    const int endColumn = std::min(Columns(), (area.left() + area.width() + charWidth_ - 1) / charWidth_);
    const int firstRow = std::max(0, area.top() / charHeight_);
    const int endRow = std::min(Rows(), (area.top() + area.height() + charHeight_ - 1) / charHeight_);
    const QPalette& pal = palette();

    for (int y = firstRow; y < endRow; ++y) {
        const TCrtCell* cells = screen_.row(y + 1);
        // Like the cell runs, glyphs stay inside their row.
        painter.setClipRect(QRect(0, y * charHeight_, width(), charHeight_).intersected(area));
        for (int x = firstColumn; x < endColumn;) {
            const Colour back = cells[x].BackColor;
            const Colour fore = cells[x].TextColor;
            int end = x;
            bool blank = true;
            while (end < endColumn && cells[end].BackColor == back && cells[end].TextColor == fore) {
                blank = blank && cells[end].Ch == ' ';
                ++end;
            }
            const QRect run(x * charWidth_, y * charHeight_, (end - x) * charWidth_, charHeight_);
            painter.fillRect(run, toQColor(back, pal));
            if (!blank) {
                painter.setPen(toQColor(fore, pal));
                drawRun(painter, run.topLeft(), cells + x, end - x);
            }
            x = end;
        }
    }
    painter.setClipping(false);
}

void TQVBcrt::drawRun(QPainter& painter, QPoint topLeft, const TCrtCell* cells, int count) {
    bool fallback = false;
    for (int i = 0; i < count; ++i) {
        runGlyphs_[i] = glyphIndex_[cells[i].Ch];
        fallback = fallback || fallbackOf_[cells[i].Ch] >= 0;
    }
    const QPointF baseline(topLeft.x(), topLeft.y() + ascent_);
    QGlyphRun run;
    run.setRawFont(rawFont_);
    if (!fallback) {
        run.setRawData(runGlyphs_.data(), glyphPositions_.data(), count);
        painter.drawGlyphRun(baseline, run);
        return;
    }
    // Rare: the view's own glyphs as one run, each borrowed one on its own, all at their cells.
    int own = 0;
    for (int i = 0; i < count; ++i) {
        const int other = fallbackOf_[cells[i].Ch];
        if (other < 0) {
            runGlyphs_[own] = runGlyphs_[i];
            runPositions_[own++] = glyphPositions_[i];
            continue;
        }
        QGlyphRun borrowed;
        borrowed.setRawFont(fallbackFonts_[other]);
        borrowed.setRawData(&runGlyphs_[i], &glyphPositions_[i], 1);
        painter.drawGlyphRun(baseline, borrowed);
    }
    run.setRawData(runGlyphs_.data(), runPositions_.data(), own);
    painter.drawGlyphRun(baseline, run);
}

// A block caret: the cursor cell in reversed colours.
void TQVBcrt::paintCaret(QPainter& painter) {
    const TCrtCell& c = screen_.cell(screen_.CurX(), screen_.CurY());
    const QRect r = cursorRect();
    painter.setClipRect(r);
    painter.fillRect(r, toQColor(c.TextColor, palette()));
    painter.setPen(toQColor(c.BackColor, palette()));
    drawRun(painter, r.topLeft(), &c, 1);
}

}  // namespace varelo
