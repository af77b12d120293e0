#include "database/ProgressThread.h"

#include "core/Error.h"
#include "database/ThreadObject.h"

#include <QMutexLocker>

ProgressThread::ProgressThread(const QString& title, QWidget* parent) : m_dialog(title, parent)
{
    connect(&m_dialog, &DialogProgress::progressAbortRequest, this, &ProgressThread::abort);
    connect(this, &QThread::finished, this, &ProgressThread::onFinished);
}

ProgressThread::~ProgressThread()
{
    wait();
}

int ProgressThread::exec()
{
    start();
    const int result = m_dialog.exec();
    wait();
    if (!m_errorText.isNull())
        Error::report(QString(), m_errorText, m_errorCode, 0, __FILE__, 104);
    return result;
}

void ProgressThread::run()
{
    ThreadObject* worker;
    {
        QMutexLocker locker(&m_lock);
        m_worker = createThreadObject();
        worker = m_worker;
    }
    // A worker may report a million steps: one queued call per step would
    // wake the GUI thread a million times. The latest fraction is kept and at
    // most one delivery waits in the queue, which then shows the newest.
    connect(worker, &ThreadObject::updateProgress, this, &ProgressThread::relayProgress, Qt::DirectConnection);
    connect(worker, &ThreadObject::setInfo, &m_dialog, &DialogProgress::setInfo);
    // quit() is thread-safe; calling it directly ends the loop without a round trip.
    connect(worker, &ThreadObject::done, this, &QThread::quit, Qt::DirectConnection);
    connect(worker, &ThreadObject::abort, this, &ProgressThread::abort);
    connect(worker, &ThreadObject::error, this, &ProgressThread::error);

    bool aborted;
    {
        QMutexLocker locker(&m_lock);
        aborted = m_aborted;
    }
    if (!aborted && worker->init())
        QThread::exec();

    QMutexLocker locker(&m_lock);
    deleteThreadObject(m_worker);
    m_worker = nullptr;
}

void ProgressThread::relayProgress(float fraction)
{
    m_latestFraction.store(fraction);
    if (m_progressPending.exchange(true))
        return;
    QMetaObject::invokeMethod(
        &m_dialog,
        [this] {
            // Cleared before the read: a fraction stored after it posts anew.
            m_progressPending.store(false);
            m_dialog.updateProgress(m_latestFraction.load());
        },
        Qt::QueuedConnection);
}

void ProgressThread::abort()
{
    QMutexLocker locker(&m_lock);
    m_aborted = true;
    quit();
    if (m_worker)
        m_worker->setAbort();
}

void ProgressThread::error(const QString& text, int code)
{
    m_errorText = text.isNull() ? QStringLiteral("") : text;
    m_errorCode = code;
}

void ProgressThread::onFinished()
{
    wait();
    bool aborted;
    {
        QMutexLocker locker(&m_lock);
        aborted = m_aborted;
    }
    if (aborted)
        m_dialog.QDialog::reject();
    else
        m_dialog.accept();
}
