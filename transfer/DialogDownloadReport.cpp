#include "transfer/DialogDownloadReport.h"

#include "transfer/DownloadStats.h"
#include "ui_DialogDownloadReport.h"

DialogDownloadReport::DialogDownloadReport(const DownloadStats* stats, QWidget* parent)
    : QDialog(parent), ui(new Ui::DialogDownloadReport)
{
    ui->setupUi(this);
    const DownloadStats& s = *stats;
    ui->passLabel->setText(
        tr("%1 assets downloaded with status 'Pass'", "The number assets downloaded").arg(s[DownloadStats::Pass]));
    ui->failLabel->setText(
        tr("%1 assets downloaded with status 'Fail'", "The number assets downloaded").arg(s[DownloadStats::Fail]));
    ui->emptyLabel->setText(tr("%1 assets downloaded with no test results", "The number assets downloaded")
                                .arg(s[DownloadStats::Other]));
    ui->skippedLabel->setText(tr("%1 assets downloaded with no new test results", "The number assets downloaded")
                                  .arg(s[DownloadStats::AlreadyStored]));
    ui->alertLabel->setText(tr("%1 assets downloaded with status 'Alert'", "The number assets downloaded")
                                .arg(s[DownloadStats::Alert]));
    ui->sequencesLabel->setText(tr("%1 global test sequences downloaded", "The number global test sequences downloaded")
                                    .arg(s[DownloadStats::GlobalSequences]));
}

DialogDownloadReport::~DialogDownloadReport() = default;
