#pragma once

#include "database/ProgressThread.h"

struct ImportOptions;

// Imports a first-version database behind the progress dialog.
class ImportDatabaseThread : public ProgressThread
{
    Q_OBJECT
public:
    ImportDatabaseThread(ImportOptions* options, QWidget* parent);
    ~ImportDatabaseThread() override;

protected:
    ThreadObject* createThreadObject() override;
    void deleteThreadObject(ThreadObject* worker) override;

private:
    ImportOptions* m_options;
};
