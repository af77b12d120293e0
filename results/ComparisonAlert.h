#pragma once

#include "database/SteppedWrite.h"

#include <QByteArray>
#include <QList>
#include <QVariant>

// Compares the results of two result sets of one asset test by test and marks
// the later set's drifting results, and the set, as Alert. Only results and
// sets that passed are ever marked: a failed test stays failed.
class ComparisonAlert
{
public:
    // Does all the work: compares, marks the new set in the database, and
    // leaves status and testIds set. previousResultSetId is the earlier set;
    // only newResultSetId is ever changed.
    ComparisonAlert(int previousResultSetId, int newResultSetId);

    // One result of a set: its TestId and its Result (null for NULL).
    struct Result
    {
        int testId = 0;
        QVariant value;
    };
    // The same compare of the stored results of the earlier set and those
    // that a set not yet stored will hold, as they will read back; the new
    // set's id will be above the earlier one's, as every newly stored set's
    // is. Nothing is read or written: the caller stores the new set with its
    // marks, which the import does to spare the server a read and the marks'
    // writes on every record.
    ComparisonAlert(const QList<Result>& previousResults, const QList<Result>& newResults);

    // 5 (Alert) when at least one pair drifted beyond its thresholds, else -1.
    int status = -1;
    // The TestIds of the drifting pairs, in the order found.
    QList<int> testIds;
    int previousResultSetId = 0;
    int newResultSetId = 0;

    // True when current differs from previous by at least the relative
    // fraction of previous or by at least the absolute amount. A threshold of
    // 0 is off. The ratio is taken by the signed previous value unguarded:
    // previous 0 with any other current value is an infinite drift.
    static bool exceeds(double previous, double current, double relative, double absolute);

    static void loadThresholds(const QByteArray& blob);
    static QByteArray saveThresholds();

    // Compares every asset's consecutive Pass result sets in date order and
    // appends the first comparison of each asset that raised an alert; the
    // caller owns them. False when the database stayed busy with another
    // workstation's write: the pairs before were compared and marked.
    static bool findAllAlerts(QList<ComparisonAlert*>* alerts);
    // Every Alert result and result set becomes Pass again, in steps of
    // whole sets. False when the database stayed busy with another
    // workstation's write: setsReset sets were turned back, setsLeft not.
    // progress: what the window shows meanwhile.
    static bool removeAllAlerts(qsizetype* setsReset = nullptr, qsizetype* setsLeft = nullptr,
                                const SteppedWrite::Progress& progress = {});

private:
    // One row of the compare's grouped read, in its order.
    struct Row
    {
        int testId;
        bool previous; // of the earlier set
        double value;
    };
    void pair(const QList<Row>& rows);
    // Only compares: reads the two sets and leaves testIds set.
    ComparisonAlert(int previousResultSetId, int newResultSetId, bool);
    // Marks the new set's drifting results, and the set, as Alert.
    void markNewSet();
};
