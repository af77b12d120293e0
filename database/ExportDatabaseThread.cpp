#include "database/ExportDatabaseThread.h"

#include "database/Database.h"
#include "database/ExportDatabase.h"

#include <QDialog>
#include <QFile>
#include <QMessageBox>
#include <QTextStream>

ExportDatabaseThread::ExportDatabaseThread(QTextStream* output, QWidget* parent)
    : ProgressThread(Database::tr("Exporting Database ...",
                                  "Title of the progress dialog when exporting a database"),
                     parent),
      m_output(output)
{
}

ExportDatabaseThread::~ExportDatabaseThread()
{
    wait();
}

ThreadObject* ExportDatabaseThread::createThreadObject()
{
    return new ExportDatabase(m_output);
}

void ExportDatabaseThread::deleteThreadObject(ThreadObject* worker)
{
    delete worker;
}

bool ExportDatabaseThread::exportCurrentDatabase(const QString& path, QWidget* parent)
{
    if (!Database::instance())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        QMessageBox box(QMessageBox::Warning, QString(),
                        Database::tr("The database could not be exported: the file \"%1\" cannot be "
                                     "opened for writing.\n\n%2",
                                     "%%1 is the file name and %%2 the system's reason")
                            .arg(path, file.errorString()),
                        QMessageBox::Ok, parent);
        box.exec();
        return false;
    }
    QTextStream out(&file);
    int result;
    {
        ExportDatabaseThread thread(&out, parent);
        result = thread.exec();
    }
    out.flush();
    file.close();
    return result == QDialog::Accepted;
}
