#include "results/DialogTestInstruments.h"

#include "ui_TestInstruments.h"

#include "assets/InstrumentTypeDelegate.h"
#include "core/ReentrancyGuard.h"
#include "database/Database.h"
#include "database/DatabaseBusy.h"
#include "database/DatabaseTransaction.h"
#include "database/RowGone.h"
#include "database/SqlQuery.h"
#include "database/SqlQueryModel.h"
#include "database/ColumnText.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMessageBox>
#include <QPushButton>

namespace {
const QString kListStatement = QStringLiteral("SELECT Id,InstrumentType,SerialNo FROM Instrument");

int decimal(const QString& text)
{
    return text.toInt(nullptr, 10);
}
} // namespace

DialogTestInstruments::DialogTestInstruments(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TestInstruments>())
{
    ui->setupUi(this);
    ui->instrumentType->setCurrentIndex(-1);
    m_modified = false;
    m_loading = false;
    ui->buttonBox->button(QDialogButtonBox::Apply)->setEnabled(false);

    connect(ui->buttonBox, &QDialogButtonBox::clicked, this, &DialogTestInstruments::standardButtonClicked);
    for (QComboBox* box : {static_cast<QComboBox*>(ui->instrumentType), ui->baudRate, ui->dataBits, ui->parity,
                           ui->stopBits})
        connect(box, &QComboBox::currentIndexChanged, this, qOverload<int>(&DialogTestInstruments::setModified));
    connect(ui->serialNo, &QLineEdit::textChanged, this, qOverload<const QString&>(&DialogTestInstruments::setModified));
    connect(ui->addBtn, &QToolButton::pressed, this, &DialogTestInstruments::addInstrument);
    connect(ui->removeBtn, &QToolButton::pressed, this, &DialogTestInstruments::removeInstrument);

    m_model = new SqlQueryModel(this);
    m_selectionModel = new QItemSelectionModel(m_model, this);
    ui->instrumentTable->setModel(m_model);
    ui->instrumentTable->setSelectionModel(m_selectionModel);
    ui->instrumentTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    ui->instrumentTable->setSelectionMode(QAbstractItemView::SingleSelection);
    ui->instrumentTable->setItemDelegateForColumn(1, new InstrumentTypeDelegate(ui->instrumentTable));
    connect(m_selectionModel, &QItemSelectionModel::selectionChanged, this, &DialogTestInstruments::selectionChanged);
    loadInstruments(0);
}

DialogTestInstruments::~DialogTestInstruments() = default;

void DialogTestInstruments::setModified(int)
{
    markModified(true);
}

void DialogTestInstruments::setModified(const QString&)
{
    markModified(true);
}

void DialogTestInstruments::markModified(bool modified)
{
    if (m_loading)
        return;
    m_modified = modified;
    ui->buttonBox->button(QDialogButtonBox::Apply)->setEnabled(modified);
    ui->addBtn->setEnabled(modified);
}

void DialogTestInstruments::loadInstruments(int selectId)
{
    SqlQuery query;
    query.exec(kListStatement);
    m_model->setQuery(std::move(query));
    // A reset model drops its selection without telling the handler.
    ui->removeBtn->setEnabled(false);
    m_model->setHeaderData(1, Qt::Horizontal, tr("Instrument", "The column header for the instrument types"));
    ui->instrumentTable->hideColumn(0);
    if (selectId <= 0)
        return;
    for (int row = 0; row < m_model->rowCount(); ++row) {
        if (m_model->index(row, 0).data().toInt() == selectId) {
            m_selectionModel->select(QItemSelection(m_model->index(row, 0), m_model->index(row, 2)),
                                     QItemSelectionModel::ClearAndSelect);
            break;
        }
    }
}

int DialogTestInstruments::firstSelectedId() const
{
    const QModelIndexList rows = m_selectionModel->selectedRows();
    return rows.isEmpty() ? 0 : m_model->index(rows.first().row(), 0).data().toInt();
}

void DialogTestInstruments::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    ReentrancyGuard guard(QStringLiteral("DialogTestInstruments"));
    if (!guard.isFirst())
        return;
    if (selected.indexes().isEmpty()) {
        ui->removeBtn->setEnabled(false);
        return;
    }
    ui->removeBtn->setEnabled(true);
    const int newId = m_model->index(selected.indexes().first().row(), 0).data().toInt();

    if (m_modified) {
        QMessageBox box(QMessageBox::Warning, QString(),
                        tr("You have made changes to this instrument. Do you want to save these changes?"),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
        switch (box.exec()) {
        case QMessageBox::Yes:
            if (!deselected.indexes().isEmpty()
                && !saveDetails(m_model->index(deselected.indexes().first().row(), 0).data().toInt())) {
                m_selectionModel->select(deselected, QItemSelectionModel::ClearAndSelect);
                return;
            }
            break;
        case QMessageBox::No:
            markModified(false);
            break;
        default:
            m_selectionModel->select(deselected, QItemSelectionModel::ClearAndSelect);
            return;
        }
    }
    loadDetails(newId);
}

void DialogTestInstruments::loadDetails(int instrumentId)
{
    m_loading = true;
    SqlQuery query(QStringLiteral(
        "SELECT InstrumentType,SerialNo,BaudRate,DataBits,Parity,StopBits FROM Instrument WHERE Id=:Id"));
    query.bindValue(QStringLiteral(":Id"), instrumentId);
    query.exec();
    if (query.next()) {
        m_storedType = query.value(0).toInt();
        ui->instrumentType->setCurrentIndex(ui->instrumentType->findData(m_storedType));
        ui->serialNo->setText(ColumnText::of(query.value(1)));
        ui->baudRate->setEditText(ColumnText::of(query.value(2)));
        ui->dataBits->setEditText(ColumnText::of(query.value(3)));
        ui->parity->setCurrentIndex(query.value(4).toInt());
        ui->stopBits->setCurrentIndex(query.value(5).toInt());
    }
    m_loading = false;
}

bool DialogTestInstruments::saveDetails(int instrumentId)
{
    // With no model chosen the stored type stays: otherwise saving a
    // downloaded instrument of a model not on the list would write 0.
    const QVariant chosen = ui->instrumentType->currentData();
    bool gone = false;
    const bool saved = DatabaseTransaction::run([&](DatabaseTransaction&) {
        gone = !RowGone::stored("Instrument", instrumentId);
        if (gone)
            return;
        SqlQuery query(QStringLiteral(
            "UPDATE Instrument SET InstrumentType=:InstrumentType, SerialNo=:SerialNo, BaudRate=:BaudRate, "
            "DataBits=:DataBits, Parity=:Parity, StopBits=:StopBits WHERE Id=:InstrumentId"));
        query.bindValue(QStringLiteral(":InstrumentType"), chosen.isValid() ? chosen.toInt() : m_storedType);
        query.bindValue(QStringLiteral(":SerialNo"), ui->serialNo->text());
        query.bindValue(QStringLiteral(":BaudRate"), decimal(ui->baudRate->currentText()));
        query.bindValue(QStringLiteral(":DataBits"), decimal(ui->dataBits->currentText()));
        query.bindValue(QStringLiteral(":Parity"), ui->parity->currentIndex());
        query.bindValue(QStringLiteral(":StopBits"), ui->stopBits->currentIndex());
        query.bindValue(QStringLiteral(":InstrumentId"), instrumentId);
        query.exec();
    });
    if (!saved) {
        DatabaseBusy::tell(this);
        return false;
    }
    if (gone) {
        RowGone::tell(this, tr("The instrument %1", "the subject of a sentence").arg(ui->serialNo->text()));
        return false;
    }
    markModified(false);
    return true;
}

void DialogTestInstruments::standardButtonClicked(QAbstractButton* button)
{
    if (!m_modified || button != ui->buttonBox->button(QDialogButtonBox::Apply))
        return;
    if (const int id = firstSelectedId())
        saveDetails(id);
}

int DialogTestInstruments::countSerialNumbers(const QString& serialNo)
{
    SqlQuery query(QStringLiteral("SELECT COUNT(*) FROM Instrument WHERE SerialNo=:SerialNo"));
    query.bindValue(QStringLiteral(":SerialNo"), serialNo);
    query.exec();
    return query.next() ? query.value(0).toInt() : -1;
}

void DialogTestInstruments::addInstrument()
{
    // The check and the insert under one lock: no twin comes in between.
    bool taken = false;
    int id = 0;
    const bool written = DatabaseTransaction::run([&](DatabaseTransaction&) {
        taken = countSerialNumbers(ui->serialNo->text()) > 0;
        if (!taken)
            id = Database::instance()->findOrInsertInstrument(
                ui->instrumentType->currentData().toInt(), ui->serialNo->text(), QDate(), QString(),
                decimal(ui->baudRate->currentText()), decimal(ui->dataBits->currentText()),
                ui->parity->currentIndex(), ui->stopBits->currentIndex());
    });
    if (!written) {
        DatabaseBusy::tell(this);
        return;
    }
    if (taken) {
        QMessageBox box(QMessageBox::Warning, QString(),
                        tr("An instrument already exists with the same serial number. Please choose a different "
                           "serial number."),
                        QMessageBox::Ok, this);
        box.exec();
        return;
    }
    if (id > 0) {
        markModified(false);
        loadInstruments(id);
    }
}

void DialogTestInstruments::removeInstrument()
{
    const int id = firstSelectedId();
    if (id <= 0)
        return;
    const bool removed = DatabaseTransaction::run([id](DatabaseTransaction&) {
        SqlQuery query(QStringLiteral("DELETE FROM Instrument WHERE Id=:InstrumentId"));
        query.bindValue(QStringLiteral(":InstrumentId"), id);
        query.exec();
    });
    if (!removed) {
        DatabaseBusy::tell(this);
        return;
    }
    markModified(false);
    loadInstruments(0);
}
