#include "assets/LikePattern.h"

#include "database/Database.h"

#include <QStringList>

namespace LikePattern {

QString literal(QString text, int databaseType)
{
    text.replace(QLatin1Char('!'), QStringLiteral("!!"));
    text.replace(QLatin1Char('%'), QStringLiteral("!%"));
    text.replace(QLatin1Char('_'), QStringLiteral("!_"));
    if (databaseType == DatabaseMsSql)
        text.replace(QLatin1Char('['), QStringLiteral("!["));
    return text;
}

QString withStars(const QString& text, int databaseType)
{
    QStringList pieces = text.split(QLatin1Char('*'));
    for (QString& piece : pieces)
        piece = literal(piece, databaseType);
    return pieces.join(QLatin1Char('%'));
}

} // namespace LikePattern
