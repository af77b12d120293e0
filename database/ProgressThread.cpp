#include "database/ProgressThread.h"

#include "core/Error.h"
#include "database/ThreadObject.h"

#include <QMutexLocker>
#include <QTimer>

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
    // most one delivery is under way at a time, which then shows the newest.
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
    m_progressReported.store(true);
    if (!m_progressPending.exchange(true))
        QMetaObject::invokeMethod(&m_dialog, [this] { deliverProgress(); }, Qt::QueuedConnection);
}

void ProgressThread::deliverProgress()
{
    m_shownFraction = m_latestFraction.load();
    m_dialog.updateProgress(m_shownFraction);
    // The next delivery waits a little: a worker's step is often shorter than
    // waking this thread, which would otherwise be woken for nearly every one.
    // Whatever the worker reported meanwhile is shown when the wait ends.
    constexpr int intervalMs = 20;
    QTimer::singleShot(intervalMs, &m_dialog, [this] {
        // Cleared before the read: a fraction stored after it posts anew.
        m_progressPending.store(false);
        if (m_latestFraction.load() != m_shownFraction && !m_progressPending.exchange(true))
            deliverProgress();
    });
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
    // The last fraction may still be waiting for its turn.
    if (m_progressReported.load() && m_latestFraction.load() != m_shownFraction) {
        m_shownFraction = m_latestFraction.load();
        m_dialog.updateProgress(m_shownFraction);
    }
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
