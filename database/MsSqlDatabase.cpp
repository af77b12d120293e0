#include "database/MsSqlDatabase.h"

#include "core/Error.h"
#include "database/ExecSqlScriptThread.h"

#include <QDebug>
#include <QMessageBox>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>

const QString MsSqlDatabase::schemaScript = QStringLiteral("Schemas/schema.mssql.sql");
const QString MsSqlDatabase::listStatement = QStringLiteral("SELECT name FROM master..sysdatabases");

namespace {
const QString kCannotOpenDatabase = QStringLiteral("4060");
}

MsSqlDatabase::MsSqlDatabase() : ServerDatabase(DatabaseMsSql) {}

MsSqlDatabase::~MsSqlDatabase() = default;

QString MsSqlDatabase::connectionValue(const QString& value)
{
    const bool plain = !value.contains(QLatin1Char(';')) && !value.contains(QLatin1Char('{'))
                       && !value.contains(QLatin1Char('}')) && !value.contains(QLatin1Char('='))
                       && value.trimmed() == value;
    if (plain)
        return value;
    QString braced = value;
    braced.replace(QLatin1Char('}'), QStringLiteral("}}"));
    return QLatin1Char('{') + braced + QLatin1Char('}');
}

QString MsSqlDatabase::connectionString(const ConnectionSettings& s, bool withDatabase)
{
    QString text = QStringLiteral("Driver={SQL Server};Server=%1").arg(connectionValue(s.host));
    if (withDatabase)
        text += QStringLiteral(";Database=%1").arg(connectionValue(s.databaseName));
    if (s.integratedSecurity)
        text += QStringLiteral(";Trusted_Connection=Yes");
    return text;
}

QString MsSqlDatabase::quoteIdentifier(const QString& name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char(']'), QStringLiteral("]]"));
    return QLatin1Char('[') + quoted + QLatin1Char(']');
}

QString MsSqlDatabase::createDatabaseStatement(const QString& databaseName)
{
    return QStringLiteral("CREATE DATABASE %1").arg(quoteIdentifier(databaseName));
}

QString MsSqlDatabase::useDatabaseStatement(const QString& databaseName)
{
    return QStringLiteral("USE %1").arg(quoteIdentifier(databaseName));
}

void MsSqlDatabase::applyLogin(QSqlDatabase& db, const ConnectionSettings& s)
{
    if (s.integratedSecurity)
        return;
    db.setUserName(s.userName);
    db.setPassword(s.password);
}

int MsSqlDatabase::connect(const ConnectionSettings& s)
{
    registerConnection(QStringLiteral("QODBC"), QStringLiteral("%1.%2").arg(s.host, s.databaseName));
    m_connection.setDatabaseName(connectionString(s, !s.create));
    m_connection.setHostName(s.host);
    applyLogin(m_connection, s);

    if (!m_connection.open()) {
        const QSqlError error = m_connection.lastError();
        qDebug() << error;
        if (error.nativeErrorCode() == kCannotOpenDatabase) {
            switch (askCreateMissing()) {
            case CreateMissing: {
                ConnectionSettings create = s;
                create.create = true;
                return connect(create);
            }
            case RetryMissing:
                return connect(s);
            case CancelMissing:
                releaseConnection();
                return 1;
            }
        }
        QMessageBox box(QMessageBox::Warning, QString(),
                        Database::tr("There was an error connecting to the database.\n\n%1").arg(error.text()),
                        QMessageBox::Ok, Error::dialogParent());
        box.exec();
        releaseConnection();
        return 1;
    }

    if (s.create) {
        const QStringList existing = listDatabases(s);
        if (existing.contains(s.databaseName) && !confirmOverwrite()) {
            releaseConnection();
            return 1;
        }
        // An existing database makes this fail; the USE below decides.
        QSqlQuery create(m_connection);
        create.exec(createDatabaseStatement(s.databaseName));
        QSqlQuery use(m_connection);
        if (!use.exec(useDatabaseStatement(s.databaseName))) {
            const QSqlError error = use.lastError();
            Error::report(QStringLiteral("MsSqlDatabase::connect"),
                          tr("Unable to create the database:\n\n%1\n%2",
                             "%%1 and %%2 are messages from the database system")
                              .arg(error.driverText(), error.databaseText()),
                          ErrorCritical, 2, __FILE__, __LINE__);
            releaseConnection();
            return 1;
        }
    }

    m_displayName = QStringLiteral("%1\\%2").arg(s.host, s.databaseName);
    m_settings = s;

    if (s.create) {
        ExecSqlScriptThread thread(schemaScript, &m_connection, Error::dialogParent());
        thread.exec();
    }

    if (!schemaCheckPasses())
        return 1;
    return 0;
}

QStringList MsSqlDatabase::listDatabases(const ConnectionSettings& s)
{
    const QString name = QStringLiteral("%1.%2").arg(s.host, QStringLiteral("__master__"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
        db.setDatabaseName(connectionString(s, false));
        applyLogin(db, s);
    }
    return listWith(name, listStatement);
}

void MsSqlDatabase::writeCreateScript(QTextStream& out)
{
    copyScript(schemaScript, out);
}
