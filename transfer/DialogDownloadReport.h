#pragma once

#include <QDialog>
#include <memory>

struct DownloadStats;

namespace Ui { class DialogDownloadReport; }

// The summary after a download: one line per counter, zeros included.
class DialogDownloadReport : public QDialog
{
    Q_OBJECT
public:
    // Reads the counters once; the record is not kept.
    explicit DialogDownloadReport(const DownloadStats* stats, QWidget* parent = nullptr);
    ~DialogDownloadReport() override;

private:
    std::unique_ptr<Ui::DialogDownloadReport> ui;
};
