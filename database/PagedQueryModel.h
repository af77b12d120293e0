#pragma once

#include <QAbstractTableModel>
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

// The rows of a statement, read a page at a time and given to the view as
// it scrolls (canFetchMore / fetchMore), as Qt's query model gives them.
//
// On SQLite every page is a statement of its own (LIMIT and OFFSET), read
// to its end at once: no statement is left open to hold the file's shared
// lock while the window idles, and only the pages near the rows the view
// asks for are kept, so that a list of any length costs a few pages.
//
// A server's list is read by a ListReader in a thread of its own: the
// window never waits for the server. The first page shows as soon as the
// server has sent it; the reader keeps the whole result and sends further
// pages as the view asks for them (their cells are empty until then, for
// the moment that takes).
class PagedQueryModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // columns: how many the statements give; known before any row is.
    explicit PagedQueryModel(int columns, QObject* parent = nullptr);
    ~PagedQueryModel() override;

    static constexpr int pageRows = 256;

    // An expression the list is sorted by, and the column that gives its
    // value in every row.
    struct SortKey
    {
        QString expression;
        int column = 0;
        bool descending = false;
    };
    // " ORDER BY" the keys, or the other way round.
    static QString orderBy(const QList<SortKey>& keys, bool reversed = false);

    // The list is sorted by order, which must give every row a place of its
    // own so that the pages neither repeat nor miss a row (its last key
    // never NULL); statement then
    // ends in its WHERE clause, no ORDER BY, as a page is sought from a row
    // of a page held by adding to it. Without order, statement holds its
    // own ORDER BY (with that same care). Column 0 is the row's key (a
    // selection is read by it). values are bound by name. False when the
    // statement failed (reported; the list is then empty).
    bool setStatement(const QString& statement, const QVariantMap& values = {}, const QList<SortKey>& order = {});
    const QString& statement() const { return m_statement; }
    // Whether rows of the last statement are still to come from the server.
    bool isReading() const { return m_reading; }
    // The first row given to the view whose column holds value, among the
    // rows held; -1 when none.
    int rowOf(int column, const QVariant& value) const;

    // statement limited to rows rows from offset on, in the back-end's words.
    static QString pageStatement(const QString& statement, int type, int offset, int rows);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role = Qt::EditRole) override;
    bool canFetchMore(const QModelIndex& parent = QModelIndex()) const override;
    void fetchMore(const QModelIndex& parent = QModelIndex()) override;

private:
    using Rows = QList<QByteArray>;

    bool readPage(int page) const;
    QString soughtPage(int page, QVariantMap& values, bool& backward) const;
    void dropFarPages(int near) const;
    void show(int rows);
    void startReader();
    void stopReader();
    void takePage(int generation, int page, const Rows& rows);
    void takeKeys(int generation, const QVariantList& keys);
    void requestPage(int page) const;
    void readFailed(int generation, const QString& statement, const QSqlError& error);
    void clearRows();

    const int m_columns;
    QString m_statement;
    QString m_where;
    QList<SortKey> m_order;
    QVariantMap m_values;
    bool m_server = false;
    // Rows given to the view; on a server, the rows known to be there.
    int m_shown = 0;
    int m_read = 0;
    bool m_atEnd = true;
    bool m_reading = false;
    bool m_wanted = false;
    int m_generation = 0;
    mutable QHash<int, Rows> m_pages;
    mutable QSet<int> m_requested;
    // A server list's column 0, every row's.
    QVariantList m_keys;
    // The row that data() unpacked last: a view asks for it cell by cell.
    mutable int m_unpackedRow = -1;
    mutable QVariantList m_unpacked;
    QHash<int, QVariant> m_headers;

    QThread* m_thread = nullptr;
    ListReader* m_reader = nullptr;
    QString m_readerSource;
    QPointer<Database> m_readerDatabase;
};
