#pragma once

#include "database/ProgressThread.h"

#include <QSqlDatabase>

// Creates a database's tables from a schema script behind the progress dialog.
class ExecSqlScriptThread : public ProgressThread
{
    Q_OBJECT
public:
    ExecSqlScriptThread(const QString& scriptPath, QSqlDatabase* connection, QWidget* parent);
    ~ExecSqlScriptThread() override;

protected:
    ThreadObject* createThreadObject() override;
    void deleteThreadObject(ThreadObject* worker) override;

private:
    QSqlDatabase* m_connection;
    QString m_scriptPath;
};
