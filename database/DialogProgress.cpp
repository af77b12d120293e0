#include "database/DialogProgress.h"

#include "ui_DialogProgress.h"

#include <QTimeZone>
#include <limits>

DialogProgress::DialogProgress(const QString& title, QWidget* parent)
    : QDialog(parent), ui(new Ui::DialogProgress)
{
    ui->setupUi(this);
    setWindowTitle(title);
    connect(ui->abortButton, &QPushButton::clicked, this, &DialogProgress::abortBtnClicked);
}

DialogProgress::~DialogProgress() = default;

QString DialogProgress::timeRemainingText() const { return ui->timeRemaining->text(); }
QString DialogProgress::finishTimeText() const { return ui->finishTime->text(); }
QString DialogProgress::detailedInfoText() const { return ui->detailedInfo->text(); }
int DialogProgress::progressMaximum() const { return ui->progressBar->maximum(); }
int DialogProgress::progressValue() const { return ui->progressBar->value(); }

qint64 DialogProgress::elapsedMs() const
{
    return m_clock ? m_start.msecsTo(m_clock()) : m_elapsed.elapsed();
}

void DialogProgress::showUnknown()
{
    ui->timeRemaining->setText(tr("Unknown"));
    ui->finishTime->setText(tr("Unknown"));
    m_estimateShown = false;
}

void DialogProgress::showBar(int maximum, int value)
{
    // Setting the range repaints the bar even when it does not change.
    if (ui->progressBar->maximum() != maximum)
        ui->progressBar->setMaximum(maximum);
    if (value >= 0 && ui->progressBar->value() != value)
        ui->progressBar->setValue(value);
}

QString DialogProgress::finishText(qint64 totalSeconds) const
{
    static const QString format = QStringLiteral("HH:mm:ss");
    const qint64 ms = totalSeconds * 1000;
    if (ms < 0 || ms >= m_offsetHoldsMs)
        return m_start.addSecs(totalSeconds).toString(format);
    constexpr qint64 day = 24 * 3600 * 1000;
    const qint64 local = ((m_startMs + m_offsetMs + ms) % day + day) % day;
    return QTime::fromMSecsSinceStartOfDay(int(local)).toString(format);
}

void DialogProgress::updateProgress(float fraction)
{
    if (fraction < 0) {
        showBar(0, -1);
        if (m_start.isValid()) {
            showUnknown();
            m_start = QDateTime();
        }
        return;
    }

    if (!m_start.isValid()) {
        m_start = m_clock ? m_clock() : QDateTime::currentDateTime();
        m_elapsed.start();
        m_startMs = m_start.toMSecsSinceEpoch();
        m_offsetMs = qint64(m_start.offsetFromUtc()) * 1000;
        const QTimeZone zone = m_start.timeZone();
        const QTimeZone::OffsetData next =
            zone.hasTransitions() ? zone.nextTransition(m_start) : QTimeZone::OffsetData();
        m_offsetHoldsMs = next.atUtc.isValid() ? m_start.msecsTo(next.atUtc) : std::numeric_limits<qint64>::max();
        m_previousEstimate = -1;
    } else if (fraction == 0) {
        // No work done yet: there is nothing to estimate from.
        if (m_estimateShown)
            showUnknown();
    } else {
        const qint64 elapsed = elapsedMs() / 1000;
        const qint64 total = qint64(double(elapsed) / double(fraction)) + 1;
        qint64 remaining = total - elapsed;
        if (m_previousEstimate > 0)
            remaining = (m_previousEstimate + remaining) / 2;
        m_previousEstimate = int(remaining);

        if (!m_estimateShown || total != m_shownTotal)
            ui->finishTime->setText(finishText(total));
        if (!m_estimateShown || remaining != m_shownRemaining) {
            if (remaining < 60)
                ui->timeRemaining->setText(tr("%1s").arg(remaining));
            else if (remaining < 3600)
                ui->timeRemaining->setText(tr("%1m %2s").arg(remaining / 60).arg(remaining % 60));
            else
                ui->timeRemaining->setText(tr("%1h %2m").arg(remaining / 3600).arg((remaining % 3600) / 60));
        }
        m_estimateShown = true;
        m_shownTotal = total;
        m_shownRemaining = remaining;
    }

    showBar(100, qBound(0, int(fraction * 100), 100));
}

void DialogProgress::setInfo(int what, const QString& text)
{
    if (what == 0)
        setWindowTitle(text);
    else if (what == 1)
        ui->detailedInfo->setText(text);
}

void DialogProgress::abort()
{
    QDialog::reject();
}

void DialogProgress::abortBtnClicked()
{
    ui->detailedInfo->setText(
        tr("Aborting... Please wait while the task terminates ...",
           "This message is shown on the progress dialog when a the user presses the abort button"));
    ui->progressBar->setMaximum(0);
    emit progressAbortRequest();
}

void DialogProgress::reject()
{
    // Closing by Escape or the title bar would leave the work running unseen.
}
