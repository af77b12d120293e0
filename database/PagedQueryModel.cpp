#include "database/PagedQueryModel.h"

#include "database/Database.h"
#include "database/ListReader.h"
#include "database/MsSqlDatabase.h"
#include "database/MySqlDatabase.h"

#include <QThread>
#include <QTimer>
#include <algorithm>

namespace {
// Pages kept: those near the rows the view asks for.
constexpr int keptPages = 16;
// How long the window waits for the reader at most, where a short list or
// a page read a moment ago then shows at once: well under a stall.
constexpr int waitMs = 30;
// A page that could not be read is tried again after this long.
constexpr int retryMs = 1000;
// A reader still in a statement when it is given up is waited for this
// long; its statement has been cancelled by then.
constexpr int stopMs = 1000;
} // namespace

PagedQueryModel::PagedQueryModel(int columns, QObject* parent) : QAbstractTableModel(parent), m_columns(columns) {}

PagedQueryModel::~PagedQueryModel()
{
    stopReader();
}

QString PagedQueryModel::orderBy(const QList<SortKey>& keys)
{
    QStringList terms;
    for (const SortKey& key : keys)
        terms << key.expression + (key.descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
    return terms.isEmpty() ? QString() : QStringLiteral(" ORDER BY ") + terms.join(QLatin1Char(','));
}

bool PagedQueryModel::setStatement(const QString& statement, const QVariantMap& values, const QList<SortKey>& order)
{
    Database* db = Database::instance();
    beginResetModel();
    ++m_generation;
    clearRows();
    m_keys.clear();
    m_where = statement;
    m_statement = statement + orderBy(order);
    m_key = order.isEmpty() ? QString() : order.constLast().expression;
    m_values = values;
    m_reading = db != nullptr;
    if (db)
        startReader(db);
    endResetModel();
    if (!db)
        return false;
    runList();
    // A short list is there before the window draws again.
    absorb(listWaitMs);
    return true;
}

void PagedQueryModel::runList()
{
    m_reader->supersede(m_generation);
    const auto read = [reader = m_reader, generation = m_generation, statement = m_statement, where = m_where,
                       key = m_key, values = m_values] {
        reader->readList(generation, statement, where, key, values, pageRows);
    };
    if (m_borrow)
        read();
    else
        QMetaObject::invokeMethod(m_reader, read);
}

void PagedQueryModel::startReader(Database* db)
{
    const QString source = db->connection().connectionName();
    if (m_reader && m_readerSource == source && m_readerDatabase == db)
        return;
    stopReader();
    if (m_readerDatabase != db)
        m_borrow = false;
    QString use;
    if (auto* server = qobject_cast<ServerDatabase*>(db)) {
        const QString name = server->connectionSettings().databaseName;
        if (!name.isEmpty())
            use = db->type() == DatabaseMsSql ? MsSqlDatabase::useDatabaseStatement(name)
                                              : QStringLiteral("USE ") + MySqlDatabase::quoteIdentifier(name);
    }
    m_reader = new ListReader(source, use, m_borrow);
    if (!m_borrow) {
        m_thread = new QThread;
        m_reader->moveToThread(m_thread);
        connect(m_thread, &QThread::finished, m_reader, &QObject::deleteLater);
    }
    connect(m_reader, &ListReader::posted, this, [this] { absorb(); }, Qt::QueuedConnection);
    m_readerSource = source;
    m_readerDatabase = db;
    m_readerType = db->type();
    if (m_thread)
        m_thread->start();
}

void PagedQueryModel::stopReader()
{
    if (!m_reader)
        return;
    disconnect(m_reader, nullptr, this, nullptr);
    m_reader->supersede(-1);
    if (m_thread) {
        m_thread->quit();
        // The statement under way was cancelled: the thread ends at once,
        // and with it the reader and its connection.
        if (m_thread->wait(QDeadlineTimer(stopMs)))
            delete m_thread;
        else
            connect(m_thread, &QThread::finished, m_thread, &QObject::deleteLater);
    } else {
        delete m_reader;
    }
    m_thread = nullptr;
    m_reader = nullptr;
    m_readerSource.clear();
}

void PagedQueryModel::absorb(int waitMs)
{
    if (!m_reader)
        return;
    if (waitMs > 0 && m_reading) {
        const QDeadlineTimer deadline(waitMs);
        while (!m_reader->waitForPost(int(deadline.remainingTime()), &m_seenPosts) && !deadline.hasExpired()) {
        }
    }
    ListReader::Delivery delivery = m_reader->take(m_generation);
    if (delivery.refused && !m_borrow) {
        // A login allowed one connection, or a server at its limit: the
        // list is read on the window's connection instead.
        qWarning("The database refused the asset list a connection of its own (%s); lists are read on the "
                 "window's connection",
                 qPrintable(delivery.error.text()));
        stopReader();
        m_borrow = true;
        startReader(Database::instance());
        runList();
        absorb();
        return;
    }
    if (!delivery.keys.isEmpty()) {
        beginInsertRows(QModelIndex(), int(m_keys.size()), int(m_keys.size() + delivery.keys.size()) - 1);
        m_keys += delivery.keys;
        endInsertRows();
    }
    if (delivery.hasFirstRows && !delivery.firstRows.isEmpty())
        takePage(0, delivery.firstRows);
    for (auto page = delivery.pages.cbegin(); page != delivery.pages.cend(); ++page) {
        takePage(page.key(), page.value());
        const int first = page.key() * pageRows;
        const int last = std::min(int(m_keys.size()), first + pageRows) - 1;
        if (last >= first)
            emit dataChanged(index(first, 0), index(last, m_columns - 1));
    }
    for (int page : std::as_const(delivery.failedPages))
        pageFailed(page);
    if (delivery.done || delivery.refused || delivery.error.isValid())
        m_reading = false;
    if (delivery.error.isValid() || delivery.refused)
        emit listFailed(delivery.failedStatement, delivery.error);
}

bool PagedQueryModel::absorbPages() const
{
    ListReader::Delivery delivery = m_reader->takePages(m_generation);
    for (auto page = delivery.pages.cbegin(); page != delivery.pages.cend(); ++page)
        takePage(page.key(), page.value());
    for (int page : std::as_const(delivery.failedPages))
        pageFailed(page);
    return !delivery.pages.isEmpty() || !delivery.failedPages.isEmpty();
}

void PagedQueryModel::takePage(int page, const Rows& rows) const
{
    m_requested.remove(page);
    m_retry.remove(page);
    m_unpackedRow = -1;
    const bool readAgain = m_pages.contains(page);
    m_pages.insert(page, rows);
    m_stale.insert(page, QDeadlineTimer(heldPageMs));
    dropFarPages(page);
    // A page read again while it was shown: the view draws it anew, after
    // the drawing under way, which may be what asked for it.
    if (readAgain) {
        auto* self = const_cast<PagedQueryModel*>(this);
        QTimer::singleShot(0, self, [self, page, generation = m_generation] {
            const int first = page * pageRows;
            const int last = std::min(int(self->m_keys.size()), first + pageRows) - 1;
            if (generation == self->m_generation && last >= first && self->m_pages.contains(page))
                emit self->dataChanged(self->index(first, 0), self->index(last, self->m_columns - 1));
        });
    }
}

// What was shown of the page stays; the view asks again once it may be
// read.
void PagedQueryModel::pageFailed(int page) const
{
    m_requested.remove(page);
    m_retry.insert(page, QDeadlineTimer(retryMs));
    auto* self = const_cast<PagedQueryModel*>(this);
    QTimer::singleShot(retryMs, self, [self, page, generation = m_generation] {
        const int first = page * pageRows;
        const int last = std::min(int(self->m_keys.size()), first + pageRows) - 1;
        if (generation == self->m_generation && last >= first)
            emit self->dataChanged(self->index(first, 0), self->index(last, self->m_columns - 1));
    });
}

void PagedQueryModel::requestPage(int page) const
{
    if (m_requested.contains(page) || !m_reader)
        return;
    const auto retry = m_retry.constFind(page);
    if (retry != m_retry.cend() && !retry->hasExpired())
        return;
    m_requested.insert(page);
    m_reader->requestPage(m_generation, page, m_keys.mid(qsizetype(page) * pageRows, pageRows));
    if (m_borrow) {
        m_reader->serve();
        absorbPages();
        return;
    }
    // A page held is shown as it is until it comes again.
    if (m_pages.contains(page))
        return;
    // The reader is free, or on SQLite reads pages beside the list: the
    // page is read in a moment, before the view draws.
    if (m_reading && m_readerType != DatabaseSqlite)
        return;
    const QDeadlineTimer deadline(waitMs);
    while (m_requested.contains(page) && !deadline.hasExpired()) {
        m_reader->waitForPost(int(deadline.remainingTime()), &m_seenPosts);
        absorbPages();
    }
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
        m_stale.remove(farthest);
    }
}

void PagedQueryModel::clearRows()
{
    m_unpackedRow = -1;
    m_pages.clear();
    m_requested.clear();
    m_retry.clear();
    m_stale.clear();
}

bool PagedQueryModel::isRowGone(int row) const
{
    const auto page = m_pages.constFind(row / pageRows);
    return row >= 0 && row < m_keys.size() && page != m_pages.cend() && page->value(row % pageRows).isEmpty();
}

int PagedQueryModel::rowOfKey(qint64 key) const
{
    return int(m_keys.indexOf(key));
}

int PagedQueryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_keys.size());
}

int PagedQueryModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QVariant PagedQueryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_keys.size() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    if (index.column() == 0)
        return m_keys.at(index.row());
    const int page = index.row() / pageRows;
    if (!m_pages.contains(page)) {
        requestPage(page);
        if (!m_pages.contains(page))
            return QVariant();
    } else if (m_stale.value(page).hasExpired()) {
        requestPage(page);
    }
    if (m_unpackedRow != index.row()) {
        const Rows& rows = m_pages[page];
        const int row = index.row() % pageRows;
        // An empty row: the key's row is gone from the list since it was read.
        m_unpacked = row < rows.size() && !rows.at(row).isEmpty() ? ListReader::unpackRow(rows.at(row))
                                                                  : QVariantList();
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
    return !parent.isValid() && m_reading;
}

// The keys come in on their own; a view that has reached the last of them
// takes what has come meanwhile.
void PagedQueryModel::fetchMore(const QModelIndex& parent)
{
    if (canFetchMore(parent))
        absorb(listWaitMs);
}
