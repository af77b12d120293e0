#pragma once

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariantList>
#include <memory>

class MySqlTextStatement;

// A query whose failed execution is fatal: the statement and the database's
// message are shown and the program ends. Callers never test exec(). A
// server that went away under the current database is the exception: that
// is told as a lost connection and the failure returns (ConnectionLoss).
// So is a failure whose cause lies outside this program, which ends the
// user's action instead (DatabaseAction).
class SqlQuery : public QSqlQuery
{
public:
    SqlQuery();
    explicit SqlQuery(const QString& statement);
    explicit SqlQuery(QSqlDatabase db);

    bool prepareInsert(const QString& table, const QStringList& fields, int type);
    static QString insertStatement(const QString& table, const QStringList& fields, int type);
    int lastInsertId(int type);

    // On MySQL: the statement runs as text with its values written in, one
    // round trip per run instead of two for a prepared one; values that text
    // cannot carry exactly make that run a prepared one.
    void prepareAsMySqlText(const QString& statement);

    void bindValue(const QString& placeholder, const QVariant& value, QSql::ParamType type = QSql::In);
    void bindValue(int position, const QVariant& value, QSql::ParamType type = QSql::In);

    bool exec();
    bool exec(const QString& statement);
    bool execBatch(BatchExecutionMode mode = ValuesAsRows);

    // The text that exec() would send now, when this runs as text and every
    // value it holds can be written into it.
    bool textWithValues(QString* text) const;
    // Sends statements to the server in one round trip, as one text, after
    // what waits in a StatementBatch of this connection. Without answers the
    // answer of the last is then read from this query; answers, when given,
    // receives every row of each statement's answer instead (none for a
    // statement that reads nothing). A failure is reported with the
    // statement that failed.
    void execTogether(const QStringList& statements, QList<QList<QVariantList>>* answers = nullptr);

    // The rows of the answer not read yet (none when it reads nothing).
    QList<QVariantList> rows();

    void displayError();
    // The same report for a statement that ran outside a query, such as a
    // commit, on driver's connection (null: the current database's).
    static void reportFailure(const QString& statement, const QSqlError& error,
                              const QSqlDriver* driver = nullptr);
    // A statement as a report shows it: its beginning, and how long it is
    // when that is not all of it (a script's statement may be megabytes).
    static QString reportedStatement(const QString& statement);
    static constexpr qsizetype reportedLength = 300;

    // A failure that ends one attempt of a transaction and no more: the
    // server chose it to resolve a deadlock, a lock was not granted in time,
    // or the database file stayed busy with another program's writes.
    static bool isTransient(const QSqlError& error);
    // Thrown by reportFailure instead of its fatal report, for a transient
    // failure while a transaction that can run again is under way (see
    // DatabaseTransaction::run).
    struct TransientFailure
    {
        QString statement;
        QSqlError error;
    };
    // Whether this thread's failures may be thrown as TransientFailure;
    // returns what was set before.
    static bool setRetrying(bool retrying);
    // The answer of the last write lock that a statement sent with others
    // was checked for on this thread: 2 when the whole lock was granted for
    // one that may hold only a share (see WriteLock::mySqlAssetBegin).
    static int lockGranted();

private:
    bool prepareTextStatement();

    std::shared_ptr<MySqlTextStatement> m_text;
};
