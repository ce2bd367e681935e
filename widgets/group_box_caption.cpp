#include "widgets/group_box_caption.h"

#include <QGroupBox>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionGroupBox>

namespace varelo {
namespace {

// A style for one group box alone (a widget's own style does not pass to the
// controls inside it): the frame's top line runs through the middle of the
// caption, which stands a few pixels in from the left edge on the window's colour.
class CaptionOnLineStyle : public QProxyStyle {
  public:
    CaptionOnLineStyle() : QProxyStyle(nullptr) {}

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget) const override {
        const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
        if (control != CC_GroupBox || !box) return QProxyStyle::subControlRect(control, option, sub, widget);
        const int captionHeight = box->fontMetrics.height();
        const QRect all = box->rect;
        switch (sub) {
            case SC_GroupBoxLabel:
                return {all.left() + kCaptionIndent, all.top(), box->fontMetrics.horizontalAdvance(box->text),
                        captionHeight};
            case SC_GroupBoxFrame:
                return all.adjusted(0, captionHeight / 2, 0, 0);
            case SC_GroupBoxContents:
                return all.adjusted(2, captionHeight, -2, -2);
            default:
                return QProxyStyle::subControlRect(control, option, sub, widget);
        }
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override {
        const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
        if (control != CC_GroupBox || !box) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        const QRect caption = subControlRect(CC_GroupBox, box, SC_GroupBoxLabel, widget);
        const QRect frame = subControlRect(CC_GroupBox, box, SC_GroupBoxFrame, widget);
        painter->save();
        painter->setClipRegion(QRegion(box->rect).subtracted(caption));
        // An etched line, as a desktop draws a group's frame: dark, with light below and right.
        painter->setPen(box->palette.color(QPalette::Light));
        painter->drawRect(frame.adjusted(1, 1, -1, -1));
        painter->setPen(box->palette.color(QPalette::Mid));
        painter->drawRect(frame.adjusted(0, 0, -2, -2));
        painter->restore();
        drawItemText(painter, caption, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, box->palette,
                     box->state & State_Enabled, box->text, QPalette::WindowText);
    }

  private:
    static constexpr int kCaptionIndent = 7;
};

}  // namespace

void putCaptionOnFrameLine(QGroupBox* box) {
    auto* style = new CaptionOnLineStyle;
    style->setParent(box);
    box->setStyle(style);
}

}  // namespace varelo
