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
    // replaced if it exists: true when the script was written to the end.
    // A file that cannot be opened is shown to the user over parent.
    static bool exportCurrentDatabase(const QString& path, QWidget* parent);

protected:
    ThreadObject* createThreadObject() override;
    void deleteThreadObject(ThreadObject* worker) override;

private:
    QTextStream* m_output;
};
