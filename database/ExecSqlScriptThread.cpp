#include "database/ExecSqlScriptThread.h"

#include "database/Database.h"
#include "database/ExecSqlScript.h"

ExecSqlScriptThread::ExecSqlScriptThread(const QString& scriptPath, QSqlDatabase* connection, QWidget* parent)
    : ProgressThread(Database::tr("Creating New Database ...",
                                  "Title of the progress dialog when creating a new database"),
                     parent),
      m_connection(connection), m_scriptPath(scriptPath)
{
}

ExecSqlScriptThread::~ExecSqlScriptThread()
{
    wait();
}

ThreadObject* ExecSqlScriptThread::createThreadObject()
{
    return new ExecSqlScript(m_scriptPath, m_connection);
}

void ExecSqlScriptThread::deleteThreadObject(ThreadObject* worker)
{
    delete worker;
}
