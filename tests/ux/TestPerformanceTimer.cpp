#include "support/TestEnvironment.h"
#include "ux/PerformanceTimer.h"

#include <QThread>
#include <QtTest>

class TestPerformanceTimer : public QObject
{
    Q_OBJECT
private slots:
    void logsOneLineWhenDone();
    void cutsToWholeMilliseconds();
};

void TestPerformanceTimer::logsOneLineWhenDone()
{
    // A loaded machine may take a few milliseconds even for an empty block.
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(
        "^PERFORMANCE TIMER:  \"CreateFile\"  completed in  (2[5-9]|[3-9]\\d|[1-9]\\d\\d+) ms$"));
    {
        Ux::PerformanceTimer timer(QStringLiteral("CreateFile"));
        QThread::msleep(25);
    }
}

void TestPerformanceTimer::cutsToWholeMilliseconds()
{
    const QList<QPair<qint64, unsigned>> cases = {
        {2900000, 2}, {999999, 0}, {1000000, 1}, {-5, 0}, {qint64(3600) * 1000000000, 3600000}};
    for (const auto& [nanoseconds, milliseconds] : cases)
        QCOMPARE(Ux::PerformanceTimer::wholeMilliseconds(nanoseconds), milliseconds);
}

PELVANE_TEST_MAIN(TestPerformanceTimer)
#include "TestPerformanceTimer.moc"
