#include "widgets/reference_windows/serial_line_picture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace varelo {
namespace {

constexpr int kWidth = 249;
constexpr int kHeight = 77;

void drawScreen(QPainter& p) {
    QLinearGradient glass(0, 0, 0, kHeight);
    glass.setColorAt(0, QColor(16, 40, 56));
    glass.setColorAt(1, QColor(6, 18, 28));
    p.setPen(QPen(QColor(90, 110, 120), 1));
    p.setBrush(glass);
    p.drawRoundedRect(QRectF(0.5, 0.5, kWidth - 1, kHeight - 1), 6, 6);

    p.setPen(QPen(QColor(40, 80, 90), 1, Qt::DotLine));
    for (int x = 88; x < kWidth - 4; x += 16) p.drawLine(x, 6, x, kHeight - 6);
    for (int y = 14; y < kHeight - 4; y += 16) p.drawLine(84, y, kWidth - 6, y);
}

// A D-shaped shell with five pins over four, seen from the front.
void drawConnector(QPainter& p) {
    QPainterPath shell;
    shell.moveTo(10, 20);
    shell.lineTo(70, 20);
    shell.lineTo(64, 57);
    shell.lineTo(16, 57);
    shell.closeSubpath();
    QLinearGradient metal(0, 20, 0, 57);
    metal.setColorAt(0, QColor(225, 228, 232));
    metal.setColorAt(1, QColor(130, 136, 145));
    p.setPen(QPen(QColor(60, 60, 70), 1.5));
    p.setBrush(metal);
    p.drawPath(shell);

    p.setPen(QPen(QColor(120, 80, 0), 1));
    p.setBrush(QColor(240, 190, 60));
    for (int i = 0; i < 5; ++i) p.drawEllipse(QPointF(20 + i * 10, 31), 3, 3);
    for (int i = 0; i < 4; ++i) p.drawEllipse(QPointF(25 + i * 10, 46), 3, 3);

    p.setPen(QPen(QColor(200, 200, 205), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(70, 38, 84, 38);  // the lead into the trace
}

// One character at 8N1, least significant bit first: idle high, start bit low, stop bit high.
void drawTrace(QPainter& p) {
    constexpr unsigned char kCharacter = 'V';
    constexpr double kHigh = 22;
    constexpr double kLow = 54;
    constexpr double kBit = 14;
    double x = 84;
    QPainterPath trace;
    trace.moveTo(x, kHigh);
    x += 10;
    auto level = [&](bool high) {
        trace.lineTo(x, trace.currentPosition().y());
        trace.lineTo(x, high ? kHigh : kLow);
        x += kBit;
    };
    level(false);
    for (int bit = 0; bit < 8; ++bit) level((kCharacter >> bit) & 1);
    level(true);
    trace.lineTo(kWidth - 6, kHigh);

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(60, 255, 120, 70), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(trace);
    p.setPen(QPen(QColor(120, 255, 160), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(trace);
}

}  // namespace

QPixmap serialLinePicture() {
    QPixmap pixmap(kWidth, kHeight);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    drawScreen(p);
    drawConnector(p);
    drawTrace(p);
    return pixmap;
}

}  // namespace varelo
