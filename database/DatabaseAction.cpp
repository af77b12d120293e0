#include "database/DatabaseAction.h"

#include "core/Error.h"
#include "database/Database.h"
#include "database/SqlQuery.h"

#include <QApplication>
#include <QDebug>
#include <QMessageBox>
#include <QMetaObject>
#include <QPointer>
#include <QSqlDriver>
#include <QThread>
#include <algorithm>

namespace {
// The event loop's level at which each open action of this thread began.
thread_local QList<int> t_levels;
thread_local int t_noStop = 0;
thread_local QString t_lastUnsaved;

// Result codes that come from the file, the disk or other programs: busy
// and locked, no memory, read-only, I/O error, damaged, full, cannot open,
// the locking protocol, not a database. Extended codes keep the primary
// one in their low byte.
const QList<int> kSqliteOutside = {5, 6, 7, 8, 10, 11, 13, 14, 15, 26};
// MySQL and MariaDB: a lock wait timed out, a deadlock, the disk or a table
// full, the storage engine's own failure, the server's memory, too many
// connections or a login's limits, a server or table made read-only, a
// statement interrupted or over its time, a commit or rollback that
// failed in the engine.
const QStringList kMySqlOutside = {
    QStringLiteral("1205"), QStringLiteral("1213"), QStringLiteral("1021"), QStringLiteral("1114"),
    QStringLiteral("1030"), QStringLiteral("1036"), QStringLiteral("1037"), QStringLiteral("1038"),
    QStringLiteral("1041"), QStringLiteral("1040"), QStringLiteral("1203"), QStringLiteral("1226"),
    QStringLiteral("1290"), QStringLiteral("1792"), QStringLiteral("1317"), QStringLiteral("3024"),
    QStringLiteral("1969"), QStringLiteral("1180"), QStringLiteral("1181")};
// SQL Server: a deadlock victim, a lock request timed out, the register's
// write lock not granted, the log or a filegroup full, a database
// read-only, the server's memory, a snapshot that met another's update.
const QStringList kMsSqlOutside = {QStringLiteral("1205"), QStringLiteral("1222"), QStringLiteral("51222"),
                                   QStringLiteral("9002"), QStringLiteral("1105"), QStringLiteral("1101"),
                                   QStringLiteral("3906"), QStringLiteral("701"),  QStringLiteral("8645"),
                                   QStringLiteral("3960")};

QSqlDriver::DbmsType typeOf(const QSqlDriver* driver)
{
    if (!driver && Database::instance())
        driver = Database::instance()->connection().driver();
    return driver ? driver->dbmsType() : QSqlDriver::UnknownDbms;
}

QStringList codesOf(const QSqlError& error)
{
    QStringList codes = error.nativeErrorCode().split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& code : codes)
        code = code.trimmed();
    return codes;
}

bool sqliteBusy(const QSqlError& error)
{
    for (const QString& code : codesOf(error)) {
        const int primary = code.toInt() & 0xff;
        if (primary == 5 || primary == 6)
            return true;
    }
    return false;
}

// Told without waiting for the user, once while the message is open.
void tellLater(const QString& why)
{
    const QString text =
        DatabaseAction::tr("The database did not answer what the window asked of it: what the window shows may "
                           "be incomplete, and what was being done may not have been done.\n\nReason: %1\n\n"
                           "What you typed is still in the window. Do it again once the database is free.",
                           "%1 is the reason")
            .arg(why);
    qWarning().noquote() << text;
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app)
        return;
    QMetaObject::invokeMethod(app, [text] {
        static QPointer<QMessageBox> open;
        if (open)
            return;
        auto* box = new QMessageBox(QMessageBox::Warning, QString(), text, QMessageBox::Ok, Error::dialogParent());
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setModal(false);
        open = box;
        box->show();
    });
}
} // namespace

DatabaseAction::DatabaseAction()
{
    t_levels.append(QThread::currentThread()->loopLevel());
}

DatabaseAction::~DatabaseAction()
{
    t_levels.removeLast();
}

DatabaseAction::NoStop::NoStop()
{
    ++t_noStop;
}

DatabaseAction::NoStop::~NoStop()
{
    --t_noStop;
}

bool DatabaseAction::canStop()
{
    return t_noStop == 0 && !t_levels.isEmpty() && t_levels.last() == QThread::currentThread()->loopLevel();
}

void DatabaseAction::stop(const QString& reason)
{
    if (canStop())
        throw Stopped{reason};
    tellLater(reason);
}

bool DatabaseAction::attempt(const std::function<void()>& work, QString* why)
{
    try {
        DatabaseAction action;
        work();
        return true;
    } catch (const Stopped& stopped) {
        qDebug().noquote() << "DatabaseAction: ended:" << stopped.reason;
        if (why)
            *why = stopped.reason;
        return false;
    }
}

bool DatabaseAction::run(QWidget* parent, const QString& notDone, const std::function<void()>& work)
{
    QString why;
    if (attempt(work, &why))
        return true;
    tell(parent, notDone, why);
    return false;
}

void DatabaseAction::tell(QWidget* parent, const QString& notDone, const QString& why)
{
    QMessageBox::warning(parent, QString(),
                         tr("%1\n\nReason: %2\n\nWhat you typed is still in the window.",
                            "%1 says what was not done, %2 why")
                             .arg(notDone, why));
}

void DatabaseAction::afterWrite(const std::function<void()>& work)
{
    QString why;
    if (!attempt(work, &why))
        tellLater(why);
}

QString DatabaseAction::lastUnsaved()
{
    return t_lastUnsaved;
}

void DatabaseAction::setLastUnsaved(const QString& reason)
{
    t_lastUnsaved = reason;
}

bool DatabaseAction::isOutside(const QSqlError& error, const QSqlDriver* driver)
{
    if (error.type() == QSqlError::NoError)
        return false;
    const QStringList codes = codesOf(error);
    switch (typeOf(driver)) {
    case QSqlDriver::SQLite:
        return std::any_of(codes.begin(), codes.end(),
                           [](const QString& code) { return kSqliteOutside.contains(code.toInt() & 0xff); });
    case QSqlDriver::MySqlServer:
        return std::any_of(codes.begin(), codes.end(), [](const QString& code) { return kMySqlOutside.contains(code); });
    case QSqlDriver::MSSqlServer:
        return std::any_of(codes.begin(), codes.end(), [](const QString& code) { return kMsSqlOutside.contains(code); });
    default:
        return false;
    }
}

QString DatabaseAction::reasonOf(const QSqlError& error, const QSqlDriver* driver)
{
    const bool busy = typeOf(driver) == QSqlDriver::SQLite ? sqliteBusy(error) : SqlQuery::isTransient(error);
    if (busy)
        return tr("The database was held by another program or workstation for longer than Pelvane waits for "
                  "it. Try again in a moment.");
    QString message = error.databaseText().trimmed();
    if (message.isEmpty())
        message = error.text().trimmed();
    if (!error.nativeErrorCode().isEmpty())
        message += QStringLiteral(" (%1)").arg(error.nativeErrorCode());
    return tr("The database system answered: %1", "%1 is the database system's message").arg(message);
}
