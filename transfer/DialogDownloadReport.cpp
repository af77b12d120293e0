#include "transfer/DialogDownloadReport.h"

#include "transfer/DownloadStats.h"
#include "ui_DialogDownloadReport.h"

DialogDownloadReport::DialogDownloadReport(const DownloadStats* stats, QWidget* parent)
    : QDialog(parent), ui(new Ui::DialogDownloadReport)
{
    ui->setupUi(this);
    const DownloadStats& s = *stats;
    // Counted texts: the translation gives each number its plural form.
    ui->passLabel->setText(
        tr("%n assets downloaded with status 'Pass'", "The number assets downloaded", s[DownloadStats::Pass]));
    ui->failLabel->setText(
        tr("%n assets downloaded with status 'Fail'", "The number assets downloaded", s[DownloadStats::Fail]));
    ui->emptyLabel->setText(
        tr("%n assets downloaded with no test results", "The number assets downloaded", s[DownloadStats::Other]));
    ui->skippedLabel->setText(tr("%n assets downloaded with no new test results", "The number assets downloaded",
                                 s[DownloadStats::AlreadyStored]));
    ui->alertLabel->setText(
        tr("%n assets downloaded with status 'Alert'", "The number assets downloaded", s[DownloadStats::Alert]));
    ui->sequencesLabel->setText(tr("%n global test sequences downloaded", "The number global test sequences downloaded",
                                   s[DownloadStats::GlobalSequences]));
}

DialogDownloadReport::~DialogDownloadReport() = default;
