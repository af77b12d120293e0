#include "database/MySqlRowStream.h"

#include "database/SqlQuery.h"
#include "database/StatementBatch.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QVariant>

#include <mysql.h>

MYSQL* MySqlRowStream::handleOf(const QSqlDriver* driver)
{
    if (!driver || !driver->isOpen())
        return nullptr;
    const QVariant handle = driver->handle();
    // Qt names the type by the structure behind MySQL's typedef.
    if (!handle.isValid()
        || (qstrcmp(handle.typeName(), "MYSQL*") != 0 && qstrcmp(handle.typeName(), "st_mysql*") != 0))
        return nullptr;
    return *static_cast<MYSQL* const*>(handle.data());
}

MySqlRowStream::MySqlRowStream(const QSqlDatabase& connection)
    : m_mysql(handleOf(connection.isOpen() ? connection.driver() : nullptr)), m_driver(connection.driver())
{
}

MySqlRowStream::~MySqlRowStream()
{
    close();
}

bool MySqlRowStream::exec(const QString& statement)
{
    close();
    m_statement = statement;
    m_columns = 0;
    if (!m_mysql) {
        fail(QStringLiteral("Unable to execute query"));
        return false;
    }
    // As for every query of the connection, what waits in a batch goes first.
    StatementBatch::flush(m_driver);
    const QByteArray text = statement.toUtf8();
    if (mysql_real_query(m_mysql, text.constData(), static_cast<unsigned long>(text.size())) != 0) {
        fail(QStringLiteral("Unable to execute query"));
        return false;
    }
    m_result = mysql_use_result(m_mysql);
    if (!m_result) {
        // A statement without rows has no result, and no error either.
        if (mysql_errno(m_mysql) != 0) {
            fail(QStringLiteral("Unable to store result"));
            return false;
        }
        return true;
    }
    m_columns = int(mysql_num_fields(m_result));
    return true;
}

bool MySqlRowStream::next()
{
    if (!m_result)
        return false;
    m_row = mysql_fetch_row(m_result);
    if (!m_row) {
        // The end of the rows, or a connection that broke off under them.
        if (mysql_errno(m_mysql) != 0)
            fail(QStringLiteral("Unable to fetch data"));
        else
            close();
        return false;
    }
    m_lengths = mysql_fetch_lengths(m_result);
    return true;
}

void MySqlRowStream::close()
{
    if (m_result)
        mysql_free_result(m_result);
    m_result = nullptr;
    m_row = nullptr;
    m_lengths = nullptr;
}

void MySqlRowStream::fail(const QString& what)
{
    // The error as Qt's driver makes it, so that it reads and is recognised
    // (a lost connection) as that of a failed SqlQuery.
    QSqlError error;
    if (m_mysql)
        error = QSqlError(QStringLiteral("QMYSQL: ") + what, QString::fromUtf8(mysql_error(m_mysql)),
                          QSqlError::StatementError, QString::number(mysql_errno(m_mysql)));
    else
        error = QSqlError(QStringLiteral("QMYSQL: ") + what, QString(), QSqlError::ConnectionError);
    close();
    // The report may show a dialog: nothing of this is touched after it.
    SqlQuery::reportFailure(m_statement, error, m_driver);
}
