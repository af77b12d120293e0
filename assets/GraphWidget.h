#pragma once

#include <QFrame>
#include <QList>
#include <QPointF>

// Plots a list of points as a polyline over a light-blue field with a white,
// labelled grid. The plotted range always contains the origin.
class GraphWidget : public QFrame
{
public:
    explicit GraphWidget(QWidget* parent);

    // Neither repaints: the caller repaints once after its changes.
    void addPoint(const QPointF& point);
    void clear();
    const QList<QPointF>& points() const { return m_points; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QList<QPointF> m_points;
    double m_minX = 0.0;
    double m_minY = 0.0;
    double m_maxX = 0.0;
    double m_maxY = 0.0;
    int m_margin = 2;
    int m_gridStep = 25;
};
