#pragma once

#include "database/DialogProgress.h"

#include <QMutex>
#include <QThread>

#include <atomic>

class ThreadObject;

// Runs a worker on its own thread behind the modal progress dialog.
class ProgressThread : public QThread
{
    Q_OBJECT
public:
    ProgressThread(const QString& title, QWidget* parent);
    ~ProgressThread() override;

    int exec();
    bool hasError() const { return !m_errorText.isNull(); }
    DialogProgress& dialog() { return m_dialog; }

public slots:
    void abort();
    void error(const QString& text, int code);
    void onFinished();

protected:
    void run() override;
    // Called on the worker's thread for every step's progress.
    void relayProgress(float fraction);
    void deliverProgress();
    virtual ThreadObject* createThreadObject() = 0;
    virtual void deleteThreadObject(ThreadObject* worker) = 0;

private:
    DialogProgress m_dialog;
    bool m_aborted = false;
    QMutex m_lock;
    ThreadObject* m_worker = nullptr;
    QString m_errorText;
    int m_errorCode = 0;
    // The latest fraction the worker reported, and whether a delivery of it
    // to the dialog is already waiting in the GUI thread's queue.
    std::atomic<float> m_latestFraction{0.0f};
    std::atomic<bool> m_progressPending{false};
    std::atomic<bool> m_progressReported{false};
    float m_shownFraction = 0.0f; // GUI thread only
};
