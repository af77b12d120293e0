#include "database/DatabaseBusy.h"

#include "database/DatabaseAction.h"
#include "database/WriteLock.h"

#include <QMessageBox>

namespace {
QString reason()
{
    // A write that the file or the server refused stored nothing either.
    const QString refused = DatabaseAction::lastUnsaved();
    if (!refused.isEmpty())
        return refused;
    return DatabaseBusy::tr("The database is busy with another workstation's change: its write lock was not "
                            "given up within %n seconds.",
                            "%n is a number of seconds", WriteLock::waitSeconds);
}
} // namespace

void DatabaseBusy::tell(QWidget* parent)
{
    QMessageBox::warning(parent, QString(),
                         tr("%1\n\nNothing was saved, and what you typed or chose is still here: try again in a "
                            "moment.",
                            "%1 says why the database is busy")
                             .arg(reason()));
}

QString DatabaseBusy::downloadStopped(const QStringList& notSaved)
{
    QStringList lines;
    for (const QString& item : notSaved)
        lines << QStringLiteral("  - ") + item;
    return tr("The download has stopped.\n\nReason: %1\n\nNot saved:\n%2\n\nThe records received before are "
              "stored. Download again in a moment: a record that is already stored is found and not stored "
              "twice.",
              "%1 says why the database is busy, %2 lists what was not saved, one per line")
        .arg(reason(), lines.join(QLatin1Char('\n')));
}

QString DatabaseBusy::stoppedMidway(const QString& done, const QString& notDone)
{
    return tr("%1\n\nDone and saved: %2\nNot done: %3\n\nTry the rest again in a moment.",
              "%1 says why the database is busy, %2 what was stored, %3 what was not")
        .arg(reason(), done, notDone);
}

void DatabaseBusy::tellStoppedMidway(QWidget* parent, const QString& done, const QString& notDone)
{
    QMessageBox::warning(parent, QString(), stoppedMidway(done, notDone));
}
