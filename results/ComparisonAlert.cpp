#include "results/ComparisonAlert.h"

#include "database/DatabaseTransaction.h"
#include "database/SqlQuery.h"
#include "database/SteppedWrite.h"
#include "database/StatementCache.h"
#include "results/AlertThresholds.h"
#include "ux/CodeTables.h"
#include "ux/TsqTestElementDetails.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

namespace {

int categoryOf(int testId)
{
    if (testId < 0 || testId > 255)
        return 0;
    const Ux::TsqTestElementDetail* row = Ux::TsqTestElementDetails::instance()->details(quint8(testId));
    return row ? row->category : 0;
}

} // namespace

ComparisonAlert::ComparisonAlert(int previousResultSetId, int newResultSetId)
    : ComparisonAlert(previousResultSetId, newResultSetId, false)
{
    if (!testIds.isEmpty())
        markNewSet();
}

ComparisonAlert::ComparisonAlert(int previousResultSetId, int newResultSetId, bool)
    : previousResultSetId(previousResultSetId), newResultSetId(newResultSetId)
{
    // The pairing below needs the rows of one TestId next to each other, by
    // set and then by value; grouping alone does not promise that order.
    StatementCache::Statement rows = StatementCache::prepare(
        QStringLiteral(
            "SELECT TestId,ResultSetId,Result FROM Result WHERE ResultSetId=:ResultSetId1 OR "
            "ResultSetId=:ResultSetId2 GROUP BY TestId,ResultSetId,Result ORDER BY TestId,ResultSetId,Result"));
    rows->bindValue(QStringLiteral(":ResultSetId1"), previousResultSetId);
    rows->bindValue(QStringLiteral(":ResultSetId2"), newResultSetId);
    rows->exec();
    QList<Row> read;
    while (rows->next())
        read.append({rows->value(0).toInt(), rows->value(1).toInt() == previousResultSetId, rows->value(2).toDouble()});
    pair(read);
}

void ComparisonAlert::markNewSet()
{
    QStringList conditions;
    for (int testId : testIds)
        conditions.append(QStringLiteral("TestId=%1").arg(testId));
    // Only what passed becomes Alert, so that clearing alerts (Alert back to
    // Pass) can never turn a failed safety test into a pass.
    auto mark = [&](const QString& text) {
        SqlQuery update(text);
        update.bindValue(QStringLiteral(":Status"), int(Ux::StatusAlert));
        update.bindValue(QStringLiteral(":ResultSetId"), newResultSetId);
        update.bindValue(QStringLiteral(":PassStatus"), int(Ux::StatusPass));
        update.exec();
    };
    mark(QStringLiteral("UPDATE Result SET Status=:Status WHERE ResultSetId=:ResultSetId "
                        "AND Status=:PassStatus AND (%1)")
             .arg(conditions.join(QStringLiteral(" OR "))));
    mark(QStringLiteral("UPDATE ResultSet SET OverallResult=:Status WHERE Id=:ResultSetId "
                        "AND OverallResult=:PassStatus"));

    status = Ux::StatusAlert;
}

ComparisonAlert::ComparisonAlert(const QList<Result>& previousResults, const QList<Result>& newResults)
{
    // The rows the grouped read would give: each distinct TestId, set and
    // value once, by TestId, then set (the earlier one first), then value
    // with NULL first.
    struct Grouped
    {
        int testId;
        bool isNew;
        bool isNull;
        double value;
        auto key() const { return std::make_tuple(testId, isNew, !isNull, isNull ? 0.0 : value); }
    };
    std::vector<Grouped> grouped;
    grouped.reserve(size_t(previousResults.size() + newResults.size()));
    for (bool isNew : {false, true})
        for (const Result& result : isNew ? newResults : previousResults)
            grouped.push_back({result.testId, isNew, result.value.isNull(), result.value.toDouble()});
    std::sort(grouped.begin(), grouped.end(), [](const Grouped& a, const Grouped& b) { return a.key() < b.key(); });
    grouped.erase(std::unique(grouped.begin(), grouped.end(),
                              [](const Grouped& a, const Grouped& b) { return a.key() == b.key(); }),
                  grouped.end());

    QList<Row> rows;
    rows.reserve(qsizetype(grouped.size()));
    for (const Grouped& g : grouped)
        rows.append({g.testId, !g.isNew, g.value}); // NULL reads as 0
    pair(rows);
    if (!testIds.isEmpty())
        status = Ux::StatusAlert;
}

void ComparisonAlert::pair(const QList<Row>& rows)
{
    double previousValue = 0.0;
    double newValue = 0.0;
    bool hasPrevious = false;
    bool hasNew = false;
    int testIdBefore = 0;
    for (const Row& row : rows) {
        if (row.testId != testIdBefore) {
            hasPrevious = false;
            hasNew = false;
        }
        if (row.previous) {
            previousValue = row.value;
            hasPrevious = true;
        } else {
            newValue = row.value;
            hasNew = true;
        }
        if (row.testId == testIdBefore && hasPrevious && hasNew) {
            double relative = 0.0;
            double absolute = 0.0;
            if (AlertThresholds::forCategory(categoryOf(row.testId), &relative, &absolute)
                && exceeds(previousValue, newValue, relative, absolute))
                testIds.append(row.testId);
            hasPrevious = false;
            hasNew = false;
        }
        testIdBefore = row.testId;
    }
}

bool ComparisonAlert::exceeds(double previous, double current, double relative, double absolute)
{
    const double difference = std::fabs(previous - current);
    if (relative > 0.0 && difference / previous >= relative)
        return true;
    return absolute > 0.0 && difference >= absolute;
}

void ComparisonAlert::loadThresholds(const QByteArray& blob)
{
    AlertThresholds::load(blob);
}

QByteArray ComparisonAlert::saveThresholds()
{
    return AlertThresholds::save();
}

bool ComparisonAlert::findAllAlerts(QList<ComparisonAlert*>* alerts)
{
    // Consecutive Pass sets of each asset in date order: the pairs the import
    // compares as results arrive, so a search finds again what it raised.
    SqlQuery sets(QStringLiteral("SELECT Id,AssetId FROM ResultSet WHERE OverallResult=:OverallResult "
                                 "ORDER BY AssetId ASC,Date ASC,Id ASC"));
    sets.bindValue(QStringLiteral(":OverallResult"), int(Ux::StatusPass));
    sets.exec();
    QList<QPair<int, int>> rows; // (asset, set), read whole before any set is marked
    while (sets.next())
        rows.append({sets.value(1).toInt(), sets.value(0).toInt()});

    // Every pair is compared and marked, but the list names each asset once:
    // the caller counts assets, not compares. Each pair's marks are a step
    // of their own under the lock, which a register of many years would
    // otherwise hold for the whole search.
    int listedAsset = 0;
    for (int i = 1; i < rows.size(); ++i) {
        const int asset = rows.at(i).first;
        if (asset != rows.at(i - 1).first)
            continue;
        // Compared without the lock, which only a pair that drifted takes.
        auto* alert = new ComparisonAlert(rows.at(i - 1).second, rows.at(i).second, false);
        if (!alert->testIds.isEmpty()
            && !DatabaseTransaction::run([alert](DatabaseTransaction&) { alert->markNewSet(); })) {
            delete alert;
            return false;
        }
        if (alert->status == Ux::StatusAlert && asset != listedAsset) {
            alerts->append(alert);
            listedAsset = asset;
        } else {
            delete alert;
        }
    }
    return true;
}

bool ComparisonAlert::removeAllAlerts(qsizetype* setsReset, qsizetype* setsLeft, const SteppedWrite::Progress& progress)
{
    // The sets are read without the lock; each step then turns a slice of
    // them back, each set with its results, so that a register of many
    // years holds the other workstations up no longer than a step.
    SqlQuery alerted(QStringLiteral("SELECT ResultSetId FROM Result WHERE Status=:ResultAlert AND ResultSetId IS NOT "
                                    "NULL UNION SELECT Id FROM ResultSet WHERE OverallResult=:SetAlert"));
    alerted.bindValue(QStringLiteral(":ResultAlert"), int(Ux::StatusAlert));
    alerted.bindValue(QStringLiteral(":SetAlert"), int(Ux::StatusAlert));
    alerted.exec();
    QList<int> sets;
    while (alerted.next())
        sets.append(alerted.value(0).toInt());
    alerted.finish();

    const qsizetype done = SteppedWrite::run(sets, [](const QList<int>& step) -> qsizetype {
        QStringList ids;
        for (int id : step)
            ids << QString::number(id);
        const QString list = ids.join(QLatin1Char(','));
        SqlQuery results(
            QStringLiteral("UPDATE Result SET Status=:NewStatus WHERE Status=:OldStatus AND ResultSetId IN (%1)").arg(list));
        results.bindValue(QStringLiteral(":NewStatus"), int(Ux::StatusPass));
        results.bindValue(QStringLiteral(":OldStatus"), int(Ux::StatusAlert));
        results.exec();

        SqlQuery marked(
            QStringLiteral("UPDATE ResultSet SET OverallResult=:NewStatus WHERE OverallResult=:OldStatus AND Id IN (%1)")
                .arg(list));
        marked.bindValue(QStringLiteral(":NewStatus"), int(Ux::StatusPass));
        marked.bindValue(QStringLiteral(":OldStatus"), int(Ux::StatusAlert));
        marked.exec();
        return step.size();
    }, {}, progress);
    if (setsReset)
        *setsReset = done;
    if (setsLeft)
        *setsLeft = sets.size() - done;
    return done == sets.size();
}
