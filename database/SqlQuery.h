#pragma once

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

// A query whose failed execution is fatal: the statement and the database's
// message are shown and the program ends. Callers never test exec().
class SqlQuery : public QSqlQuery
{
public:
    SqlQuery();
    explicit SqlQuery(const QString& statement);
    explicit SqlQuery(QSqlDatabase db);

    bool prepareInsert(const QString& table, const QStringList& fields, int type);
    static QString insertStatement(const QString& table, const QStringList& fields, int type);
    int lastInsertId(int type);

    bool exec();
    bool exec(const QString& statement);

    [[noreturn]] void displayError();
    // The same report for a statement that ran outside a query, such as a commit.
    [[noreturn]] static void reportFailure(const QString& statement, const QSqlError& error);
};
