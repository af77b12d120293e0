#pragma once

#include <QLatin1StringView>
#include <QString>

class QSqlDatabase;
class QSqlDriver;
struct st_mysql;
struct st_mysql_res;

// Reads a query's rows from a MySQL connection through the client library
// itself, one row at a time as the server sends them, each value as the
// bytes of the server's text. Qt's driver fetches a whole result before it
// hands over the first row, and turns every value into a QVariant (a
// double, a local date-time) that a caller wanting text must turn back.
//
// While rows are being read the connection carries nothing else; close()
// (or the destructor) reads what is left of the result.
class MySqlRowStream
{
public:
    // connection is one of Qt's MySQL driver; on any other every exec()
    // fails.
    explicit MySqlRowStream(const QSqlDatabase& connection);
    // The client library's handle of driver, when it is Qt's MySQL driver.
    static st_mysql* handleOf(const QSqlDriver* driver);
    ~MySqlRowStream();
    MySqlRowStream(const MySqlRowStream&) = delete;
    MySqlRowStream& operator=(const MySqlRowStream&) = delete;

    // Runs statement; its rows are then read with next(). A failure is
    // reported as a failed SqlQuery's is (a lost connection is told as
    // such) and returns false.
    bool exec(const QString& statement);
    // The next row; false at the end, and after a failure (reported).
    bool next();
    // Reads and drops the rest of the rows, so that the connection can run
    // the next statement.
    void close();

    int columnCount() const { return m_columns; }
    bool isNull(int column) const { return m_row[column] == nullptr; }
    QLatin1StringView bytes(int column) const
    {
        return QLatin1StringView(m_row[column], qsizetype(m_lengths[column]));
    }

private:
    void fail(const QString& what);

    st_mysql* m_mysql = nullptr;
    const QSqlDriver* m_driver = nullptr;
    st_mysql_res* m_result = nullptr;
    QString m_statement;
    int m_columns = 0;
    char** m_row = nullptr;
    unsigned long* m_lengths = nullptr;
};
