#include "app/statusfield.h"

#include <QPainter>
#include <QStyle>
#include <algorithm>

StatusField::StatusField(bool elide, int minimumWidth, QWidget* parent)
    : QLabel(parent), m_elide(elide), m_minimum(minimumWidth)
{
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    if (m_elide) setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

int StatusField::textWidth() const
{
    return fontMetrics().horizontalAdvance(text()) + 2 * frameWidth() + 2 * margin() + 2 * indent() + 6;
}

QSize StatusField::minimumSizeHint() const
{
    QSize size = QLabel::minimumSizeHint();
    if (m_elide) {
        size.setWidth(m_minimum);
        return size;
    }
    m_widest = std::max(m_widest, textWidth());
    size.setWidth(std::max(m_minimum, m_widest));
    return size;
}

QSize StatusField::sizeHint() const
{
    QSize size = QLabel::sizeHint();
    size.setWidth(m_elide ? std::max(m_minimum, textWidth()) : minimumSizeHint().width());
    return size;
}

void StatusField::paintEvent(QPaintEvent* event)
{
    if (!m_elide) {
        QLabel::paintEvent(event);
        return;
    }
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect().adjusted(margin() + 3, margin(), -margin() - 3, -margin());
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, area.width());
    painter.drawText(area, int(alignment()) | Qt::TextSingleLine, shown);
    const QString tip = shown == text() ? QString() : text();
    if (toolTip() != tip) setToolTip(tip);
}
