#pragma once

#include <QDateTime>
#include <QDialog>
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

    // The clock that the estimates use; tests replace it.
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
    std::unique_ptr<Ui::DialogProgress> ui;
    std::function<QDateTime()> m_clock;
    QDateTime m_start;
    int m_previousEstimate = -1;
};
