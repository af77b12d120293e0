#include "results/DialogComparisonAlerts.h"

#include "ui_DialogComparisonAlerts.h"

#include "database/DatabaseBusy.h"
#include "results/AlertThresholds.h"
#include "results/ComparisonAlert.h"
#include "results/ThresholdValidator.h"

#include <QMessageBox>

namespace {
const double kPercent = 0.01;
} // namespace

DialogComparisonAlerts::DialogComparisonAlerts(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::DialogComparisonAlerts>())
{
    ui->setupUi(this);
    showAlertAssets = false;

    const struct
    {
        QLineEdit* edit;
        int index;
        double shown;
        void (DialogComparisonAlerts::*changed)();
    } fields[] = {
        {ui->resistancePercentage, AlertThresholds::ResistanceRelative, 100.0,
         &DialogComparisonAlerts::resistancePercentageChanged},
        {ui->resistanceAbsolute, AlertThresholds::ResistanceAbsolute, 1.0,
         &DialogComparisonAlerts::resistanceAbsoluteChanged},
        {ui->insulationPercentage, AlertThresholds::InsulationRelative, 100.0,
         &DialogComparisonAlerts::insulationPercentageChanged},
        {ui->insulationAbsolute, AlertThresholds::InsulationAbsolute, 1.0,
         &DialogComparisonAlerts::insulationAbsoluteChanged},
        {ui->leakagePercentage, AlertThresholds::LeakageRelative, 100.0,
         &DialogComparisonAlerts::leakagePercentageChanged},
        {ui->leakageAbsolute, AlertThresholds::LeakageAbsolute, 1.0, &DialogComparisonAlerts::leakageAbsoluteChanged},
    };
    for (const auto& field : fields) {
        field.edit->setText(QStringLiteral("%1").arg(AlertThresholds::values[field.index] * field.shown));
        field.edit->setValidator(new ThresholdValidator(0, 1000000, 3, field.edit));
        connect(field.edit, &QLineEdit::editingFinished, this, field.changed);
    }
    connect(ui->removeAlerts, &QPushButton::pressed, this, &DialogComparisonAlerts::removeAlerts);
    connect(ui->findAlerts, &QPushButton::pressed, this, &DialogComparisonAlerts::findAlerts);
}

DialogComparisonAlerts::~DialogComparisonAlerts()
{
    // Hiding moves the focus out of a threshold field, whose editingFinished
    // stores it: that must reach this dialog while it is still whole.
    hide();
}

void DialogComparisonAlerts::setThreshold(int index, const QLineEdit* edit, double scale)
{
    const QString text = edit->text();
    AlertThresholds::values[index] = text.isEmpty() ? 0.0 : ThresholdValidator::value(text) * scale;
}

void DialogComparisonAlerts::resistancePercentageChanged()
{
    setThreshold(AlertThresholds::ResistanceRelative, ui->resistancePercentage, kPercent);
}

void DialogComparisonAlerts::resistanceAbsoluteChanged()
{
    setThreshold(AlertThresholds::ResistanceAbsolute, ui->resistanceAbsolute, 1.0);
}

void DialogComparisonAlerts::insulationPercentageChanged()
{
    setThreshold(AlertThresholds::InsulationRelative, ui->insulationPercentage, kPercent);
}

void DialogComparisonAlerts::insulationAbsoluteChanged()
{
    setThreshold(AlertThresholds::InsulationAbsolute, ui->insulationAbsolute, 1.0);
}

void DialogComparisonAlerts::leakagePercentageChanged()
{
    setThreshold(AlertThresholds::LeakageRelative, ui->leakagePercentage, kPercent);
}

void DialogComparisonAlerts::leakageAbsoluteChanged()
{
    setThreshold(AlertThresholds::LeakageAbsolute, ui->leakageAbsolute, 1.0);
}

bool DialogComparisonAlerts::resetAlerts()
{
    qsizetype reset = 0;
    qsizetype left = 0;
    auto resetText = [](qsizetype n) {
        return tr("%n test(s) turned back from Alert to Pass.", "alerts reset before the database was busy", int(n));
    };
    if (ComparisonAlert::removeAllAlerts(&reset, &left, {windowTitle(), 0, resetText, {}}))
        return true;
    if (reset == 0)
        DatabaseBusy::tell(this);
    else
        DatabaseBusy::tellStoppedMidway(this, resetText(reset),
                                        tr("%n test(s) still marked Alert.", "alerts not reset", int(left)));
    return false;
}

void DialogComparisonAlerts::findAlerts()
{
    if (!resetAlerts())
        return;
    QList<ComparisonAlert*> alerts;
    const bool searched = ComparisonAlert::findAllAlerts(&alerts);
    const int count = int(alerts.size());
    qDeleteAll(alerts);
    if (!searched) {
        DatabaseBusy::tellStoppedMidway(
            this, tr("The earlier alerts were reset to Pass, and %n asset(s) were found with alerts so far.",
                     "alerts found before the database was busy", count),
            tr("The search through the other results.", "what the stopped alert search did not do"));
    } else if (count > 0) {
        QMessageBox box(QMessageBox::Question, QString(),
                        QStringLiteral("The search found %1 alert(s). Would you like to view these assets now?")
                            .arg(count),
                        QMessageBox::Yes | QMessageBox::No, this);
        if (box.exec() == QMessageBox::Yes) {
            showAlertAssets = true;
            accept();
        }
    } else {
        QMessageBox box(QMessageBox::Information, QString(), QStringLiteral("No results raised any alerts."),
                        QMessageBox::Ok, this);
        box.exec();
    }
    // The search first turned every earlier alert back to pass, so the views change either way.
    emit updateAssetDetails();
    emit updateAssetTableView();
}

void DialogComparisonAlerts::removeAlerts()
{
    if (!resetAlerts())
        return;
    QMessageBox box(QMessageBox::Information, QString(),
                    QStringLiteral("All assets results with Alert status have now been reset to Pass status."),
                    QMessageBox::Ok, this);
    box.exec();
    emit updateAssetDetails();
    emit updateAssetTableView();
}
