#include "database/SqlQuery.h"

#include "core/Error.h"
#include "database/ConnectionLoss.h"
#include "database/DatabaseAction.h"
#include "database/DatabaseTransaction.h"
#include "database/Database.h"
#include "database/MySqlTextStatement.h"
#include "database/ServerVariable.h"
#include "database/StatementBatch.h"
#include "database/WriteLock.h"

#include <QDebug>
#include <QLocale>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <utility>

namespace {
thread_local bool retrying = false;
thread_local int granted = 0;

QSqlDatabase currentConnection()
{
    Database* db = Database::instance();
    return db ? db->connection() : QSqlDatabase();
}
} // namespace

SqlQuery::SqlQuery() : QSqlQuery(currentConnection()) {}

SqlQuery::SqlQuery(const QString& statement) : QSqlQuery(currentConnection())
{
    prepare(statement);
}

SqlQuery::SqlQuery(QSqlDatabase db) : QSqlQuery(db) {}

bool SqlQuery::prepareInsert(const QString& table, const QStringList& fields, int type)
{
    return prepare(insertStatement(table, fields, type));
}

QString SqlQuery::insertStatement(const QString& table, const QStringList& fields, int type)
{
    const QString names = fields.join(QLatin1Char(','));
    const QString values = fields.join(QStringLiteral(",:"));
    QString statement;
    if (type == DatabaseSqlite)
        statement = QStringLiteral("INSERT INTO %1 (Id,%2) VALUES (NULL,:%3)").arg(table, names, values);
    else
        statement = QStringLiteral("INSERT INTO %1 (%2) VALUES (:%3)").arg(table, names, values);
    return statement;
}

int SqlQuery::lastInsertId(int type)
{
    if (type == DatabaseMsSql) {
        QSqlQuery identity(currentConnection());
        identity.exec(QStringLiteral("SELECT @@IDENTITY"));
        qDebug() << identity.lastError();
        identity.next();
        return identity.value(0).toInt();
    }
    return QSqlQuery::lastInsertId().toInt();
}

void SqlQuery::prepareAsMySqlText(const QString& statement)
{
    m_text = std::make_shared<MySqlTextStatement>(statement);
}

void SqlQuery::bindValue(const QString& placeholder, const QVariant& value, QSql::ParamType type)
{
    if (m_text)
        m_text->bindValue(placeholder, value);
    else
        QSqlQuery::bindValue(placeholder, value, type);
}

void SqlQuery::bindValue(int position, const QVariant& value, QSql::ParamType type)
{
    if (m_text)
        m_text->bindValue(position, value);
    else
        QSqlQuery::bindValue(position, value, type);
}

// The statement prepared after all, with the values bound that text could
// not carry. The next run as text closes it on the server again. A value
// that only the server knows yet is asked for first (what set it has run).
bool SqlQuery::prepareTextStatement()
{
    QVector<QVariant> values = m_text->values();
    for (QVariant& value : values) {
        if (value.typeId() != qMetaTypeId<ServerVariable>())
            continue;
        QSqlQuery known(driver()->createResult());
        if (!known.exec(QStringLiteral("SELECT ") + value.value<ServerVariable>().name) || !known.next()) {
            reportFailure(known.lastQuery(), known.lastError(), driver());
            return false;
        }
        value = known.value(0);
    }
    if (!QSqlQuery::prepare(m_text->statement()))
        return false;
    for (int i = 0; i < m_text->placeholderCount(); ++i) {
        const QString& name = m_text->placeholder(i);
        if (name == QLatin1String("?"))
            QSqlQuery::bindValue(i, values.at(i));
        else
            QSqlQuery::bindValue(name, values.at(i));
    }
    return true;
}

bool SqlQuery::execBatch(BatchExecutionMode mode)
{
    StatementBatch::flush(driver());
    if (m_text && !prepareTextStatement())
        displayError();
    return QSqlQuery::execBatch(mode);
}

bool SqlQuery::exec()
{
    if (m_text) {
        QString text;
        if (m_text->text(&text)) {
            execTogether({text});
            return true;
        }
        StatementBatch::flush(driver());
        const bool ok = prepareTextStatement() && QSqlQuery::exec();
        if (!ok)
            displayError();
        return ok;
    }
    StatementBatch::flush(driver());
    const bool ok = QSqlQuery::exec();
    if (!ok)
        displayError();
    return ok;
}

bool SqlQuery::textWithValues(QString* text) const
{
    return m_text && m_text->text(text);
}

void SqlQuery::execTogether(const QStringList& statements, QList<QList<QVariantList>>* answers)
{
    // What waits in a batch of this connection goes first, in the same text.
    int lockAt = -1;
    QStringList all = StatementBatch::takeWaiting(driver(), &lockAt);
    const qsizetype first = all.size();
    all += statements;
    if (answers)
        answers->clear();
    if (all.isEmpty())
        return;
    std::optional<ConnectionLoss::CommitSent> commit;
    if (all.contains(QStringLiteral("COMMIT")))
        commit.emplace(driver());
    // A failure that returns was a lost connection: nothing more comes, and
    // each statement not run answers nothing.
    auto lost = [&] {
        while (answers && answers->size() < statements.size())
            answers->append(QList<QVariantList>());
    };
    // The server runs the statements in order and stops at the first that
    // fails; each has a result of its own to be read in turn.
    if (!QSqlQuery::exec(all.join(QLatin1Char(';')))) {
        reportFailure(all.first(), lastError(), driver());
        return lost();
    }
    for (qsizetype i = 0; i < all.size(); ++i) {
        if (i == lockAt)
            granted = next() ? value(0).toInt() : 0;
        if (i == lockAt && granted != 1 && granted != 2) {
            // What followed ran without the lock: the transaction is rolled back.
            while (QSqlQuery::nextResult()) {
            }
            reportFailure(all.at(i), WriteLock::notGranted(), driver());
        }
        if (answers && i >= first)
            answers->append(rows());
        if (i + 1 < all.size() && !QSqlQuery::nextResult()) {
            reportFailure(all.at(i + 1), lastError(), driver());
            return lost();
        }
    }
}

QList<QVariantList> SqlQuery::rows()
{
    QList<QVariantList> all;
    if (!isSelect())
        return all;
    const int columns = record().count();
    while (next()) {
        QVariantList row;
        row.reserve(columns);
        for (int c = 0; c < columns; ++c)
            row << value(c);
        all.append(row);
    }
    return all;
}

bool SqlQuery::exec(const QString& statement)
{
    if (StatementBatch::hasWaiting(driver())) {
        execTogether({statement});
        return true;
    }
    const bool ok = QSqlQuery::exec(statement);
    if (!ok)
        displayError();
    return ok;
}

void SqlQuery::displayError()
{
    reportFailure(lastQuery(), lastError(), driver());
}

void SqlQuery::reportFailure(const QString& statement, const QSqlError& error, const QSqlDriver* driver)
{
    // Nothing is tried again on a connection that is gone.
    if (retrying && isTransient(error) && !ConnectionLoss::happened())
        throw TransientFailure{statement, error};
    qDebug() << statement;
    qDebug() << error;
    if (ConnectionLoss::handle(error, driver))
        return;
    // Another program's or workstation's doing ends the action, not the
    // program. A write transaction that no action can end is not left to
    // commit the half that went before, so that stays fatal.
    if (DatabaseAction::isOutside(error, driver)) {
        const QString reason = DatabaseAction::reasonOf(error, driver);
        if (retrying)
            throw DatabaseAction::Stopped{reason};
        if (DatabaseAction::canStop() || !DatabaseTransaction::openOnThisThread()) {
            DatabaseAction::stop(reason);
            return;
        }
    }
    Error::report(QStringLiteral("SqlQuery::displayError"),
                  Database::tr("Last query:\n%1\n\nError message:\n%2",
                               "%%1 is the query and %%2 is the message from the database system")
                      .arg(reportedStatement(statement), error.text()),
                  ErrorFatal, 2, __FILE__, 68);
    // A fatal report does not return; this only keeps the promise if it ever did.
    std::_Exit(1);
}

QString SqlQuery::reportedStatement(const QString& statement)
{
    if (statement.size() <= reportedLength)
        return statement;
    const qsizetype cut = statement.at(reportedLength - 1).isHighSurrogate() ? reportedLength - 1 : reportedLength;
    return statement.left(cut)
           + Database::tr(" ... (the first %1 of %2 characters)",
                          "follows the beginning of a long statement in an error report")
                 .arg(QLocale().toString(cut), QLocale().toString(statement.size()));
}

bool SqlQuery::setRetrying(bool on)
{
    return std::exchange(retrying, on);
}

int SqlQuery::lockGranted()
{
    return granted;
}

bool SqlQuery::isTransient(const QSqlError& error)
{
    // MySQL: deadlock 1213, lock wait time-out 1205. SQL Server: deadlock
    // victim 1205, lock request time-out 1222, and 51222 that the register's
    // write lock raises when it is not granted in time. SQLite: busy 5 and
    // locked 6 (no server has errors of such numbers). A driver may give
    // several codes, separated by ';'.
    static const QStringList codes = {QStringLiteral("1205"), QStringLiteral("1213"), QStringLiteral("1222"),
                                      QStringLiteral("51222"), QStringLiteral("5"), QStringLiteral("6")};
    const QStringList given = error.nativeErrorCode().split(QLatin1Char(';'), Qt::SkipEmptyParts);
    return std::any_of(given.begin(), given.end(),
                       [](const QString& code) { return codes.contains(code.trimmed()); });
}
