#pragma once

#include "database/ProgressThread.h"

class QTextStream;

// Exports the current database behind the progress dialog.
class ExportDatabaseThread : public ProgressThread
{
    Q_OBJECT
public:
    ExportDatabaseThread(QTextStream* output, QWidget* parent);
    ~ExportDatabaseThread() override;

    // The whole export of the current database into the file at path,
    // replaced only once the script is written to its end: true then.
    // Otherwise the file at path stays as it was, and why is shown to the
    // user over parent (a file that cannot be opened, a failed write), as
    // the worker shows its own failures; an abort is shown nothing.
    static bool exportCurrentDatabase(const QString& path, QWidget* parent);
    // Removes what exports killed midway left in the folders they wrote to
    // (see ExportFile::removeLeftovers); for the program's start.
    static void removeLeftoversOfKilledExports();

protected:
    ThreadObject* createThreadObject() override;
    void deleteThreadObject(ThreadObject* worker) override;

private:
    static void tell(const QString& text, QWidget* parent);

    QTextStream* m_output;
};
