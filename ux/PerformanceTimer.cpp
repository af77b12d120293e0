#include "ux/PerformanceTimer.h"

#include <QDebug>

namespace Ux {

PerformanceTimer::PerformanceTimer(const QString& name) : m_name(name)
{
    // QElapsedTimer picks the monotonic clock where the system has one.
    m_clock.start();
}

PerformanceTimer::~PerformanceTimer()
{
    qDebug() << "PERFORMANCE TIMER: " << m_name << " completed in "
             << wholeMilliseconds(m_clock.nsecsElapsed()) << "ms";
}

quint32 PerformanceTimer::wholeMilliseconds(qint64 elapsedNs)
{
    if (elapsedNs <= 0)
        return 0;
    return static_cast<quint32>(elapsedNs / 1000000);
}

} // namespace Ux
