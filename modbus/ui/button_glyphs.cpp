#include "modbus/ui/button_glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace varelo {
namespace {

QPixmap blankGlyph() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

}  // namespace

QIcon okGlyph() {
    QPixmap pixmap = blankGlyph();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 128, 0), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(2.5, 8.5), QPointF(6.5, 12.5), QPointF(13.5, 3.5)}));
    return QIcon(pixmap);
}

QIcon restartGlyph() {
    QPixmap pixmap = blankGlyph();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor blue(0, 0, 160);
    p.setPen(QPen(blue, 2, Qt::SolidLine, Qt::FlatCap));
    // Three quarters of a circle, open at the top right, with the arrow head at its end.
    p.drawArc(QRectF(2.5, 2.5, 11, 11), 90 * 16, 270 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(blue);
    p.drawPolygon(QPolygonF({QPointF(8, 0), QPointF(12.5, 3), QPointF(8, 6)}));
    return QIcon(pixmap);
}

}  // namespace varelo
