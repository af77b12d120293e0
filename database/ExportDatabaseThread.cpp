#include "database/ExportDatabaseThread.h"

#include "database/Database.h"
#include "database/ExportDatabase.h"
#include "database/ExportFile.h"

#include <QDialog>
#include <QDir>
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
    const QString target = QDir::toNativeSeparators(path);
    ExportFile file(path);
    if (!file.open()) {
        tell(Database::tr("The database could not be exported: the file \"%1\" cannot be "
                          "opened for writing.\n\n%2",
                          "%%1 is the file name and %%2 the system's reason")
                 .arg(target, file.errorString()),
             parent);
        return false;
    }
    QTextStream out(&file);
    int result;
    {
        ExportDatabaseThread thread(&out, parent);
        result = thread.exec();
    }
    // Aborted by the user, or stopped by what it has told already: the
    // partial file goes with the ExportFile.
    if (result == QDialog::Accepted && !file.failed()) {
        out.flush();
        if (out.status() == QTextStream::Ok && file.commit())
            return true;
    }
    if (file.failed())
        tell(Database::tr("The database was not exported: writing the file \"%1\" failed, and it was "
                          "not written.\n\n%2",
                          "%%1 is the file name and %%2 the system's reason (the disk is full, say)")
                 .arg(target, file.errorString()),
             parent);
    return false;
}

void ExportDatabaseThread::tell(const QString& text, QWidget* parent)
{
    QMessageBox box(QMessageBox::Warning, QString(), text, QMessageBox::Ok, parent);
    box.exec();
}
