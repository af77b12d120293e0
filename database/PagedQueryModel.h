#pragma once

#include <QAbstractTableModel>
#include <QDeadlineTimer>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QSet>
#include <QSqlError>
#include <QString>
#include <QVariant>

class Database;
class ListReader;
class QThread;

// The rows of a statement, for a view. The list is its keys (column 0 of
// every row, in order), read once per statement by a ListReader away from
// the window: row N is the same row for the life of the list whatever other
// workstations write, and a selection is taken from the keys. The cells of
// the rows the view shows are read by key, a page at a time, and only the
// pages near them are kept; a page read a moment ago shows at once, a
// slower one when it comes, and one that cannot be read now (a busy file, a
// lost server) is tried again.
class PagedQueryModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // columns: how many the statements give; known before any row is.
    explicit PagedQueryModel(int columns, QObject* parent = nullptr);
    ~PagedQueryModel() override;

    static constexpr int pageRows = 256;
    // How long the window waits at most for a list's rows to come, so that
    // a short list shows before the window draws again: well under a stall.
    // A test that looks at a list straight after asking for it allows more,
    // as a slow build (the sanitizers, a loaded machine) reads more slowly.
    static inline int listWaitMs = 30;
    // A page held longer than this is read again, in the background, when
    // the view next asks for it: its rows show what other workstations
    // changed since, the ones they deleted among them.
    static inline int heldPageMs = 5000;

    // An expression the list is sorted by, and the column that gives its
    // value in every row.
    struct SortKey
    {
        QString expression;
        int column = 0;
        bool descending = false;
    };
    // " ORDER BY" the keys.
    static QString orderBy(const QList<SortKey>& keys);

    // statement ends in its WHERE clause, without ORDER BY; the list is
    // sorted by order, whose last key is the row's key (column 0, never
    // NULL) and makes the order whole; without order no page is read. values are bound by name. False
    // when there is no database; a list that cannot be read is told with
    // listFailed and stays empty.
    bool setStatement(const QString& statement, const QVariantMap& values = {}, const QList<SortKey>& order = {});
    const QString& statement() const { return m_statement; }
    // The statement as given, without its order, and its values.
    const QString& where() const { return m_where; }
    const QVariantMap& values() const { return m_values; }
    // Whether keys of the last statement are still to come.
    bool isReading() const { return m_reading; }
    // The row of key, among the keys read so far; -1 when none.
    int rowOfKey(qint64 key) const;
    qint64 keyAt(int row) const { return m_keys.value(row); }
    // Whether row's page, read since the list was, no longer finds it: the
    // row was deleted, or no longer belongs to the list. It stays until a
    // refresh, so that the rows after it keep their places.
    bool isRowGone(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role = Qt::EditRole) override;
    bool canFetchMore(const QModelIndex& parent = QModelIndex()) const override;
    void fetchMore(const QModelIndex& parent = QModelIndex()) override;

signals:
    // The list's statement failed: its rows cannot be shown.
    void listFailed(const QString& statement, const QSqlError& error);

private:
    using Rows = QList<QByteArray>;

    void startReader(Database* db);
    void stopReader();
    void runList();
    // Takes what the reader posted; waitMs: how long to wait for a post
    // first when nothing else has come.
    void absorb(int waitMs = 0);
    bool absorbPages() const;
    void takePage(int page, const Rows& rows) const;
    void pageFailed(int page) const;
    void requestPage(int page) const;
    void dropFarPages(int near) const;
    void clearRows();

    const int m_columns;
    QString m_statement;
    QString m_where;
    QString m_key;
    QVariantMap m_values;
    bool m_reading = false;
    int m_generation = 0;
    QList<qint64> m_keys;
    mutable QHash<int, Rows> m_pages;
    mutable QSet<int> m_requested;
    // Pages that could not be read, and when they are tried again.
    mutable QHash<int, QDeadlineTimer> m_retry;
    // When each page held was read, after which it is read again.
    mutable QHash<int, QDeadlineTimer> m_stale;
    mutable quint64 m_seenPosts = 0;
    // The row that data() unpacked last: a view asks for it cell by cell.
    mutable int m_unpackedRow = -1;
    mutable QVariantList m_unpacked;
    QHash<int, QVariant> m_headers;

    QThread* m_thread = nullptr;
    ListReader* m_reader = nullptr;
    QString m_readerSource;
    QPointer<Database> m_readerDatabase;
    int m_readerType = 0;
    // The database refused the reader a connection of its own: lists are
    // read on the window's.
    bool m_borrow = false;
};
