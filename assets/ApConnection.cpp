#include "assets/ApConnection.h"

#include <QPaintEvent>
#include <QPainter>

ApConnection::ApConnection(QWidget* parent) : QLineEdit(parent) {}

void ApConnection::setColour(const QColor& colour)
{
    m_fillColour = colour;
    repaint();
}

void ApConnection::setSelected(bool selected)
{
    m_selected = selected;
    repaint();
}

void ApConnection::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const bool enabled = isEnabled();
    QPen pen(enabled ? QColor(Qt::black) : QColor(Qt::gray), m_selected ? 2 : 1, Qt::SolidLine, Qt::SquareCap,
             Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(QBrush(enabled ? m_fillColour : QColor(Qt::lightGray), Qt::SolidPattern));
    const QRect area = event->rect();
    painter.drawRect(area.x() + 1, area.y() + 1, area.width() - 2, area.height() - 2);
    painter.drawText(area, Qt::AlignHCenter | Qt::AlignVCenter, text());
}
