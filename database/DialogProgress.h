#pragma once

#include <QDateTime>
#include <QDialog>
#include <QElapsedTimer>
#include <functional>
#include <memory>

namespace Ui { class DialogProgress; }

// Shows the progress of long work with estimates of the remaining and the
// finish time, and offers Abort. Escape and the close button do nothing: only
// the end of the work or abort() close it.
class DialogProgress : public QDialog
{
    Q_OBJECT
public:
    explicit DialogProgress(const QString& title, QWidget* parent = nullptr);
    ~DialogProgress() override;

    // The clock that the estimates use; tests replace it. Without one the
    // elapsed time comes from a monotonic clock and the wall clock is read
    // once, to place the finish time: a workers' thread may report progress
    // a million times, and local date-time arithmetic on each would cost
    // more than the work itself.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    QString timeRemainingText() const;
    QString finishTimeText() const;
    QString detailedInfoText() const;
    int progressMaximum() const;
    int progressValue() const;

signals:
    void progressAbortRequest();

public slots:
    void updateProgress(float fraction);
    void setInfo(int what, const QString& text);
    void abort();
    void abortBtnClicked();
    void reject() override;

private:
    qint64 elapsedMs() const;
    void showUnknown();
    void showBar(int maximum, int value);
    QString finishText(qint64 totalSeconds) const;

    std::unique_ptr<Ui::DialogProgress> ui;
    std::function<QDateTime()> m_clock;
    QDateTime m_start; // null while the clock is stopped
    QElapsedTimer m_elapsed;
    // The start in milliseconds since the epoch, its offset from UTC, and
    // for how long after the start that offset holds: within that span the
    // finish time needs no time-zone lookup.
    qint64 m_startMs = 0;
    qint64 m_offsetMs = 0;
    qint64 m_offsetHoldsMs = 0;
    int m_previousEstimate = -1;
    // What the time labels show, so that they are set only when it changes.
    bool m_estimateShown = false;
    qint64 m_shownTotal = 0;
    qint64 m_shownRemaining = 0;
};
