#include "assets/GraphWidget.h"

#include <QPainter>
#include <cmath>

GraphWidget::GraphWidget(QWidget* parent) : QFrame(parent) {}

void GraphWidget::addPoint(const QPointF& point)
{
    m_points.append(point);
    if (point.x() < m_minX)
        m_minX = point.x();
    if (point.x() > m_maxX)
        m_maxX = point.x();
    if (point.y() < m_minY)
        m_minY = point.y();
    if (point.y() > m_maxY)
        m_maxY = point.y();
}

void GraphWidget::clear()
{
    m_points.clear();
    m_minX = m_minY = m_maxX = m_maxY = 0.0;
}

void GraphWidget::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (m_points.isEmpty())
        return;

    const QRect area = rect().adjusted(m_margin, m_margin, -m_margin, -m_margin);
    const int w = area.width();
    const int h = area.height();
    // All points on one vertical or horizontal line leave that axis without a
    // range; a unit range keeps the scale finite.
    const double rangeX = m_maxX - m_minX;
    const double rangeY = m_maxY - m_minY;
    const double sx = w / (rangeX == 0.0 ? 1.0 : rangeX);
    const double sy = h / (rangeY == 0.0 ? 1.0 : rangeY);

    QPainter painter(this);
    painter.fillRect(area, QColor(195, 213, 253, 255));

    painter.setPen(Qt::white);
    const int step = m_gridStep;
    for (int v = (int(m_minX / step) + 1) * step; v <= int(m_maxX / step) * step; v += step) {
        const int px = int((v - m_minX) * sx);
        painter.drawLine(m_margin + px, m_margin, m_margin + px, m_margin + h);
        painter.drawText(m_margin + px, m_margin + h - 2, QString::number(v));
    }
    for (int v = (int(m_minY / step) + 1) * step; v <= int(m_maxY / step) * step; v += step) {
        const int py = m_margin + h - int((v - m_minY) * sy);
        painter.drawLine(m_margin, py, m_margin + w, py);
        painter.drawText(m_margin + 2, py, QString::number(v));
    }

    painter.setPen(Qt::black);
    auto screen = [&](const QPointF& p) {
        return QPoint(m_margin + int((p.x() - m_minX) * sx), m_margin + h - int((p.y() - m_minY) * sy));
    };
    for (int i = 0; i + 1 < m_points.size(); ++i)
        painter.drawLine(screen(m_points.at(i)), screen(m_points.at(i + 1)));
}
