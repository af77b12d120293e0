#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class QWidget;

// Another workstation's write held the database through every attempt of a
// transaction: its write lock kept too long (a workstation that froze or was
// cut off while it held it, or a very long write). Not a fault of this
// program or its installation: nothing of the attempt was stored, and the
// user can try again in a moment. A write that the file or the server
// refused (a full disk, a read-only file) is told the same way, with the
// database's reason.
class DatabaseBusy
{
    Q_DECLARE_TR_FUNCTIONS(DatabaseBusy)
public:
    // For an editing form or an action, whose edit or choice stays as it was.
    static void tell(QWidget* parent);
    // For a download that stops: why, and what was not saved (one line each).
    static QString downloadStopped(const QStringList& notSaved);
    // For an action done in steps, each stored whole, that stopped midway:
    // what is stored and what is not (one line each).
    static QString stoppedMidway(const QString& done, const QString& notDone);
    static void tellStoppedMidway(QWidget* parent, const QString& done, const QString& notDone);
};
