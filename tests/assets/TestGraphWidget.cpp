#include "assets/GraphWidget.h"
#include "support/TestEnvironment.h"

#include <QImage>
#include <QtTest>

namespace {

const QRgb Field = qRgb(195, 213, 253);
const QRgb Background = qRgb(255, 0, 255);

// Renders the graph alone, without the window background, onto a magenta
// canvas so that whatever the graph paints stands out.
QImage render(GraphWidget& graph)
{
    QImage image(graph.size(), QImage::Format_RGB32);
    image.fill(Background);
    graph.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

bool isBlack(const QImage& image, int x, int y)
{
    return image.pixel(x, y) == qRgb(0, 0, 0);
}

} // namespace

class TestGraphWidget : public QObject
{
    Q_OBJECT
private slots:
    void peakIsScaledToThePlotArea();
    void zeroRangeAxisStillDraws();
};

void TestGraphWidget::peakIsScaledToThePlotArea()
{
    GraphWidget graph(nullptr);
    graph.resize(204, 104); // plot area 200 x 100: one pixel per x unit, two per y unit
    graph.addPoint(QPointF(0, 0));
    graph.addPoint(QPointF(100, 50));
    graph.addPoint(QPointF(200, 0));
    const QImage image = render(graph);

    // Two segments meeting at the top centre.
    QVERIFY(isBlack(image, 102, 2));
    QVERIFY(isBlack(image, 2, 102));
    QVERIFY(isBlack(image, 52, 52));
    QVERIFY(isBlack(image, 152, 52));
    QCOMPARE(image.pixel(105, 60), Field);

    // Vertical grid lines every 25 units from 25 up to 200, none at 0.
    for (int v = 25; v <= 200; v += 25)
        QCOMPARE(image.pixel(2 + v, 20), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(14, 20), Field);
    // Horizontal grid lines at y 25 and 50: 50 and 100 pixels above the bottom.
    QCOMPARE(image.pixel(190, 102 - 50), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(190, 102 - 100), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(190, 102 - 75), Field);
}

void TestGraphWidget::zeroRangeAxisStillDraws()
{
    GraphWidget graph(nullptr);
    graph.resize(104, 104);
    graph.addPoint(QPointF(0, 0));
    graph.addPoint(QPointF(0, 50));
    const QImage image = render(graph);
    // A unit range on x puts every point on the left edge of the plot area.
    for (int y = 2; y <= 102; y += 10)
        QVERIFY2(isBlack(image, 2, y), qPrintable(QString("y=%1").arg(y)));
    QCOMPARE(image.pixel(50, 10), Field);
}

PELVANE_TEST_MAIN(TestGraphWidget)
#include "TestGraphWidget.moc"
