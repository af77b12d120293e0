#include "assets/AssetTableView.h"

#include "assets/AssetQueryModel.h"
#include "core/DateFormat.h"
#include "database/Database.h"

#include <QDataStream>
#include <QDateTime>
#include <QHeaderView>
#include <QIODevice>
#include <QMessageBox>
#include <QScrollBar>
#include <QSettings>

namespace {
const QString kSettingsKey = QStringLiteral("win/AssetTableView");

const char* const kColumns =
    "SELECT a.Id,rs.OverallResult,a.Name,a.Description,rs.Date,a.RetestDate,a.DeletedLocation ";
const char* const kLatestResult = "Asset a LEFT JOIN ResultSet rs ON a.LatestResultSetId=rs.Id ";

QString listStatement(const char* from, const char* where)
{
    return QString::fromLatin1(kColumns) + QStringLiteral("FROM ") + QLatin1String(from)
           + QLatin1String(kLatestResult) + QStringLiteral("WHERE ") + QLatin1String(where);
}

const char* const kSortExpressions[AssetTableView::ColumnCount] = {
    nullptr, "rs.OverallResult", "a.Name", "a.Description", "rs.Date", "a.RetestDate", "a.DeletedLocation"};

int clampedWidth(qint32 width)
{
    return width < 10 || width > 1000 ? 100 : int(width);
}
} // namespace

AssetTableView::AssetTableView(QWidget* parent) : QTableView(parent)
{
    setContextMenuPolicy(Qt::CustomContextMenu);
    setSortingEnabled(true);
    connect(this, &QWidget::customContextMenuRequested, this, &AssetTableView::showContextMenu);
}

void AssetTableView::setup(AssetQueryModel* model)
{
    m_model = model;
    // Ids sought in another database's list mean other assets here.
    m_pendingSelection.clear();
    setModel(model);
    connect(model, &AssetQueryModel::refresh, this, &AssetTableView::refresh);
    connect(model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { selectArrivedAssets(first, last); });
    connect(model, &PagedQueryModel::listFailed, this, &AssetTableView::tellListFailed);
    const QVariant stored = QSettings().value(kSettingsKey);
    if (stored.isValid() && !stored.isNull())
        restoreState(stored.toByteArray());
}

void AssetTableView::restoreState(const QByteArray& state)
{
    if (!m_model || state.size() < ColumnCount * 4)
        return;
    // An empty list with all seven columns, so that every stored width has a
    // column to go to, the recycle bin's Deleted Location included.
    setStatement(listStatement("", "1=0"));
    onUpdateTranslations();
    setColumnShown(IdColumn, false);
    setColumnShown(DeletedLocationColumn, false);

    QDataStream in(state);
    for (int column = 0; column < ColumnCount; ++column) {
        qint32 width = 0;
        in >> width;
        const int w = clampedWidth(width);
        setColumnWidth(column, w);
        if (isColumnHidden(column))
            m_hiddenWidths.insert(column, w);
    }
    widenToHeaderTexts();
}

QByteArray AssetTableView::saveState() const
{
    QByteArray state;
    QDataStream out(&state, QIODevice::WriteOnly);
    for (int column = 0; column < ColumnCount; ++column) {
        int width = columnWidth(column);
        if (isColumnHidden(column))
            width = m_hiddenWidths.value(column, width);
        out << qint32(width);
    }
    return state;
}

void AssetTableView::setColumnShown(int column, bool shown)
{
    if (!shown && !isColumnHidden(column))
        m_hiddenWidths.insert(column, columnWidth(column));
    setColumnHidden(column, !shown);
}

QString AssetTableView::orderByClause(const QString& statement) const
{
    return withoutOrder(statement) + PagedQueryModel::orderBy(sortKeys());
}

QString AssetTableView::withoutOrder(const QString& statement)
{
    const int at = int(statement.indexOf(QStringLiteral(" ORDER BY")));
    return at >= 0 ? statement.left(at) : statement;
}

// The list is read a page at a time: rows that sort alike keep the order
// of their ids, so that no page repeats or misses one. That is also the
// order of an index on the sort column, which holds the row's id too.
QList<PagedQueryModel::SortKey> AssetTableView::sortKeys() const
{
    const int column = m_model ? m_model->sortColumn() : -1;
    const QString id = QStringLiteral("a.Id");
    if (column < 0 || column >= ColumnCount || !kSortExpressions[column])
        return {{id, IdColumn, false}};
    const bool descending = m_model->sortOrder() == Qt::DescendingOrder;
    return {{QLatin1String(kSortExpressions[column]), column, descending}, {id, IdColumn, descending}};
}

void AssetTableView::setSelectionModel(QItemSelectionModel* selectionModel)
{
    QTableView::setSelectionModel(selectionModel);
    // Rows the user chooses while a list comes in win over the ones that
    // were selected before it.
    connect(selectionModel, &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_selecting)
            dropPendingSelection();
    });
}

// The user's click or key replaces the assets still sought in the list
// before the selection model hears of it, so that the selection's listeners
// never count both.
QItemSelectionModel::SelectionFlags AssetTableView::selectionCommand(const QModelIndex& index,
                                                                     const QEvent* event) const
{
    if (!m_selecting)
        const_cast<AssetTableView*>(this)->dropPendingSelection();
    return QTableView::selectionCommand(index, event);
}

void AssetTableView::selectAll()
{
    dropPendingSelection();
    QTableView::selectAll();
}

void AssetTableView::dropPendingSelection(qint64 kept)
{
    QList<int> dropped;
    for (qint64 key : std::as_const(m_pendingSelection)) {
        if (key != kept)
            dropped << int(key);
    }
    m_pendingSelection.clear();
    if (!dropped.isEmpty())
        emit selectionDropped(dropped);
}

QList<qint64> AssetTableView::selectedKeys() const
{
    QList<qint64> keys;
    if (!selectionModel() || !m_model)
        return keys;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            keys << m_model->keyAt(row);
    }
    return keys;
}

// The assets selected are selected again as the new list's keys bring
// them. The same list read again (a refresh, a re-sort) keeps them selected
// meanwhile, so the editor goes on showing its asset: the model's reset
// drops the rows' selection without a signal, and the ones that do not
// come back are told as dropped. Another list deselects first, with its
// signal, so that nothing acts on rows that it may not hold.
bool AssetTableView::setStatement(const QString& statement, const QVariantMap& values)
{
    const QString where = withoutOrder(statement);
    const bool sameList = where == m_model->where() && values == m_model->values();
    const QList<qint64> selected = selectedKeys();
    QSet<qint64> sought(selected.cbegin(), selected.cend());
    if (!sameList) {
        if (selectionModel())
            selectionModel()->clearSelection();
        dropPendingSelection();
    }
    m_pendingSelection.unite(sought);
    m_toldFailure.clear();
    const bool ok = m_model->setStatement(where, values, sortKeys());
    if (!m_model->isReading())
        dropPendingSelection();
    return ok;
}

void AssetTableView::selectRows(const QList<int>& rows)
{
    if (rows.isEmpty() || !selectionModel())
        return;
    // Rows come in order: runs of them are one range each, as a selection of
    // a whole list of a hundred thousand must be.
    QItemSelection selection;
    for (qsizetype i = 0; i < rows.size();) {
        qsizetype end = i + 1;
        while (end < rows.size() && rows.at(end) == rows.at(end - 1) + 1)
            ++end;
        selection.append(QItemSelectionRange(m_model->index(rows.at(i), 0),
                                             m_model->index(rows.at(end - 1), ColumnCount - 1)));
        i = end;
    }
    m_selecting = true;
    selectionModel()->select(selection, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    m_selecting = false;
    scrollToRow(rows.first());
}

// Rows that have just come are laid out later, and the vertical header may
// take them in only after this: until then the scroll bar ends at the rows
// before them, and a row beyond would stay out of sight. The scroll is then
// made again once the bar's range has grown.
void AssetTableView::scrollToRow(int row)
{
    executeDelayedItemsLayout();
    const QModelIndex index = m_model->index(row, NameColumn);
    scrollTo(index);
    if (!viewport()->rect().contains(visualRect(index))) {
        const QPersistentModelIndex kept(index);
        connect(
            verticalScrollBar(), &QScrollBar::rangeChanged, this,
            [this, kept] {
                if (kept.isValid())
                    scrollTo(kept);
            },
            Qt::SingleShotConnection);
    }
}

void AssetTableView::selectArrivedAssets(int first, int last)
{
    if (m_pendingSelection.isEmpty())
        return;
    QList<int> rows;
    for (int row = first; row <= last && !m_pendingSelection.isEmpty(); ++row) {
        if (m_pendingSelection.remove(m_model->keyAt(row)))
            rows << row;
    }
    selectRows(rows);
    if (!m_model->isReading())
        dropPendingSelection();
}

void AssetTableView::tellListFailed(const QString& statement, const QSqlError& error)
{
    // Told once for a list; a lost server is told by the window already.
    Database* db = Database::instance();
    if (statement == m_toldFailure || (db && db->connectionLost()))
        return;
    m_toldFailure = statement;
    qWarning("The asset list could not be read: %s (%s)", qPrintable(error.text()), qPrintable(statement));
    auto* box = new QMessageBox(QMessageBox::Warning, tr("Asset List", "title of the message on an unreadable list"),
                                tr("The list of assets could not be read from the database, so it is shown empty.\n\n"
                                   "%1\n\nChoose the list again to try once more.",
                                   "%1 is the database's message")
                                    .arg(error.text()),
                                QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // The window goes on: the user reads it when it suits.
    box->setModal(false);
    box->show();
}

void AssetTableView::showList(const QString& statement, bool recycled)
{
    if (!m_model)
        return;
    setStatement(statement);
    setColumnShown(IdColumn, false);
    setColumnShown(LastTestColumn, !recycled);
    setColumnShown(RetestDateColumn, !recycled);
    setColumnShown(DeletedLocationColumn, recycled);
    onUpdateTranslations();
    m_searchResults = false;
}

void AssetTableView::showLocationAssets(int id)
{
    showList(listStatement("", "a.DeletedLocation IS NULL AND a.LocationId=") + QString::number(id), false);
}

void AssetTableView::showSiteAssets(int id)
{
    showList(listStatement("Location l,", "a.DeletedLocation IS NULL AND l.Id=a.LocationId AND l.SiteId=")
                 + QString::number(id),
             false);
}

void AssetTableView::showClientAssets(int id)
{
    showList(listStatement("Location l,Site s,",
                           "a.DeletedLocation IS NULL AND s.Id=l.SiteId AND l.Id=a.LocationId AND s.ClientId=")
                 + QString::number(id),
             false);
}

void AssetTableView::showAllAssets()
{
    showList(listStatement("", "DeletedLocation IS NULL"), false);
}

void AssetTableView::showRecycledAssets()
{
    showList(listStatement("", "DeletedLocation IS NOT NULL"), true);
}

void AssetTableView::showSearchResults(const SearchFields& fields)
{
    if (!m_model)
        return;
    m_lastSearch = fields;
    QString statement = QString::fromLatin1(kColumns)
                        + QStringLiteral("FROM Asset a LEFT JOIN ResultSet rs ON a.LatestResultSetId=rs.Id "
                                         "LEFT JOIN Location l ON l.Id=a.LocationId "
                                         "LEFT JOIN Site s ON s.Id=l.SiteId "
                                         "LEFT JOIN Client c ON c.Id=s.ClientId "
                                         "LEFT JOIN Equipment e ON e.Id=a.EquipmentId WHERE 1=1");
    QVariantMap values;
    const auto addText = [&](const QString& text, const char* expression, const char* name) {
        if (text.isEmpty())
            return;
        statement += QStringLiteral(" AND %1 LIKE :%2 ESCAPE '!'").arg(QLatin1String(expression), QLatin1String(name));
        values.insert(QLatin1Char(':') + QLatin1String(name), text);
    };
    addText(fields.assetName, "a.Name", "AssetName");
    addText(fields.description, "a.Description", "Description");
    addText(fields.client, "c.Name", "Client");
    addText(fields.site, "s.Name", "Site");
    addText(fields.location, "l.Name", "Location");
    addText(fields.manufacturer, "e.Manufacturer", "Manufacturer");
    addText(fields.model, "e.Model", "Model");
    addText(fields.serialNo, "e.SerialNo", "SerialNo");
    addText(fields.serviceCode, "a.ServiceCode", "ServiceCode");
    // Stored date-times are texts in one form on every back-end, with whole
    // seconds: the last second of the day closes the range on all of them.
    if (fields.retestDateFrom.isValid()) {
        statement += QStringLiteral(" AND a.RetestDate >= :RetestDateFrom");
        values.insert(QStringLiteral(":RetestDateFrom"),
                      Database::dateTimeValue(wallClockDateTime(fields.retestDateFrom, QTime(0, 0))));
    }
    if (fields.retestDateTo.isValid()) {
        statement += QStringLiteral(" AND a.RetestDate <= :RetestDateTo");
        values.insert(QStringLiteral(":RetestDateTo"),
                      Database::dateTimeValue(wallClockDateTime(fields.retestDateTo, QTime(23, 59, 59))));
    }
    if (fields.overallStatus != -1) {
        statement += QStringLiteral(" AND rs.OverallResult=:OverallResult");
        values.insert(QStringLiteral(":OverallResult"), fields.overallStatus);
    }

    // A failed search means the connection was lost: the table goes with it.
    if (!setStatement(statement, values))
        return;
    setColumnShown(IdColumn, false);
    setColumnShown(DeletedLocationColumn, false);
    setColumnShown(LastTestColumn, true);
    setColumnShown(RetestDateColumn, true);
    onUpdateTranslations();
    m_searchResults = true;
}

void AssetTableView::refresh()
{
    if (!m_model)
        return;
    if (m_searchResults) {
        showSearchResults(m_lastSearch);
        return;
    }
    const QString statement = m_model->statement();
    if (statement.isEmpty())
        return;
    setStatement(statement);
}

void AssetTableView::onUpdateTranslations()
{
    if (!m_model)
        return;
    const QString headers[] = {
        QString(),
        tr("Status", "Whether the asset has passed or failed"),
        tr("Name", "The asset name (id)"),
        tr("Description", "A description of the asset"),
        tr("Last Test", "The date the last test was performed"),
        tr("Retest Date", "The scheduled retest date"),
        tr("Deleted Location", "The deleted location has the syntax client/site/location"),
    };
    for (int column = StatusColumn; column < ColumnCount; ++column)
        m_model->setHeaderData(column, Qt::Horizontal, headers[column], Qt::EditRole);
    widenToHeaderTexts();
}

// A title cut short hides what the column holds: the platform's font (or a
// translation) may need more than the default or the stored width.
void AssetTableView::widenToHeaderTexts()
{
    QHeaderView* header = horizontalHeader();
    for (int column = 0; column < header->count(); ++column) {
        const int needed = header->sectionSizeHint(column);
        if (!header->isSectionHidden(column) && columnWidth(column) < needed)
            setColumnWidth(column, needed);
    }
}

void AssetTableView::assetAdded(int) {}

bool AssetTableView::assetUpdated(int id)
{
    refresh();
    selectAsset(id);
    return true;
}

void AssetTableView::refreshAndSelect(const QList<int>& ids)
{
    if (ids.isEmpty() || !m_model || m_model->rowCount() == 0)
        return;
    refresh();
    selectAsset(ids.first());
}

void AssetTableView::assetsRemoved(QList<int> ids)
{
    refreshAndSelect(ids);
}

void AssetTableView::assetsRestored(QList<int> ids)
{
    refreshAndSelect(ids);
}

void AssetTableView::selectAsset(int id)
{
    if (!m_model || !selectionModel())
        return;
    if (id == 0) {
        dropPendingSelection();
        selectionModel()->clearSelection();
        return;
    }
    // Wherever it lies in the list; when its key has not come yet, as it
    // comes.
    const int row = m_model->rowOfKey(id);
    dropPendingSelection(id);
    if (row >= 0) {
        m_selecting = true;
        selectRow(row);
        m_selecting = false;
        scrollToRow(row);
    } else if (m_model->isReading()) {
        m_pendingSelection.insert(id);
    }
}

void AssetTableView::showContextMenu(const QPoint& pos)
{
    emit requestShowContextMenu(mapToGlobal(pos));
}
