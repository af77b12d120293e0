#include "database/RowGone.h"

#include "database/SqlQuery.h"

#include <QMessageBox>

bool RowGone::stored(const char* table, int id)
{
    SqlQuery row(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE Id=:Id").arg(QLatin1String(table)));
    row.bindValue(QStringLiteral(":Id"), id);
    row.exec();
    const bool found = row.next() && row.value(0).toInt() > 0;
    row.finish();
    return found;
}

void RowGone::tell(QWidget* parent, const QString& what)
{
    QMessageBox::warning(parent, QString(),
                         tr("%1 was deleted on another workstation.\n\nNothing was saved, and what you typed is "
                            "still here.",
                            "%1 names what was deleted, as the subject of the sentence")
                             .arg(what));
}
