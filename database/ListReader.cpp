#include "database/ListReader.h"

#include "database/Database.h"
#include "database/MySqlTextStatement.h"
#include "database/StatementBatch.h"
#include "database/WriteLock.h"

#include <QDataStream>
#include <QDateTime>
#include <QElapsedTimer>
#include <QIODevice>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>
#include <QStringList>

#include <mysql.h>
#include <sql.h>
#include <sqlite3.h>
#include <sys/socket.h>

namespace {
// Keys are posted in batches: the first screen's as soon as they are read,
// then at most this many at a time, or after this long.
constexpr int keysPerPost = 16384;
constexpr int msPerPost = 50;
// How long a statement waits for a file that another program writes: a
// page is tried again later, and a stop is not held up.
constexpr int busyMs = 250;
// How long the list itself waits for such a file before it is given up:
// as long as a write waits for the lock.
int busyListMs()
{
    return WriteLock::waitSeconds * 1000;
}

QString newConnectionName()
{
    static std::atomic<int> count{0};
    return QStringLiteral("list reader %1").arg(++count);
}

// The back-end's handle behind a query: the connection's for SQLite and
// MySQL, the statement's for ODBC (the one its cancel takes).
void* handleOf(const QSqlQuery& query, int type)
{
    const QVariant handle = type == DatabaseMsSql && query.result() ? query.result()->handle()
                                                                     : query.driver()->handle();
    return handle.isValid() && handle.data() ? *static_cast<void* const*>(handle.constData()) : nullptr;
}

// The list's statement selecting its key alone.
QString keysOnly(const QString& statement, const QString& key)
{
    return QStringLiteral("SELECT ") + key + statement.mid(statement.indexOf(QStringLiteral(" FROM ")));
}

// The list's statement with its first sort term kept from any index: the
// whole list is sorted in one pass instead of read row by row in the
// index's order. The term's collation stays the column's.
QString sortedUnindexed(const QString& statement)
{
    const QString orderBy = QStringLiteral(" ORDER BY ");
    const qsizetype at = statement.lastIndexOf(orderBy);
    return at < 0 ? statement : QString(statement).insert(at + orderBy.size(), QLatin1Char('+'));
}

QSqlError rowsChanged(const char* driver)
{
    return QSqlError(QLatin1String(driver) + QStringLiteral(": The list's rows changed while it was read"), QString(),
                     QSqlError::StatementError);
}

bool busy(const QSqlError& error, int type)
{
    return type == DatabaseSqlite
           && (error.nativeErrorCode() == QLatin1String("5") || error.nativeErrorCode() == QLatin1String("6"));
}

// A value of a MySQL text row as Qt's MySQL driver gives it.
QVariant mySqlValue(const char* data, unsigned long length, const MYSQL_FIELD& field)
{
    if (!data)
        return QVariant();
    const QByteArray bytes = QByteArray::fromRawData(data, qsizetype(length));
    const bool isUnsigned = field.flags & UNSIGNED_FLAG;
    switch (field.type) {
    case MYSQL_TYPE_TINY:
    case MYSQL_TYPE_SHORT:
    case MYSQL_TYPE_LONG:
    case MYSQL_TYPE_INT24:
    case MYSQL_TYPE_YEAR:
        return isUnsigned ? QVariant(bytes.toUInt()) : QVariant(bytes.toInt());
    case MYSQL_TYPE_LONGLONG:
        return isUnsigned ? QVariant(bytes.toULongLong()) : QVariant(bytes.toLongLong());
    case MYSQL_TYPE_FLOAT:
    case MYSQL_TYPE_DOUBLE:
    case MYSQL_TYPE_DECIMAL:
    case MYSQL_TYPE_NEWDECIMAL:
        return bytes.toDouble();
    case MYSQL_TYPE_DATE:
        return QDate::fromString(QString::fromLatin1(bytes), Qt::ISODate);
    case MYSQL_TYPE_TIME:
        return QTime::fromString(QString::fromLatin1(bytes), Qt::ISODate);
    case MYSQL_TYPE_DATETIME:
    case MYSQL_TYPE_TIMESTAMP:
        return QDateTime::fromString(QString::fromLatin1(bytes), Qt::ISODate);
    case MYSQL_TYPE_TINY_BLOB:
    case MYSQL_TYPE_MEDIUM_BLOB:
    case MYSQL_TYPE_LONG_BLOB:
    case MYSQL_TYPE_BLOB:
        // The binary character set: bytes, not text.
        if (field.charsetnr == 63)
            return QByteArray(data, qsizetype(length));
        break;
    default:
        break;
    }
    return QString::fromUtf8(bytes);
}
} // namespace

// Keys read so far and not posted yet, with the list's first rows.
struct ListReader::Progress
{
    int generation = 0;
    int pageRows = 0;
    Rows firstRows;
    QList<qint64> keys;
    QList<qint64> firstKeys;
    // Keys already posted that the list's whole statement reads again first.
    QList<qint64> shown;
    qsizetype seen = 0;
    bool changed = false;
    bool firstPosted = false;
    bool firstByKey = false;
    QElapsedTimer sincePost;
};

ListReader::ListReader(const QString& source, const QString& use, bool borrowed)
    : m_source(source), m_name(borrowed ? source : newConnectionName()), m_use(use), m_borrowed(borrowed)
{
}

ListReader::~ListReader()
{
    if (m_borrowed || !QSqlDatabase::contains(m_name))
        return;
    QSqlDatabase::database(m_name, false).close();
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase ListReader::connection() const
{
    return QSqlDatabase::database(m_name, false);
}

// Opened in this object's thread, the only one that uses it.
bool ListReader::open()
{
    if (!m_borrowed && !QSqlDatabase::contains(m_name))
        QSqlDatabase::cloneDatabase(m_source, m_name);
    QSqlDatabase db = connection();
    const QString driver = db.driverName();
    m_type = driver == QLatin1String("QMYSQL") ? DatabaseMySql
             : driver == QLatin1String("QODBC") ? DatabaseMsSql
                                                : DatabaseSqlite;
    if (m_borrowed)
        return db.isOpen();
    // A cancel closed the socket under the client library: a connection anew.
    if (m_broken)
        db.close();
    m_broken = false;
    if (db.isOpen())
        return true;
    if (!db.open())
        return false;
    if (!m_use.isEmpty() && !QSqlQuery(db).exec(m_use)) {
        db.close();
        return false;
    }
    if (m_type == DatabaseSqlite)
        QSqlQuery(db).exec(QStringLiteral("PRAGMA busy_timeout=%1").arg(busyMs));
    // The server sorts a list's rows with their values. Left to its default
    // for rows this wide, it sorts row ids and then reads each row again in
    // the sorted order: on a register larger than its buffer pool, 400,000
    // assets took half a minute to read instead of a second. A server that
    // no longer has the setting sorts with the values anyway.
    if (m_type == DatabaseMySql)
        QSqlQuery(db).exec(QStringLiteral("SET SESSION max_length_for_sort_data=8192"));
    // A sorted list is read in two statements that must see the same rows,
    // whatever level the server gives its sessions.
    if (m_type == DatabaseMySql)
        QSqlQuery(db).exec(QStringLiteral("SET SESSION TRANSACTION ISOLATION LEVEL REPEATABLE READ"));
    // The server may still be sorting for the list that was given up.
    if (m_type == DatabaseMySql && m_cancelledThread != 0)
        QSqlQuery(db).exec(QStringLiteral("KILL QUERY %1").arg(m_cancelledThread));
    m_cancelledThread = 0;
    return true;
}

bool ListReader::current(int generation) const
{
    QMutexLocker lock(&m_mutex);
    return generation == m_latest;
}

void ListReader::supersede(int generation)
{
    {
        QMutexLocker lock(&m_mutex);
        m_latest = generation;
        m_deliveries.clear();
        m_requests.clear();
        m_fresh = false;
    }
    cancel();
}

void ListReader::cancel()
{
    if (m_borrowed)
        return;
    QMutexLocker lock(&m_mutex);
    if (!m_handle)
        return;
    switch (m_type) {
    case DatabaseSqlite:
        sqlite3_interrupt(static_cast<sqlite3*>(m_handle));
        break;
    case DatabaseMySql: {
        // The client library waits in a read of the socket; once it is shut
        // the read ends at once, whatever the server does.
        auto* mysql = static_cast<MYSQL*>(m_handle);
        m_cancelledThread = mysql_thread_id(mysql);
        ::shutdown(mysql_get_socket(mysql), SHUT_RDWR);
        m_broken = true;
        break;
    }
    default:
        SQLCancel(static_cast<SQLHSTMT>(m_handle));
        break;
    }
}

void ListReader::running(void* handle)
{
    QMutexLocker lock(&m_mutex);
    m_handle = handle;
}

void ListReader::post(int generation, const std::function<void(Delivery&)>& put)
{
    {
        QMutexLocker lock(&m_mutex);
        if (generation != m_latest)
            return;
        put(m_deliveries[generation]);
        ++m_posts;
        const bool told = m_fresh;
        m_fresh = true;
        m_posted.wakeAll();
        if (told)
            return;
    }
    emit posted();
}

ListReader::Delivery ListReader::take(int generation)
{
    QMutexLocker lock(&m_mutex);
    m_fresh = false;
    return m_deliveries.take(generation);
}

ListReader::Delivery ListReader::takePages(int generation)
{
    QMutexLocker lock(&m_mutex);
    Delivery pages;
    const auto posted = m_deliveries.find(generation);
    if (posted != m_deliveries.end()) {
        pages.pages.swap(posted->pages);
        pages.failedPages.swap(posted->failedPages);
    }
    return pages;
}

bool ListReader::waitForPost(int ms, quint64* seen)
{
    QMutexLocker lock(&m_mutex);
    if (m_posts == *seen)
        m_posted.wait(&m_mutex, QDeadlineTimer(ms));
    const bool came = m_posts != *seen;
    *seen = m_posts;
    return came;
}

void ListReader::requestPage(int generation, int page, const QList<qint64>& keys)
{
    {
        QMutexLocker lock(&m_mutex);
        if (generation != m_latest)
            return;
        m_requests.append({generation, page, keys});
    }
    QMetaObject::invokeMethod(this, &ListReader::serve, Qt::QueuedConnection);
}

QByteArray ListReader::packRow(const QSqlQuery& query)
{
    QVariantList values;
    const int columns = query.record().count();
    values.reserve(columns);
    for (int c = 0; c < columns; ++c)
        values << query.value(c);
    return packValues(values);
}

QByteArray ListReader::packValues(const QVariantList& values)
{
    QByteArray row;
    QDataStream out(&row, QIODevice::WriteOnly);
    out << qint32(values.size());
    for (const QVariant& value : values)
        out << value;
    return row;
}

QVariantList ListReader::unpackRow(const QByteArray& row, int columns)
{
    QDataStream in(row);
    qint32 packed = 0;
    in >> packed;
    if (columns < 0 || columns > packed)
        columns = packed;
    QVariantList values;
    values.reserve(columns);
    for (int c = 0; c < columns; ++c) {
        QVariant value;
        in >> value;
        values << value;
    }
    return values;
}

bool ListReader::prepareAndRun(QSqlQuery& query, const QString& statement, const QVariantMap& values)
{
    if (m_borrowed)
        StatementBatch::flush(query.driver());
    query.setForwardOnly(true);
    if (!query.prepare(statement))
        return false;
    for (auto value = values.begin(); value != values.end(); ++value)
        query.bindValue(value.key(), value.value());
    running(handleOf(query, m_type));
    return query.exec();
}

void ListReader::readList(int generation, const QString& statement, const QString& pageStatement,
                          const QString& key, const QVariantMap& values, int pageRows)
{
    if (!current(generation))
        return;
    m_pageStatement = pageStatement;
    m_key = key;
    m_values = values;
    m_listGeneration = generation;
    if (!open()) {
        const QSqlError error = connection().lastError();
        post(generation, [&](Delivery& d) {
            d.refused = true;
            d.failedStatement = statement;
            d.error = error;
        });
        return;
    }
    Progress progress;
    progress.generation = generation;
    progress.pageRows = pageRows;
    progress.sincePost.start();
    QSqlError error;
    MySqlTextStatement text(statement);
    for (auto value = values.begin(); value != values.end(); ++value)
        text.bindValue(value.key(), value.value());
    QString sql;
    // Sorted by more than the key: the server sorts before it sends a row.
    const qsizetype orderAt = statement.lastIndexOf(QStringLiteral(" ORDER BY "));
    const bool sorted = orderAt >= 0 && statement.indexOf(QLatin1Char(','), orderAt) >= 0;
    if (m_type == DatabaseMySql && text.text(&sql)) {
        error = sorted && !m_borrowed ? readSortedAsText(progress, sql) : readKeysAsText(progress, sql);
    } else {
        // SQLite sorts only the keys, half the work of whole rows, and
        // reads the first page beside the list once its keys are in.
        progress.firstByKey = m_type == DatabaseSqlite && !key.isEmpty();
        const QString keys = progress.firstByKey ? keysOnly(statement, key) : statement;
        const bool split = sorted && progress.firstByKey && !m_borrowed && sortsByIndex(keys, values);
        QElapsedTimer waited;
        waited.start();
        do
            error = split ? readSortedByIndex(progress, keys, values) : readKeys(progress, keys, values);
        while (busy(error, m_type) && !progress.firstPosted && waited.elapsed() < busyListMs() && current(generation));
    }
    running(nullptr);
    if (!current(generation))
        return;
    if (error.isValid()) {
        post(generation, [&](Delivery& d) {
            d.failedStatement = statement;
            d.error = error;
        });
        return;
    }
    flushKeys(progress, true);
    serve();
}

void ListReader::flushKeys(Progress& progress, bool done)
{
    const bool first = !progress.firstPosted;
    progress.firstPosted = true;
    if (first)
        progress.firstKeys = progress.keys;
    if (first && progress.firstByKey && !rowsByKey(progress.keys, &progress.firstRows))
        progress.firstRows.clear();
    progress.sincePost.restart();
    post(progress.generation, [&](Delivery& d) {
        d.keys += progress.keys;
        if (first) {
            d.firstRows = progress.firstRows;
            d.hasFirstRows = true;
        }
        d.done = done;
    });
    progress.keys.clear();
    progress.firstRows.clear();
}

bool ListReader::addKey(Progress& progress, qint64 key, const std::function<QByteArray()>& row)
{
    if (progress.seen < progress.shown.size()) {
        progress.changed = key != progress.shown.at(progress.seen++);
        return !progress.changed;
    }
    progress.keys << key;
    if (!progress.firstPosted) {
        if (!progress.firstByKey)
            progress.firstRows << row();
        if (progress.keys.size() == progress.pageRows)
            flushKeys(progress, false);
    } else if (progress.keys.size() >= keysPerPost || progress.sincePost.elapsed() >= msPerPost) {
        flushKeys(progress, false);
        // SQLite runs a page's statement beside the list's, on this same
        // connection: the screen the user scrolled to need not wait.
        if (m_type == DatabaseSqlite)
            servePages();
        return current(progress.generation);
    }
    return true;
}

QSqlError ListReader::readKeys(Progress& progress, const QString& statement, const QVariantMap& values)
{
    QSqlQuery query(connection());
    if (!prepareAndRun(query, statement, values))
        return query.lastError();
    while (query.next()) {
        if (!addKey(progress, query.value(0).toLongLong(), [&query] { return packRow(query); }))
            return progress.changed ? rowsChanged("QSQLITE") : QSqlError();
    }
    const QSqlError error = query.lastError();
    running(nullptr);
    return error;
}

// MySQL sends a text statement's rows as the server finds them, where Qt's
// driver would first take the whole result: the first screen waits only for
// its own rows.
QSqlError ListReader::readKeysAsText(Progress& progress, const QString& text)
{
    QSqlDatabase db = connection();
    const QVariant handle = db.driver()->handle();
    auto* mysql = handle.isValid() ? *static_cast<MYSQL* const*>(handle.constData()) : nullptr;
    if (!mysql)
        return QSqlError(QStringLiteral("QMYSQL: Unable to execute query"), QString(), QSqlError::ConnectionError);
    if (m_borrowed)
        StatementBatch::flush(db.driver());
    const auto failure = [mysql](const char* what) {
        return QSqlError(QStringLiteral("QMYSQL: ") + QLatin1String(what), QString::fromUtf8(mysql_error(mysql)),
                         QSqlError::StatementError, QString::number(mysql_errno(mysql)));
    };
    running(mysql);
    const QByteArray bytes = text.toUtf8();
    if (mysql_real_query(mysql, bytes.constData(), static_cast<unsigned long>(bytes.size())) != 0)
        return failure("Unable to execute query");
    MYSQL_RES* result = mysql_use_result(mysql);
    if (!result)
        return failure("Unable to store result");
    const unsigned columns = mysql_num_fields(result);
    const MYSQL_FIELD* fields = mysql_fetch_fields(result);
    bool reading = true;
    while (reading) {
        MYSQL_ROW row = mysql_fetch_row(result);
        if (!row)
            break;
        const unsigned long* lengths = mysql_fetch_lengths(result);
        const qint64 key = QByteArray::fromRawData(row[0], qsizetype(lengths[0])).toLongLong();
        const auto values = [&] {
            QVariantList all;
            for (unsigned c = 0; c < columns; ++c)
                all << mySqlValue(row[c], lengths[c], fields[c]);
            return packValues(all);
        };
        reading = addKey(progress, key, values);
    }
    // Given up midway: the rest is not read, the connection is cut instead.
    if (reading && mysql_errno(mysql) == 0) {
        mysql_free_result(result);
        return QSqlError();
    }
    const QSqlError error = reading            ? failure("Unable to fetch data")
                            : progress.changed ? rowsChanged("QMYSQL")
                                               : QSqlError();
    if (!reading)
        cancel();
    mysql_free_result(result);
    return error;
}

// A sorted list's first row comes only once the server has sorted them
// all: 0.5-1 s for 400,000 assets. The first screen's keys are read first
// on their own, which the server answers from an index or by keeping only
// the best keys it meets, and its rows by key; then the whole list. All of
// it sees one snapshot, so the whole list starts with the very rows shown.
QSqlError ListReader::readSortedAsText(Progress& progress, const QString& text)
{
    QSqlQuery snapshot(connection());
    if (!snapshot.exec(QStringLiteral("START TRANSACTION WITH CONSISTENT SNAPSHOT")))
        return snapshot.lastError();
    progress.firstByKey = !m_key.isEmpty();
    const QString first = progress.firstByKey ? keysOnly(text, m_key) : text;
    // The screen's rows are read once its keys' result is done with: the
    // connection runs one statement at a time.
    const int screen = progress.pageRows;
    progress.pageRows = screen + 1;
    QSqlError error = readKeysAsText(progress, first + QStringLiteral(" LIMIT %1").arg(screen));
    progress.pageRows = screen;
    // Fewer rows than a screen: that was the whole list.
    if (!error.isValid() && progress.keys.size() == screen && current(progress.generation)) {
        flushKeys(progress, false);
        progress.shown = progress.firstKeys;
        error = readKeysAsText(progress, text);
    }
    // A cancel has cut the connection, and the transaction with it.
    if (!m_broken)
        snapshot.exec(QStringLiteral("COMMIT"));
    return error;
}

// Whether SQLite walks an index in the list's order rather than sorting
// the rows it finds.
bool ListReader::sortsByIndex(const QString& statement, const QVariantMap& values)
{
    QSqlQuery plan(connection());
    if (!prepareAndRun(plan, QStringLiteral("EXPLAIN QUERY PLAN ") + statement, values))
        return false;
    bool sorter = false;
    while (plan.next())
        sorter = sorter || plan.value(3).toString().contains(QLatin1String("ORDER BY"));
    running(nullptr);
    return !plan.lastError().isValid() && !sorter;
}

// An index in the list's order gives the first screen at once, but the
// whole list read through it visits every row apart, four times as long as
// one sort of them all, with the file kept from the other programs' writes
// meanwhile. The first screen is read through the index, the rest sorted,
// in one read transaction, so that the whole list starts with the very rows
// shown.
QSqlError ListReader::readSortedByIndex(Progress& progress, const QString& statement, const QVariantMap& values)
{
    QSqlQuery transaction(connection());
    if (!transaction.exec(QStringLiteral("BEGIN")))
        return transaction.lastError();
    const int screen = progress.pageRows;
    progress.pageRows = screen + 1;
    QSqlError error = readKeys(progress, statement + QStringLiteral(" LIMIT %1").arg(screen), values);
    progress.pageRows = screen;
    // Fewer rows than a screen: that was the whole list.
    if (!error.isValid() && progress.keys.size() == screen && current(progress.generation)) {
        flushKeys(progress, false);
        progress.shown = progress.firstKeys;
        error = readKeys(progress, sortedUnindexed(statement), values);
    }
    if (!transaction.exec(QStringLiteral("COMMIT")))
        transaction.exec(QStringLiteral("ROLLBACK"));
    return error;
}

void ListReader::serve()
{
    servePages();
}

void ListReader::servePages()
{
    for (;;) {
        PageRequest request;
        {
            QMutexLocker lock(&m_mutex);
            if (m_requests.isEmpty())
                return;
            request = m_requests.takeFirst();
            if (request.generation != m_latest || request.generation != m_listGeneration)
                continue;
        }
        readPage(request);
    }
}

bool ListReader::rowsByKey(const QList<qint64>& keys, Rows* rows)
{
    QStringList texts;
    texts.reserve(keys.size());
    for (qint64 key : keys)
        texts << QString::number(key);
    const QString statement =
        m_pageStatement + QStringLiteral(" AND %1 IN (%2)").arg(m_key, texts.join(QLatin1Char(',')));
    QHash<qint64, QByteArray> byKey;
    if (m_key.isEmpty() || !open())
        return false;
    void* list = nullptr;
    {
        QMutexLocker lock(&m_mutex);
        list = m_handle;
    }
    QSqlQuery query(connection());
    bool ok = prepareAndRun(query, statement, m_values);
    while (ok && query.next())
        byKey.insert(query.value(0).toLongLong(), packRow(query));
    ok = ok && !query.lastError().isValid();
    // The list's statement, when this ran beside it, is the one to cancel again.
    running(list);
    // A key the page no longer finds is a row gone from the list since it
    // was read: its cells stay empty until a refresh.
    rows->clear();
    rows->reserve(keys.size());
    for (qint64 key : keys)
        *rows << byKey.value(key);
    return ok;
}

void ListReader::readPage(const PageRequest& request)
{
    Rows rows;
    const bool ok = rowsByKey(request.keys, &rows);
    post(request.generation, [&](Delivery& d) {
        if (ok)
            d.pages.insert(request.page, rows);
        else
            d.failedPages.insert(request.page);
    });
}
