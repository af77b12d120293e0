#include "sequences/DialogTestSequenceElementTypes.h"

#include "ui_DialogTestSequenceElementTypes.h"

#include "ux/CodeTables.h"
#include "ux/TsqTestElementDetails.h"

#include <QPushButton>
#include <QSettings>

namespace {
constexpr int EquipmentClassesRole = Qt::UserRole + 1;
} // namespace

DialogTestSequenceElementTypes::DialogTestSequenceElementTypes(int equipmentClass, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::DialogTestSequenceElementTypes>())
{
    ui->setupUi(this);
    setOkEnabled(false);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &DialogTestSequenceElementTypes::accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &DialogTestSequenceElementTypes::reject);

    const QVariant lastTester = QSettings().value(QLatin1String(LastTesterKey));
    if (lastTester.isValid())
        ui->elements->setCurrentIndex(lastTester.toInt());

    const QList<QListWidget*> byInstrument = lists();
    const int instrumentBits[4] = {Ux::InstrumentQ1, Ux::InstrumentPresso, Ux::InstrumentOxilo, Ux::InstrumentCorvix};
    for (const Ux::TsqTestElementDetail* row : Ux::TsqTestElementDetails::instance()->rows()) {
        if (row->selectable == 0)
            continue;
        for (int i = 0; i < 4; ++i) {
            if (!(row->instrumentTypes & instrumentBits[i]))
                continue;
            auto* item = new QListWidgetItem(row->name, byInstrument.at(i));
            item->setData(Qt::UserRole, int(row->id));
            item->setData(EquipmentClassesRole, int(quint8(row->equipmentClasses)));
        }
    }

    ui->equipmentClass->setCurrentIndex(equipmentClass);
    equipmentClassChanged(equipmentClass);

    connect(ui->elements, &QToolBox::currentChanged, this, &DialogTestSequenceElementTypes::instrumentChanged);
    for (QListWidget* list : byInstrument) {
        connect(list, &QListWidget::itemDoubleClicked, this, &DialogTestSequenceElementTypes::elementDoubleClicked);
        connect(list, &QListWidget::itemClicked, this, &DialogTestSequenceElementTypes::elementClicked);
    }
    connect(ui->equipmentClass, &QComboBox::currentIndexChanged, this,
            &DialogTestSequenceElementTypes::equipmentClassChanged);
}

DialogTestSequenceElementTypes::~DialogTestSequenceElementTypes() = default;

QList<QListWidget*> DialogTestSequenceElementTypes::lists() const
{
    return {ui->listQ1, ui->listPresso, ui->listOxilo, ui->listCorvix};
}

void DialogTestSequenceElementTypes::setOkEnabled(bool enabled)
{
    ui->buttonBox->button(QDialogButtonBox::Ok)->setEnabled(enabled);
}

void DialogTestSequenceElementTypes::equipmentClassChanged(int equipmentClass)
{
    if (equipmentClass < 0 || equipmentClass > 2)
        return;
    const int bit = 1 << equipmentClass;
    for (QListWidget* list : lists()) {
        for (int row = 0; row < list->count(); ++row) {
            QListWidgetItem* item = list->item(row);
            item->setHidden(!(item->data(EquipmentClassesRole).toInt() & bit));
        }
    }
}

void DialogTestSequenceElementTypes::instrumentChanged(int)
{
    m_testId = 0;
    for (QListWidget* list : lists())
        list->setCurrentItem(nullptr);
    setOkEnabled(false);
}

void DialogTestSequenceElementTypes::elementClicked(QListWidgetItem* item)
{
    m_testId = item->data(Qt::UserRole).toInt();
    setOkEnabled(true);
}

void DialogTestSequenceElementTypes::elementDoubleClicked(QListWidgetItem*)
{
    accept();
}

void DialogTestSequenceElementTypes::accept()
{
    QSettings settings;
    settings.setValue(QLatin1String(LastTesterKey), ui->elements->currentIndex());
    settings.setValue(QLatin1String(LastEquipmentClassKey), ui->equipmentClass->currentIndex());
    QDialog::accept();
}
