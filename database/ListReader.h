#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QSet>
#include <QSqlError>
#include <QString>
#include <QVariant>
#include <QWaitCondition>
#include <functional>

class QSqlDatabase;
class QSqlQuery;

// Reads a list for a model: first its keys, every row's, in the list's order
// and in one statement, then the cells of the rows the view shows, a page of
// keys at a time. The keys make a row the same row for the life of the
// list whatever other workstations write, and the list's sort runs once.
//
// A reader normally has a connection and a thread of its own, so that the
// window waits neither for a sort, nor for a file that another program
// holds, nor for a server that went away; a statement under way is
// cancelled when the list is given up. Where the database refuses a second
// connection, a reader borrows the window's own and runs in its thread.
//
// What has been read is posted here, under a lock, for the model to take
// when it is told of it, or when it waits for it a moment.
class ListReader : public QObject
{
    Q_OBJECT
public:
    using Rows = QList<QByteArray>;

    // source: the name of the connection to copy (or to use, when borrowed);
    // use: the statement that selects the database on a new connection.
    ListReader(const QString& source, const QString& use, bool borrowed);
    ~ListReader() override;

    // What the model takes of what was posted for its list.
    struct Delivery
    {
        QList<qint64> keys;
        // The list's first rows, whole: the first screen needs no page read.
        Rows firstRows;
        bool hasFirstRows = false;
        bool done = false;
        bool refused = false;
        QString failedStatement;
        QSqlError error;
        QHash<int, Rows> pages;
        QSet<int> failedPages;
    };

    // Any thread. A new list: what is posted or asked for older ones is
    // dropped, and a statement of theirs still under way is cancelled.
    void supersede(int generation);
    // Any thread: the statement under way is cancelled on the database.
    void cancel();
    // Any thread: asks for a page of the list of generation, rows by key.
    void requestPage(int generation, int page, const QList<qint64>& keys);
    // Any thread: moves out what was posted for generation.
    Delivery take(int generation);
    // Any thread: only the pages, which a model may take while a view asks
    // for cells (it may not change its rows then).
    Delivery takePages(int generation);
    // Any thread: waits at most ms for a post after the seen-th; false when
    // none came. seen is then the count of posts.
    bool waitForPost(int ms, quint64* seen);
    bool borrowed() const { return m_borrowed; }

    // A row kept as the bytes of its values: a tenth of the memory that
    // the values themselves take.
    static QByteArray packRow(const QSqlQuery& query);
    static QByteArray packValues(const QVariantList& values);
    // The values of the first columns columns, all when -1.
    static QVariantList unpackRow(const QByteArray& row, int columns = -1);

public slots:
    // statement: the whole list, in order, column 0 its key; pageStatement:
    // the same rows without order, to which " AND key IN (...)" is added.
    void readList(int generation, const QString& statement, const QString& pageStatement, const QString& key,
                  const QVariantMap& values, int pageRows);
    // Reads the pages asked for.
    void serve();

signals:
    // Something was posted; the model takes it.
    void posted();

private:
    struct PageRequest
    {
        int generation = 0;
        int page = 0;
        QList<qint64> keys;
    };
    struct Progress;

    bool open();
    QSqlDatabase connection() const;
    bool current(int generation) const;
    void post(int generation, const std::function<void(Delivery&)>& put);
    // False once the list is given up, or once a key meets another than the
    // one shown in its place.
    bool addKey(Progress& progress, qint64 key, const std::function<QByteArray()>& row);
    void flushKeys(Progress& progress, bool done);
    QSqlError readKeys(Progress& progress, const QString& statement, const QVariantMap& values);
    QSqlError readKeysAsText(Progress& progress, const QString& text);
    QSqlError readSortedAsText(Progress& progress, const QString& text);
    QSqlError readSortedByIndex(Progress& progress, const QString& statement, const QVariantMap& values);
    bool sortsByIndex(const QString& statement, const QVariantMap& values);
    void servePages();
    void readPage(const PageRequest& request);
    // The rows of keys, in their order; false when they could not be read.
    bool rowsByKey(const QList<qint64>& keys, Rows* rows);
    // The statement under way, which cancel() stops: a handle of the
    // back-end's, null when none runs.
    void running(void* handle);
    bool prepareAndRun(QSqlQuery& query, const QString& statement, const QVariantMap& values);

    const QString m_source;
    const QString m_name;
    const QString m_use;
    const bool m_borrowed;
    int m_type = 0;
    // On MySQL, the server's id of the connection whose socket a cancel
    // closed: its statement is stopped on the server from the next one.
    unsigned long m_cancelledThread = 0;
    bool m_broken = false;

    // The list being read, kept for its pages; this thread only.
    QString m_pageStatement;
    QString m_key;
    QVariantMap m_values;
    int m_listGeneration = -1;

    mutable QMutex m_mutex;
    QWaitCondition m_posted;
    int m_latest = 0;
    QHash<int, Delivery> m_deliveries;
    QList<PageRequest> m_requests;
    void* m_handle = nullptr;
    // Posted and not taken yet: the model has been told.
    bool m_fresh = false;
    quint64 m_posts = 0;
};
