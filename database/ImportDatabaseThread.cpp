#include "database/ImportDatabaseThread.h"

#include "database/Database.h"
#include "database/ImportDatabase.h"

ImportDatabaseThread::ImportDatabaseThread(ImportOptions* options, QWidget* parent)
    : ProgressThread(Database::tr("Importing V1 Database ...",
                                  "Title of progress dialog when importing a Pelvane version 1 database"),
                     parent),
      m_options(options)
{
}

ImportDatabaseThread::~ImportDatabaseThread()
{
    wait();
}

ThreadObject* ImportDatabaseThread::createThreadObject()
{
    return new ImportDatabase(m_options);
}

void ImportDatabaseThread::deleteThreadObject(ThreadObject* worker)
{
    delete worker;
}
