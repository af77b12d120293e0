#include "results/TestResultsTab.h"

#include "ui_TestResultsTab.h"

#include "assets/DateTimeDelegate.h"
#include "assets/StatusDelegate.h"
#include "core/DateFormat.h"
#include "database/Database.h"
#include "database/DatabaseAction.h"
#include "database/DatabaseBusy.h"
#include "database/DatabaseTransaction.h"
#include "database/SqlQuery.h"
#include "database/SqlQueryModel.h"
#include "results/DialogTestResults.h"

#include <QDataStream>
#include <QIODevice>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMessageBox>

namespace {
const int kColumns = 3;
const int kDefaultWidth = 100;
} // namespace

TestResultsTab::TestResultsTab(QWidget* parent)
    : AssetTabBase(ModifiedTestResults, parent), ui(std::make_unique<Ui::TestResultsTab>())
{
    ui->setupUi(this);
    m_columnWidths = QList<int>(kColumns, 0);
    connect(ui->deleteBtn, &QPushButton::pressed, this, &TestResultsTab::removeSelection);
    connect(ui->detailsBtn, &QPushButton::pressed, this, &TestResultsTab::viewSelection);
    // A reloaded model gives its columns default widths; the user's are put back.
    connect(ui->resultSetsTable->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int width) {
                if (!m_applyingWidths && column < kColumns && width > 0)
                    m_columnWidths[column] = width;
            });
}

TestResultsTab::~TestResultsTab() = default;

void TestResultsTab::connectNewDatabase()
{
    m_model = new SqlQueryModel(this);
    m_selectionModel = new QItemSelectionModel(m_model);
    // Owned by the model: they go when the next database replaces it.
    auto* dates = new DateTimeDelegate(m_model);
    auto* statuses = new StatusDelegate(m_model);
    QTableView* table = ui->resultSetsTable;
    table->setModel(m_model);
    table->setItemDelegateForColumn(1, dates);
    table->setItemDelegateForColumn(2, statuses);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionModel(m_selectionModel);
    applyColumnWidths();
    connect(m_selectionModel, &QItemSelectionModel::selectionChanged, this, &TestResultsTab::selectionChanged);
}

void TestResultsTab::releaseOldDatabase()
{
    delete m_selectionModel;
    m_selectionModel = nullptr;
    delete m_model;
    m_model = nullptr;
    updateButtons();
}

void TestResultsTab::reset(int assetId)
{
    if (!m_model)
        return;
    const QString statement =
        QStringLiteral("SELECT Id,Date,OverallResult FROM ResultSet WHERE AssetId=%1 ORDER BY Date ASC").arg(assetId);
    ui->resultSetsTable->hideColumn(0);
    SqlQuery query;
    query.exec(statement);
    setModelQuery(std::move(query));
    m_assetId = assetId;
    // The model reads rows in batches; the newest set is the last of them all.
    while (m_model->canFetchMore())
        m_model->fetchMore();
    if (m_model->rowCount() > 0) {
        const int newest = m_model->rowCount() - 1;
        ui->resultSetsTable->selectRow(newest);
        // Selecting alone leaves an asset's many sets scrolled to the oldest.
        ui->resultSetsTable->scrollTo(m_model->index(newest, 1));
    }
}

QString TestResultsTab::latestRemainingStatement() const
{
    if (Database::instance() && Database::instance()->type() == DatabaseMsSql)
        return QStringLiteral("SELECT TOP 1 rs.Id,rs.Date,a.RetestPeriod FROM ResultSet rs "
                              "LEFT JOIN Asset a ON a.Id=rs.AssetId WHERE AssetId=:AssetId ORDER BY Date DESC");
    return QStringLiteral("SELECT rs.Id,rs.Date,a.RetestPeriod FROM ResultSet rs "
                          "LEFT JOIN Asset a ON a.Id=rs.AssetId WHERE AssetId=:AssetId ORDER BY Date DESC LIMIT 1");
}

bool TestResultsTab::apply()
{
    if (!m_model)
        return true;
    int removed = 0;
    const bool written = DatabaseTransaction::run([&](DatabaseTransaction&) {
        removed = 0;
        for (int row = 0; row < m_model->rowCount(); ++row) {
            if (!ui->resultSetsTable->isRowHidden(row))
                continue;
            const int resultSetId = m_model->index(row, 0).data().toInt();

            SqlQuery deleteSet(QStringLiteral("DELETE FROM ResultSet WHERE Id=:Id"));
            deleteSet.bindValue(QStringLiteral(":Id"), resultSetId);
            deleteSet.exec();
            SqlQuery deleteResults(QStringLiteral("DELETE FROM Result WHERE ResultSetId=:ResultSetId"));
            deleteResults.bindValue(QStringLiteral(":ResultSetId"), resultSetId);
            deleteResults.exec();

            SqlQuery latest(latestRemainingStatement());
            latest.bindValue(QStringLiteral(":AssetId"), m_assetId);
            latest.exec();
            int latestId = 0;
            QVariant retestDate;
            if (latest.next()) {
                latestId = latest.value(0).toInt();
                retestDate = Database::dateTimeValue(
                    Database::addMonths(dateTimeFromVariant(latest.value(1)), latest.value(2).toInt()));
            }
            latest.finish();

            SqlQuery update(QStringLiteral("UPDATE Asset SET LatestResultSetId=:LatestResultSetId, "
                                           "RetestDate=:RetestDate WHERE LatestResultSetId=:ResultSetId AND Id=:AssetId"));
            update.bindValue(QStringLiteral(":LatestResultSetId"), latestId);
            update.bindValue(QStringLiteral(":RetestDate"), retestDate);
            update.bindValue(QStringLiteral(":ResultSetId"), resultSetId);
            update.bindValue(QStringLiteral(":AssetId"), m_assetId);
            update.exec();
            ++removed;
        }
    });
    if (!written) {
        DatabaseBusy::tell(this);
        return false;
    }
    DatabaseAction::afterWrite([&] {
        for (int i = 0; i < removed; ++i)
            emit updateAsset(m_assetId);
        SqlQuery refresh;
        refresh.exec(m_model->query().lastQuery());
        setModelQuery(std::move(refresh));
    });
    return true;
}

void TestResultsTab::clear()
{
    if (m_model && m_model->rowCount() > 0) {
        SqlQuery empty;
        empty.exec(QStringLiteral("SELECT Id,Date,OverallResult FROM ResultSet WHERE AssetId=0"));
        setModelQuery(std::move(empty));
    }
    AssetTabBase::clear();
}

void TestResultsTab::selectionChanged(const QItemSelection&, const QItemSelection&)
{
    if (!m_selectionModel)
        return;
    updateButtons();
}

void TestResultsTab::updateButtons()
{
    const int rows = m_selectionModel ? int(m_selectionModel->selectedRows().size()) : 0;
    ui->detailsBtn->setEnabled(rows == 1);
    ui->deleteBtn->setEnabled(rows >= 1);
}

void TestResultsTab::removeSelection()
{
    if (!m_selectionModel)
        return;
    QMessageBox box(QMessageBox::Warning, QString(),
                    tr("Are you sure you want to delete this set of test results?\n"
                       "After clicking 'Apply' the test results will be lost forever."),
                    QMessageBox::Yes | QMessageBox::No, this);
    if (box.exec() != QMessageBox::Yes)
        return;
    const QModelIndexList marked = m_selectionModel->selectedRows();
    // A hidden set stays selected otherwise: Details... would open it and Delete ask again.
    m_selectionModel->clearSelection();
    for (const QModelIndex& index : marked)
        ui->resultSetsTable->hideRow(index.row());
    setModified();
}

void TestResultsTab::viewSelection()
{
    if (!m_selectionModel)
        return;
    const QModelIndexList rows = m_selectionModel->selectedRows();
    if (rows.size() != 1)
        return;
    DialogTestResults dialog(m_model->index(rows.first().row(), 0).data().toInt(), this);
    dialog.exec();
}

QByteArray TestResultsTab::saveColumnWidths() const
{
    QByteArray state;
    QDataStream out(&state, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    const bool shown = ui->resultSetsTable->horizontalHeader()->count() >= kColumns;
    for (int column = 0; column < kColumns; ++column) {
        qint32 width = shown ? ui->resultSetsTable->columnWidth(column) : m_columnWidths.value(column);
        out << width;
    }
    return state;
}

void TestResultsTab::restoreColumnWidths(const QByteArray& state)
{
    ui->resultSetsTable->hideColumn(0);
    QDataStream in(state);
    in.setByteOrder(QDataStream::LittleEndian);
    m_columnWidths.clear();
    for (int column = 0; column < kColumns; ++column) {
        qint32 width = 0;
        in >> width;
        if (in.status() != QDataStream::Ok)
            width = 0;
        m_columnWidths.append(width == 0 ? kDefaultWidth : width);
    }
    applyColumnWidths();
}

void TestResultsTab::setModelQuery(SqlQuery&& query)
{
    m_model->setQuery(std::move(query));
    // A new query drops the selection without telling selectionChanged.
    updateButtons();
    // The model would title the columns with the database's names.
    m_model->setHeaderData(1, Qt::Horizontal, tr("Test Date", "column title of the result sets table"));
    m_model->setHeaderData(2, Qt::Horizontal, tr("Result", "column title of the result sets table"));
    showAllRows();
    applyColumnWidths();
}

void TestResultsTab::showAllRows()
{
    // The view keeps rows hidden by position across a new query; a reload
    // must show every set it lists, or a mark would hit another set.
    for (int row = 0; row < m_model->rowCount(); ++row)
        ui->resultSetsTable->showRow(row);
}

void TestResultsTab::applyColumnWidths()
{
    QTableView* table = ui->resultSetsTable;
    m_applyingWidths = true;
    for (int column = 0; column < m_columnWidths.size(); ++column) {
        if (m_columnWidths.at(column) > 0)
            table->setColumnWidth(column, m_columnWidths.at(column));
    }
    m_applyingWidths = false;
    table->hideColumn(0);
}
