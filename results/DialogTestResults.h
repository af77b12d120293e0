#pragma once

#include <QDialog>
#include <memory>

namespace Ui { class DialogTestResults; }

// One result set, read only: its header, its overall result and one line per
// test. Built and filled entirely by the constructor.
class DialogTestResults : public QDialog
{
    Q_OBJECT
public:
    DialogTestResults(int resultSetId, QWidget* parent);
    ~DialogTestResults() override;

private:
    void fillHeader(int resultSetId);
    void fillResults(int resultSetId);

    std::unique_ptr<Ui::DialogTestResults> ui;
};
