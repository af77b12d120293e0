#pragma once

#include <QElapsedTimer>
#include <QString>

namespace Ux {

// Scope timer: made on the stack at the start of a block, it writes one debug
// line with the whole milliseconds the block took when it goes out of scope.
class PerformanceTimer
{
public:
    explicit PerformanceTimer(const QString& name);
    virtual ~PerformanceTimer();

    PerformanceTimer(const PerformanceTimer&) = delete;
    PerformanceTimer& operator=(const PerformanceTimer&) = delete;

    // Elapsed nanoseconds as logged: whole milliseconds, cut toward zero.
    static quint32 wholeMilliseconds(qint64 elapsedNs);

private:
    QString m_name;
    QElapsedTimer m_clock;
};

} // namespace Ux
