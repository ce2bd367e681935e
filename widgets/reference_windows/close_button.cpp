#include "widgets/reference_windows/close_button.h"

#include "widgets/reference_windows/form_style.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>
#include <QPushButton>

namespace varelo {
namespace {

// An open door with an arrow leaving through it; the disabled image is derived by Qt.
QIcon doorGlyph() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QColor(64, 32, 0));
    p.setBrush(QColor(230, 200, 140));
    p.drawRect(1, 1, 8, 13);  // door frame
    p.setBrush(QColor(150, 90, 30));
    p.drawPolygon(QPolygon({QPoint(1, 1), QPoint(6, 3), QPoint(6, 15), QPoint(1, 14)}));  // open leaf
    p.setPen(QPen(QColor(0, 128, 0), 2));
    p.drawLine(8, 8, 14, 8);
    p.drawLine(11, 5, 14, 8);
    p.drawLine(11, 11, 14, 8);
    return QIcon(pixmap);
}

}  // namespace

QPushButton* makeCloseButton(QWidget* parent) {
    auto* button = new QPushButton(doorGlyph(), QStringLiteral("&Close"), parent);
    button->setFont(fontByName(QStringLiteral("Arial"), -13, true));
    setTextColour(button, kMaroon);
    return button;
}

}  // namespace varelo
