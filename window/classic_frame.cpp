// A frame drawn as the classic window drew its questions' frames.
#include "classic_frame.h"

#include <QStyleOptionFrame>
#include <QStylePainter>

namespace {

constexpr int captionIndent = 6;
constexpr int captionPadding = 2;

} // namespace

void ClassicFrame::paintEvent(QPaintEvent * /*event*/)
{
    QStylePainter painter(this);
    const QFontMetrics metrics = fontMetrics();

    // An etched box, as classic frames were; the style's own group box
    // frame would make room for a caption above the line.
    QStyleOptionFrame border;
    border.initFrom(this);
    border.frameShape = QFrame::Box;
    border.state |= QStyle::State_Sunken;
    border.lineWidth = 1;

    if (title().isEmpty()) {
        painter.drawControl(QStyle::CE_ShapedFrame, border);
        return;
    }

    border.rect.setTop(metrics.height() / 2);
    const QRect caption(captionIndent, 0, metrics.horizontalAdvance(title()) + 2 * captionPadding,
                        metrics.height());
    painter.save();
    painter.setClipRegion(QRegion(rect()).subtracted(caption));
    painter.drawControl(QStyle::CE_ShapedFrame, border);
    painter.restore();
    painter.drawItemText(caption, Qt::AlignCenter, palette(), isEnabled(), title(),
                         QPalette::WindowText);
}
