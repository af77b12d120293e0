#include "database/PagedQueryModel.h"

#include "database/Database.h"
#include "database/ListReader.h"
#include "database/MsSqlDatabase.h"
#include "database/MySqlDatabase.h"
#include "database/SqlQuery.h"

#include <QThread>
#include <algorithm>

namespace {
// Pages kept: those near the rows the view asks for.
constexpr int keptPages = 16;
} // namespace

PagedQueryModel::PagedQueryModel(int columns, QObject* parent) : QAbstractTableModel(parent), m_columns(columns) {}

PagedQueryModel::~PagedQueryModel()
{
    stopReader();
}

QString PagedQueryModel::pageStatement(const QString& statement, int type, int offset, int rows)
{
    // SQL Server knows no LIMIT; its OFFSET and FETCH stand only after an
    // ORDER BY, which every paged statement has.
    if (type == DatabaseMsSql)
        return statement + QStringLiteral(" OFFSET %1 ROWS FETCH NEXT %2 ROWS ONLY").arg(offset).arg(rows);
    return statement + QStringLiteral(" LIMIT %1 OFFSET %2").arg(rows).arg(offset);
}

QString PagedQueryModel::orderBy(const QList<SortKey>& keys, bool reversed)
{
    QStringList terms;
    for (const SortKey& key : keys)
        terms << key.expression + (key.descending != reversed ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
    return terms.isEmpty() ? QString() : QStringLiteral(" ORDER BY ") + terms.join(QLatin1Char(','));
}

bool PagedQueryModel::setStatement(const QString& statement, const QVariantMap& values, const QList<SortKey>& order)
{
    Database* db = Database::instance();
    beginResetModel();
    clearRows();
    ++m_generation;
    m_where = order.isEmpty() ? QString() : statement;
    m_order = order;
    m_statement = statement + orderBy(order);
    m_values = values;
    m_server = db && db->type() != DatabaseSqlite;
    m_shown = 0;
    m_read = 0;
    m_atEnd = true;
    m_reading = false;
    m_wanted = false;
    m_requested.clear();
    m_keys.clear();
    bool ok = db != nullptr;
    if (ok && m_server) {
        startReader();
        m_reading = true;
        m_reader->supersede(m_generation);
        QMetaObject::invokeMethod(m_reader, [reader = m_reader, generation = m_generation,
                                             first = pageStatement(m_statement, db->type(), 0, pageRows),
                                             statement = m_statement, values] {
            reader->read(generation, first, statement, values, pageRows);
        });
    } else if (ok) {
        ok = readPage(0);
        if (ok) {
            m_shown = int(m_pages.value(0).size());
            m_atEnd = m_shown < pageRows;
        }
    }
    endResetModel();
    return ok;
}

// Next to a page held, a page is sought from that page's edge row, which
// an index on the sort keys finds at once: at an OFFSET, SQLite steps
// through every row before it, for most of a second deep in a long list.
QString PagedQueryModel::soughtPage(int page, QVariantMap& values, bool& backward) const
{
    const auto before = m_pages.constFind(page - 1);
    const auto after = m_pages.constFind(page + 1);
    backward = before == m_pages.cend() || before->size() < pageRows;
    if (m_order.isEmpty() || (backward && (after == m_pages.cend() || after->isEmpty()))) {
        backward = false;
        return pageStatement(m_statement, DatabaseSqlite, page * pageRows, pageRows);
    }
    const QVariantList edge = ListReader::unpackRow(backward ? after->constFirst() : before->constLast());
    // The rows past the edge row, in the order read; NULL sorts first.
    QString past;
    for (int k = int(m_order.size()) - 1; k >= 0; --k) {
        const SortKey& key = m_order.at(k);
        const QVariant value = edge.value(key.column);
        const QString name = QStringLiteral(":seek%1").arg(k);
        const bool descending = key.descending != backward;
        QString beyond, same;
        if (value.isNull()) {
            beyond = descending ? QStringLiteral("0") : key.expression + QStringLiteral(" IS NOT NULL");
            same = key.expression + QStringLiteral(" IS NULL");
        } else {
            values.insert(name, value);
            // The last key, the row's, is never NULL.
            beyond = key.expression + (descending ? QLatin1Char('<') : QLatin1Char('>')) + name;
            if (descending && k + 1 < m_order.size())
                beyond = QStringLiteral("(%1 OR %2 IS NULL)").arg(beyond, key.expression);
            same = QStringLiteral("%1=%2").arg(key.expression, name);
        }
        past = past.isEmpty() ? beyond : QStringLiteral("(%1 OR (%2 AND %3))").arg(beyond, same, past);
    }
    return m_where + QStringLiteral(" AND ") + past + orderBy(m_order, backward)
           + QStringLiteral(" LIMIT %1").arg(pageRows);
}

bool PagedQueryModel::readPage(int page) const
{
    QVariantMap values = m_values;
    bool backward = false;
    SqlQuery query;
    query.setForwardOnly(true);
    query.prepare(soughtPage(page, values, backward));
    for (auto value = values.begin(); value != values.end(); ++value)
        query.bindValue(value.key(), value.value());
    if (!query.exec())
        return false;
    Rows rows;
    while (query.next())
        rows << ListReader::packRow(query);
    if (backward)
        std::reverse(rows.begin(), rows.end());
    m_pages.insert(page, rows);
    // Read to its end, the statement has let go of the file.
    query.finish();
    dropFarPages(page);
    return true;
}

void PagedQueryModel::dropFarPages(int near) const
{
    while (m_pages.size() > keptPages) {
        int farthest = near;
        for (auto page = m_pages.cbegin(); page != m_pages.cend(); ++page) {
            if (std::abs(page.key() - near) > std::abs(farthest - near))
                farthest = page.key();
        }
        m_pages.remove(farthest);
    }
}

void PagedQueryModel::clearRows()
{
    m_unpackedRow = -1;
    m_pages.clear();
}

void PagedQueryModel::show(int rows)
{
    if (rows <= m_shown)
        return;
    beginInsertRows(QModelIndex(), m_shown, rows - 1);
    m_shown = rows;
    endInsertRows();
}

void PagedQueryModel::startReader()
{
    Database* db = Database::instance();
    const QString source = db->connection().connectionName();
    if (m_reader && m_readerSource == source && m_readerDatabase == db)
        return;
    stopReader();
    QString use;
    if (auto* server = qobject_cast<ServerDatabase*>(db)) {
        const QString name = server->connectionSettings().databaseName;
        if (!name.isEmpty())
            use = db->type() == DatabaseMsSql ? MsSqlDatabase::useDatabaseStatement(name)
                                              : QStringLiteral("USE ") + MySqlDatabase::quoteIdentifier(name);
    }
    m_thread = new QThread;
    m_reader = new ListReader(source, use);
    m_reader->moveToThread(m_thread);
    connect(m_thread, &QThread::finished, m_reader, &QObject::deleteLater);
    connect(m_reader, &ListReader::pageRead, this, &PagedQueryModel::takePage);
    connect(m_reader, &ListReader::counted, this, &PagedQueryModel::takeKeys);
    connect(m_reader, &ListReader::failed, this, &PagedQueryModel::readFailed);
    m_readerSource = source;
    m_readerDatabase = db;
    m_thread->start();
}

void PagedQueryModel::stopReader()
{
    if (!m_thread)
        return;
    m_reader->supersede(-1);
    m_thread->quit();
    // A statement still under way on a server that went away is not waited
    // for: the thread ends, and its connection goes, when the client
    // library gives up on the server.
    if (m_thread->wait(QDeadlineTimer(1000)))
        delete m_thread;
    else
        connect(m_thread, &QThread::finished, m_thread, &QObject::deleteLater);
    m_thread = nullptr;
    m_reader = nullptr;
    m_readerSource.clear();
}

void PagedQueryModel::takePage(int generation, int page, const Rows& rows)
{
    if (generation != m_generation)
        return;
    m_requested.remove(page);
    m_unpackedRow = -1;
    m_pages.insert(page, rows);
    dropFarPages(page);
    if (m_reading)
        m_read = std::max(m_read, int(rows.size()));
    // The first page shows at once, the rest as the view asks for it.
    if (m_shown == 0) {
        show(std::min(m_read, pageRows));
        return;
    }
    const int first = page * pageRows;
    const int last = std::min(m_shown, first + int(rows.size())) - 1;
    if (last >= first)
        emit dataChanged(index(first, 0), index(last, m_columns - 1));
}

void PagedQueryModel::takeKeys(int generation, const QVariantList& keys)
{
    if (generation != m_generation)
        return;
    m_reading = false;
    m_keys = keys;
    const int rows = int(keys.size());
    m_read = rows;
    if (m_shown > rows) {
        beginRemoveRows(QModelIndex(), rows, m_shown - 1);
        m_shown = rows;
        endRemoveRows();
    }
    if (m_wanted) {
        m_wanted = false;
        show(std::min(m_read, m_shown + pageRows));
    }
}

void PagedQueryModel::requestPage(int page) const
{
    if (m_requested.contains(page))
        return;
    m_requested.insert(page);
    QMetaObject::invokeMethod(m_reader, [reader = m_reader, generation = m_generation, page] {
        reader->readPage(generation, page);
    });
}

void PagedQueryModel::readFailed(int generation, const QString& statement, const QSqlError& error)
{
    if (generation != m_generation)
        return;
    m_reading = false;
    Database* db = Database::instance();
    SqlQuery::reportFailure(statement, error, db ? db->connection().driver() : nullptr);
}

int PagedQueryModel::rowOf(int column, const QVariant& value) const
{
    if (column == 0 && !m_keys.isEmpty()) {
        const int row = int(m_keys.indexOf(value));
        return row < m_shown ? row : -1;
    }
    for (int row = 0; row < m_shown; ++row) {
        const auto page = m_pages.constFind(row / pageRows);
        if (page == m_pages.cend()) {
            row += pageRows - 1 - row % pageRows;
            continue;
        }
        if (ListReader::unpackRow(page->at(row % pageRows), column + 1).value(column) == value)
            return row;
    }
    return -1;
}

int PagedQueryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_shown;
}

int PagedQueryModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QVariant PagedQueryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_shown || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    const int page = index.row() / pageRows;
    if (!m_pages.contains(page)) {
        // A server's page comes later, and the view is told of it then;
        // the keys are there at once, for a selection.
        if (m_server) {
            requestPage(page);
            return index.column() == 0 ? m_keys.value(index.row()) : QVariant();
        }
        if (!readPage(page))
            return QVariant();
    }
    if (m_unpackedRow != index.row()) {
        const Rows& rows = m_pages[page];
        const int row = index.row() % pageRows;
        m_unpacked = row < rows.size() ? ListReader::unpackRow(rows.at(row)) : QVariantList();
        m_unpackedRow = index.row();
    }
    return m_unpacked.value(index.column());
}

QVariant PagedQueryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && (role == Qt::DisplayRole || role == Qt::EditRole))
        return m_headers.value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool PagedQueryModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value, int role)
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns
        || (role != Qt::DisplayRole && role != Qt::EditRole))
        return false;
    m_headers.insert(section, value);
    emit headerDataChanged(orientation, section, section);
    return true;
}

bool PagedQueryModel::canFetchMore(const QModelIndex& parent) const
{
    if (parent.isValid())
        return false;
    return m_server ? m_shown < m_read || m_reading : !m_atEnd;
}

void PagedQueryModel::fetchMore(const QModelIndex& parent)
{
    if (!canFetchMore(parent))
        return;
    if (m_server) {
        if (m_read > m_shown)
            show(std::min(m_read, m_shown + pageRows));
        else
            m_wanted = true;
        return;
    }
    const int page = m_shown / pageRows;
    if (!m_pages.contains(page) && !readPage(page)) {
        m_atEnd = true;
        return;
    }
    const int rows = int(m_pages.value(page).size());
    m_atEnd = rows < pageRows;
    show(m_shown + rows);
}
