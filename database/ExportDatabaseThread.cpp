#include "database/ExportDatabaseThread.h"

#include "database/Database.h"
#include "database/ExportDatabase.h"
#include "database/ExportFile.h"

#include <QDialog>
#include <QDir>
#include <QMessageBox>
#include <QSettings>
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

namespace {
// The folders of the exports under way, kept for the start after a kill.
const QString kFoldersInUseKey = QStringLiteral("Export/FoldersInUse");

class FolderInUse
{
public:
    explicit FolderInUse(const QString& folder) : m_folder(folder)
    {
        QSettings settings;
        QStringList folders = settings.value(kFoldersInUseKey).toStringList();
        if (!folders.contains(m_folder))
            settings.setValue(kFoldersInUseKey, folders << m_folder);
    }
    ~FolderInUse()
    {
        QSettings settings;
        QStringList folders = settings.value(kFoldersInUseKey).toStringList();
        folders.removeAll(m_folder);
        settings.setValue(kFoldersInUseKey, folders);
    }

private:
    QString m_folder;
};
} // namespace

void ExportDatabaseThread::removeLeftoversOfKilledExports()
{
    // A folder that another instance exports to meanwhile keeps that
    // export's files: they are held until they are gone.
    QSettings settings;
    for (const QString& folder : settings.value(kFoldersInUseKey).toStringList())
        ExportFile::removeLeftovers(folder);
    settings.remove(kFoldersInUseKey);
}

bool ExportDatabaseThread::exportCurrentDatabase(const QString& path, QWidget* parent)
{
    if (!Database::instance())
        return false;
    const QString target = QDir::toNativeSeparators(path);
    ExportFile file(path);
    const FolderInUse inUse(file.folder());
    if (!file.open()) {
        tell(Database::tr("The database could not be exported to the file \"%1\".\n\n%2",
                          "%%1 is the file name and %%2 the reason")
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
    if (file.renamed())
        tell(Database::tr("The database was exported to \"%1\", but its folder could not be written to the disk: "
                          "if the computer stops before the disk has caught up, the file may be missing or the "
                          "old one back. Export again to be sure of it.\n\n%2",
                          "%%1 is the file name and %%2 the system's reason")
                 .arg(target, file.errorString()),
             parent);
    else if (file.failed())
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
