#pragma once

#include <QDialog>
#include <memory>

class QLineEdit;
namespace Ui { class DialogComparisonAlerts; }

// Sets the six comparison-alert thresholds, which take effect as each edit
// is left, and searches or clears the alerts of the whole database.
class DialogComparisonAlerts : public QDialog
{
    Q_OBJECT
public:
    explicit DialogComparisonAlerts(QWidget* parent);
    ~DialogComparisonAlerts() override;

    // Set when the user asked to see the assets that the search found.
    bool showAlertAssets = false;

signals:
    void updateAssetDetails();
    void updateAssetTableView();

public slots:
    void removeAlerts();
    void findAlerts();
    void resistancePercentageChanged();
    void resistanceAbsoluteChanged();
    void insulationPercentageChanged();
    void insulationAbsoluteChanged();
    void leakagePercentageChanged();
    void leakageAbsoluteChanged();

private:
    void setThreshold(int index, const QLineEdit* edit, double scale);
    // Turns every alert back to Pass; false, with the user told what was
    // done, when the database stayed busy.
    bool resetAlerts();

    std::unique_ptr<Ui::DialogComparisonAlerts> ui;
};
