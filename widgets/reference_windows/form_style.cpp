#include "widgets/reference_windows/form_style.h"

#include <QPalette>
#include <QPlainTextEdit>
#include <QScreen>
#include <QWidget>

#include <cstdlib>

namespace varelo {

QFont fontByName(const QString& family, int height, bool bold) {
    QFont font(family);
    if (height != 0) font.setPixelSize(std::abs(height));
    font.setBold(bold);
    // Whole-pixel advances, as the window layouts were measured with: a monospaced
    // row then takes exactly columns x advance, so the tables fit their boxes.
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

void setTextColour(QWidget* widget, Colour colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, toQColor(colour));
    palette.setColor(QPalette::ButtonText, toQColor(colour));
    palette.setColor(QPalette::Text, toQColor(colour));
    widget->setPalette(palette);
}

void setUpTableMemo(QPlainTextEdit* memo, int fontHeight) {
    memo->setFont(fontByName(QStringLiteral("Courier New"), fontHeight));
    setTextColour(memo, colours::Black);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->document()->setDocumentMargin(1);
}

void centreOnScreen(QWidget* window) {
    const QScreen* screen = window->screen();
    if (!screen) return;
    const QRect frame = window->frameGeometry();
    window->move(screen->availableGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2));
}

}  // namespace varelo
