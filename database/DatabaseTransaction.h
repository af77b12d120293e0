#pragma once

#include <QSqlDatabase>

// Begins a transaction when constructed and commits it when destroyed. Scopes
// nest: only the outermost scope of a connection begins and commits, so an
// inner scope never commits half of an outer one's work.
class DatabaseTransaction
{
public:
    explicit DatabaseTransaction(QSqlDatabase* connection = nullptr);
    virtual ~DatabaseTransaction();
    DatabaseTransaction(const DatabaseTransaction&) = delete;
    DatabaseTransaction& operator=(const DatabaseTransaction&) = delete;

private:
    QSqlDatabase m_connection;
    bool m_outermost = false;
    bool m_begun = false;
};
