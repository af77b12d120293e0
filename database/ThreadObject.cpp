#include "database/ThreadObject.h"

#include "database/ConnectionLoss.h"

#include <QElapsedTimer>
#include <QMutexLocker>

ThreadObject::ThreadObject()
{
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &ThreadObject::onIdleTimeout);
}

ThreadObject::~ThreadObject() = default;

void ThreadObject::setAbort()
{
    QMutexLocker locker(&m_abortLock);
    m_abort = true;
}

void ThreadObject::onIdleTimeout()
{
    // One tick runs steps for a few milliseconds: a turn of the event loop,
    // with its poll of the system, for every row would cost more than the row.
    // The abort flag is still read before every step.
    constexpr qint64 sliceMs = 10;
    QElapsedTimer slice;
    slice.start();
    do {
        bool aborted;
        {
            QMutexLocker locker(&m_abortLock);
            aborted = m_abort;
        }
        if (aborted || !step()) {
            m_timer.stop();
            return;
        }
        // Every further step would fail on the dead connection: the work
        // ends as if the user had aborted it.
        if (ConnectionLoss::happened()) {
            m_timer.stop();
            emit abort();
            return;
        }
    } while (m_timer.isActive() && slice.elapsed() < sliceMs);
}

bool ThreadObject::init()
{
    return true;
}

bool ThreadObject::step()
{
    return false;
}
