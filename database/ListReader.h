#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSqlError>
#include <QString>
#include <QVariant>
#include <atomic>
#include <memory>

// Reads a list's rows from a server on a connection of its own, in the
// thread it is moved to, so that the window never waits for the server:
// Qt's drivers take a whole result from the server before the first row is
// handed over, and a large sorted list keeps the server busy for most of a
// second. The first page is asked for on its own, so that the first screen
// does not wait for the rest. The whole result is then kept here, as the
// client library holds it, and pages of it are sent as they are asked for.
class QSqlQuery;

class ListReader : public QObject
{
    Q_OBJECT
public:
    // source: the name of the connection to copy; use: the statement that
    // selects the database on a new connection, if it needs one.
    ListReader(const QString& source, const QString& use);
    ~ListReader() override;

    // Any thread: a newer list was asked for, the reading of older ones
    // stops at its next chunk.
    void supersede(int generation) { m_latest.store(generation); }

    // A row kept as the bytes of its values: a tenth of the memory that
    // the values themselves take in a long list.
    static QByteArray packRow(const QSqlQuery& query);
    // The values of the first columns columns, all when -1.
    static QVariantList unpackRow(const QByteArray& row, int columns = -1);

public slots:
    // firstPage: statement limited to its first pageRows rows; both give
    // every row a place of its own.
    void read(int generation, const QString& firstPage, const QString& statement, const QVariantMap& values,
              int pageRows);
    void readPage(int generation, int page);

signals:
    void pageRead(int generation, int page, const QList<QByteArray>& rows);
    // The whole list's column 0, its keys: how many rows it has, and what
    // a selection of rows not sent yet needs of them.
    void counted(int generation, const QVariantList& keys);
    void failed(int generation, const QString& statement, const QSqlError& error);

private:
    bool open();
    QList<QByteArray> pageOf(int page);

    QString m_source;
    QString m_name;
    QString m_use;
    std::atomic<int> m_latest{0};
    int m_generation = 0;
    int m_pageRows = 0;
    std::unique_ptr<QSqlQuery> m_result;
};
