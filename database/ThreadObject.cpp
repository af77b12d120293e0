#include "database/ThreadObject.h"

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
    bool aborted;
    {
        QMutexLocker locker(&m_abortLock);
        aborted = m_abort;
    }
    if (aborted || !step())
        m_timer.stop();
}

bool ThreadObject::init()
{
    return true;
}

bool ThreadObject::step()
{
    return false;
}
