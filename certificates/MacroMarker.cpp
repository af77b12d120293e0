#include "certificates/MacroMarker.h"

#include "core/DateFormat.h"
#include "database/SqlQuery.h"
#include "ux/StatusString.h"
#include "database/ColumnText.h"

#include <QHash>
#include <QRegularExpression>

namespace {
const char* const kTags[MacroMarker::Count] = {
    "$(NUM)", "$(NAME)", "$(SERIAL)", "$(DESC)", "$(DATE)",
    "$(TESTER)", "$(STATUS)", "$(CLIENT)", "$(SITE)", "$(LOC)",
};
} // namespace

QString MacroMarker::tag(int index)
{
    if (index < 0 || index >= Count)
        return QStringLiteral("?");
    return QString::fromLatin1(kTags[index]);
}

QString MacroMarker::description(int index)
{
    switch (index) {
    case 0: return tr("Incremental number starting from 0001", "Desribes a placeholder");
    case 1: return tr("Name of the asset", "Desribes a placeholder");
    case 2: return tr("Serial number of the asset", "Desribes a placeholder");
    case 3: return tr("Description of the asset", "Desribes a placeholder");
    case 4: return tr("Date of the test", "Desribes a placeholder");
    case 5: return tr("Name of the person who performed the test", "Desribes a placeholder");
    case 6: return tr("Overall pass/fail status", "Desribes a placeholder");
    case 7: return tr("Name of the client", "Desribes a placeholder");
    case 8: return tr("Name of the site", "Desribes a placeholder");
    case 9: return tr("Name of the location", "Desribes a placeholder");
    default: return QString();
    }
}

QString MacroMarker::sanitise(const QString& value)
{
    // Separators of every platform the files may be copied to, the characters
    // Windows refuses in a name, and control characters, C1 ones included.
    static const QRegularExpression refused(QStringLiteral("[/\\\\:*?\"<>|\\x00-\\x1f\\x7f-\\x{9f}]"));
    // A dot followed by a dot would let a value climb out of the folder.
    static const QRegularExpression climbing(QStringLiteral("\\.(?=\\.)"));
    QString out = value;
    out.replace(refused, QStringLiteral("-"));
    out.replace(climbing, QStringLiteral("-"));
    return out;
}

QString MacroMarker::expand(const QString& pattern, int assetId, int index)
{
    SqlQuery query;
    query.prepare(QStringLiteral("SELECT a.Name,a.SerialNo,a.Description,\t\t\t\t  l.Name,s.Name,c.Name,\t\t\t\t  "
                                 "rs.Date,rs.OverallResult,rs.UserName \t\t\t\t  FROM Asset a \t\t\t\t  "
                                 "LEFT JOIN Location l ON l.Id=a.LocationId \t\t\t\t  "
                                 "LEFT JOIN Site s ON s.Id=l.SiteId \t\t\t\t  "
                                 "LEFT JOIN Client c ON c.Id=s.ClientId \t\t\t\t  "
                                 "LEFT JOIN ResultSet rs ON rs.Id=a.LatestResultSetId \t\t\t\t  "
                                 "WHERE a.Id=:AssetId"));
    query.bindValue(QStringLiteral(":AssetId"), assetId);
    query.exec();

    QHash<QString, QString> values;
    values.insert(tag(0), QString::number(index + 1));
    // An asset removed by another user while the run goes on still gets a
    // file: its number alone tells it apart.
    const bool found = query.next();
    auto column = [&](int c) { return found ? ColumnText::of(query.value(c)) : QString(); };
    values.insert(tag(1), column(0));
    values.insert(tag(2), column(1));
    values.insert(tag(3), column(2));
    values.insert(tag(9), column(3));
    values.insert(tag(8), column(4));
    values.insert(tag(7), column(5));
    const QDateTime date = found ? dateTimeFromVariant(query.value(6)) : QDateTime();
    values.insert(tag(4), date.isValid() ? date.date().toString(QStringLiteral("yyyy-MM-dd")) : QString());
    // An asset never tested has no status, as on its certificate; status 0
    // would read "Deleted".
    const bool tested = found && !query.value(7).isNull();
    values.insert(tag(6), tested ? Ux::StatusString::toString(query.value(7).toInt()) : QString());
    values.insert(tag(5), column(8));

    static const QRegularExpression anyTag(
        QStringLiteral("\\$\\((NUM|NAME|SERIAL|DESC|DATE|TESTER|STATUS|CLIENT|SITE|LOC)\\)"));
    QString out;
    qsizetype from = 0;
    auto it = anyTag.globalMatch(pattern);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        out += pattern.mid(from, m.capturedStart() - from);
        out += sanitise(values.value(m.captured(0)));
        from = m.capturedEnd();
    }
    out += pattern.mid(from);
    return out;
}
