// Makes a long total fit left of its unit.
#include "result_label_fit.h"

#include <QFontMetrics>
#include <QLabel>

#include <algorithm>

namespace {

constexpr qreal fontStep = 0.5;
constexpr qreal smallestPointSize = 6;

} // namespace

ResultLabelFit::ResultLabelFit(QLabel &label, int leftmost)
    : m_label(label), m_home(label.geometry()), m_leftmost(leftmost),
      m_fullPointSize(label.font().pointSizeF())
{
}

void ResultLabelFit::show(const QString &text)
{
    const int widest = m_home.right() - m_leftmost + 1;
    const int frame = m_label.width() - m_label.contentsRect().width();
    QFont font = m_label.font();
    font.setPointSizeF(m_fullPointSize);
    int needed = QFontMetrics(font).horizontalAdvance(text) + frame;
    while (needed > widest && font.pointSizeF() > smallestPointSize) {
        font.setPointSizeF(font.pointSizeF() - fontStep);
        needed = QFontMetrics(font).horizontalAdvance(text) + frame;
    }
    const int width = std::clamp(needed, m_home.width(), widest);
    m_label.setFont(font);
    m_label.setGeometry(m_home.right() - width + 1, m_home.y(), width, m_home.height());
    m_label.setText(text);
}
