#include "sequences/DialogGlobalTestSequences.h"

#include "ui_DialogGlobalTestSequences.h"

#include "assets/EquipmentClassDelegate.h"
#include "core/Error.h"
#include "database/DatabaseBusy.h"
#include "database/DatabaseTransaction.h"
#include "database/SqlQuery.h"
#include "database/SqlQueryModel.h"
#include "sequences/DialogEditGlobalTestSequence.h"
#include "transfer/DialogTransfer.h"
#include "transfer/Upload.h"
#include "transfer/UploadRequest.h"

#include <QDataStream>
#include <QIODevice>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QSettings>

namespace {
const QString listQuery = QStringLiteral("SELECT Id,Name,EquipmentClass FROM GlobalTestSequence");
} // namespace

DialogGlobalTestSequences::DialogGlobalTestSequences(bool selectMode, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::DialogGlobalTestSequences>())
{
    ui->setupUi(this);
    if (selectMode)
        connect(ui->selectBtn, &QPushButton::pressed, this, &DialogGlobalTestSequences::accept);
    else
        ui->selectBtn->hide();
    connect(ui->newBtn, &QPushButton::pressed, this, &DialogGlobalTestSequences::onNewSequence);
    connect(ui->editBtn, &QPushButton::pressed, this, &DialogGlobalTestSequences::onEditSequence);
    connect(ui->deleteBtn, &QPushButton::pressed, this, &DialogGlobalTestSequences::onDeleteSequences);
    connect(ui->uploadBtn, &QPushButton::pressed, this, &DialogGlobalTestSequences::onUploadSequences);

    m_model = new SqlQueryModel(this);
    SqlQuery query;
    query.exec(listQuery);
    m_model->setQuery(std::move(query));
    m_model->setHeaderData(1, Qt::Horizontal, tr("Name"), Qt::EditRole);
    m_model->setHeaderData(2, Qt::Horizontal, tr("Class"), Qt::EditRole);
    ui->sequencesTable->setModel(m_model);
    ui->sequencesTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    ui->sequencesTable->setItemDelegateForColumn(2, new EquipmentClassDelegate(ui->sequencesTable));
    ui->sequencesTable->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    ui->sequencesTable->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);

    m_selection = new QItemSelectionModel(m_model, this);
    ui->sequencesTable->setSelectionModel(m_selection);
    connect(m_selection, &QItemSelectionModel::selectionChanged, this, &DialogGlobalTestSequences::selectionChanged);

    ui->sequencesTable->hideColumn(0);
    ui->sequencesTable->resizeColumnsToContents();

    const QVariant stored = QSettings().value(QLatin1String(SettingsKey));
    if (stored.isValid() && !stored.isNull()) {
        QDataStream in(stored.toByteArray());
        QByteArray geometry;
        in >> geometry;
        restoreGeometry(geometry);
        for (int column = 0; column < 3; ++column) {
            qint32 width = 0;
            in >> width;
            if (in.status() != QDataStream::Ok)
                break;
            ui->sequencesTable->setColumnWidth(column, (width < 10 || width > 1000) ? 100 : width);
        }
    }
}

DialogGlobalTestSequences::~DialogGlobalTestSequences()
{
    QByteArray state;
    QDataStream out(&state, QIODevice::WriteOnly);
    out << saveGeometry();
    for (int column = 0; column < 3; ++column)
        out << qint32(ui->sequencesTable->columnWidth(column));
    QSettings().setValue(QLatin1String(SettingsKey), state);
}

int DialogGlobalTestSequences::selectedSequenceId() const
{
    return m_selectedSequences.isEmpty() ? 0 : m_selectedSequences.first();
}

void DialogGlobalTestSequences::refresh()
{
    SqlQuery query;
    query.exec(listQuery);
    m_model->setQuery(std::move(query));
    ui->sequencesTable->hideColumn(0);
    ui->sequencesTable->resizeColumnsToContents();
    // Resetting the model drops the selection without a signal; the ids and
    // the buttons must not outlive the rows they stood for.
    m_selection->clearSelection();
    m_selectedSequences.clear();
    updateButtons();
}

void DialogGlobalTestSequences::selectionChanged(const QItemSelection&, const QItemSelection&)
{
    // The whole current selection counts, not the part that just changed.
    m_selectedSequences.clear();
    for (const QModelIndex& index : m_selection->selectedIndexes()) {
        if (index.column() == 0)
            m_selectedSequences.append(index.data().toInt());
    }
    updateButtons();
}

void DialogGlobalTestSequences::updateButtons()
{
    const int count = int(m_selectedSequences.size());
    ui->editBtn->setEnabled(count == 1);
    ui->deleteBtn->setEnabled(count > 0);
    ui->uploadBtn->setEnabled(count > 0);
    ui->selectBtn->setEnabled(count > 0);
}

void DialogGlobalTestSequences::onNewSequence()
{
    DialogEditGlobalTestSequence dialog(0, this);
    if (dialog.exec() == QDialog::Accepted)
        refresh();
}

void DialogGlobalTestSequences::onEditSequence()
{
    Q_ASSERT(m_selectedSequences.size() == 1);
    if (m_selectedSequences.size() != 1)
        return;
    DialogEditGlobalTestSequence dialog(m_selectedSequences.first(), this);
    if (dialog.exec() == QDialog::Accepted)
        refresh();
}

void DialogGlobalTestSequences::onDeleteSequences()
{
    Q_ASSERT(!m_selectedSequences.isEmpty());
    if (m_selectedSequences.isEmpty())
        return;
    QStringList conditions;
    for (int i = 0; i < m_selectedSequences.size(); ++i)
        conditions << QStringLiteral("Id=:Id%1").arg(i);
    const bool removed = DatabaseTransaction::run([&](DatabaseTransaction&) {
        SqlQuery query(QStringLiteral("DELETE FROM GlobalTestSequence WHERE ") + conditions.join(QStringLiteral(" OR ")));
        for (int i = 0; i < m_selectedSequences.size(); ++i)
            query.bindValue(QStringLiteral(":Id%1").arg(i), m_selectedSequences.at(i));
        query.exec();
    });
    if (!removed) {
        DatabaseBusy::tell(this);
        return;
    }
    refresh();
}

void DialogGlobalTestSequences::onUploadSequences()
{
    DialogTransfer transfer(Error::dialogParent(), 1);
    transfer.setWindowTitle(tr("Upload Global Test Sequences to Tester"));
    if (transfer.exec() != QDialog::Accepted)
        return;
    UploadRequest request;
    request.globalSequenceIds = m_selectedSequences;
    request.portName = transfer.portName();
    request.baudRate = transfer.baudRate();
    Upload upload(&request);
    upload.start();
}
