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
    QTest::ignoreMessage(QtDebugMsg,
                         QRegularExpression("^PERFORMANCE TIMER:  \"Import\"  completed in  \\d+ ms$"));
    {
        Ux::PerformanceTimer timer(QStringLiteral("Import"));
    }
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(
        "^PERFORMANCE TIMER:  \"CreateFile\"  completed in  (2[5-9]|[3-9]\\d|[1-9]\\d\\d+) ms$"));
    {
        Ux::PerformanceTimer timer(QStringLiteral("CreateFile"));
        QThread::msleep(25);
    }
}

void TestPerformanceTimer::cutsToWholeMilliseconds()
{
    QCOMPARE(Ux::PerformanceTimer::wholeMilliseconds(2900000), 2u);
    QCOMPARE(Ux::PerformanceTimer::wholeMilliseconds(999999), 0u);
    QCOMPARE(Ux::PerformanceTimer::wholeMilliseconds(1000000), 1u);
    QCOMPARE(Ux::PerformanceTimer::wholeMilliseconds(-5), 0u);
    QCOMPARE(Ux::PerformanceTimer::wholeMilliseconds(qint64(3600) * 1000000000), 3600000u);
}

PELVANE_TEST_MAIN(TestPerformanceTimer)
#include "TestPerformanceTimer.moc"
