#include "database/DialogProgress.h"
#include "support/TestEnvironment.h"

#include <QTimeZone>
#include <QtTest>

// The finish time is placed without a time-zone lookup on every step; these
// cases hold it to what the wall clock says, a change of the clocks included.
class TestDialogProgress : public QObject
{
    Q_OBJECT
private slots:
    void finishTimeFollowsTheZonesClockChange();
    void labelsFollowTheEstimateAfterARestart();
};

void TestDialogProgress::finishTimeFollowsTheZonesClockChange()
{
    const QTimeZone london("Europe/London");
    QVERIFY(london.isValid());
    // The clocks go forward at 01:00 GMT, 20 s after the start.
    const QDateTime start(QDate(2026, 3, 29), QTime(0, 59, 40), london);
    QDateTime now = start;
    DialogProgress dialog("t");
    dialog.setClock([&] { return now; });
    dialog.updateProgress(0.0f);

    now = start.addSecs(4);
    dialog.updateProgress(0.5f); // total 9 s: still before the change
    QCOMPARE(dialog.finishTimeText(), QString("00:59:49"));

    now = start.addSecs(10);
    dialog.updateProgress(0.25f); // total 41 s: after the change
    QCOMPARE(dialog.finishTimeText(), QString("02:00:21"));

    // A start well away from any change, the fast path all along.
    DialogProgress summer("t");
    const QDateTime july(QDate(2026, 7, 1), QTime(23, 59, 0), london);
    now = july;
    summer.setClock([&] { return now; });
    summer.updateProgress(0.0f);
    now = july.addSecs(30);
    summer.updateProgress(0.25f); // total 121 s: past midnight
    QCOMPARE(summer.finishTimeText(), QString("00:01:01"));
    QCOMPARE(summer.timeRemainingText(), QString("1m 31s"));
}

void TestDialogProgress::labelsFollowTheEstimateAfterARestart()
{
    const QDateTime start(QDate(2026, 1, 1), QTime(10, 0, 0));
    QDateTime now = start;
    DialogProgress dialog("t");
    dialog.setClock([&] { return now; });
    dialog.updateProgress(0.0f);
    now = start.addSecs(10);
    dialog.updateProgress(0.5f);
    QCOMPARE(dialog.timeRemainingText(), QString("11s"));

    // Unknown after a negative fraction; the same estimate as before, once
    // the clock has run again, is shown again rather than taken as unchanged.
    dialog.updateProgress(-1.0f);
    QCOMPARE(dialog.timeRemainingText(), QString("Unknown"));
    dialog.updateProgress(0.0f);
    now = start.addSecs(20);
    dialog.updateProgress(0.5f);
    QCOMPARE(dialog.timeRemainingText(), QString("11s"));
    QCOMPARE(dialog.finishTimeText(), QString("10:00:31"));

    // A fraction of 0 after an estimate shows Unknown; the same estimate
    // coming back replaces it.
    dialog.updateProgress(0.0f);
    QCOMPARE(dialog.finishTimeText(), QString("Unknown"));
    dialog.updateProgress(0.5f);
    QCOMPARE(dialog.timeRemainingText(), QString("11s"));
    QCOMPARE(dialog.finishTimeText(), QString("10:00:31"));
}

PELVANE_TEST_MAIN(TestDialogProgress)
#include "TestDialogProgress.moc"
