#include "database/ListReader.h"

#include <QDataStream>
#include <QIODevice>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>

namespace {
QString newConnectionName()
{
    static std::atomic<int> count{0};
    return QStringLiteral("list reader %1").arg(++count);
}
} // namespace

ListReader::ListReader(const QString& source, const QString& use)
    : m_source(source), m_name(newConnectionName()), m_use(use)
{
}

ListReader::~ListReader()
{
    m_result.reset();
    if (!QSqlDatabase::contains(m_name))
        return;
    QSqlDatabase::database(m_name, false).close();
    QSqlDatabase::removeDatabase(m_name);
}

// Opened in this object's thread, the only one that may use it.
bool ListReader::open()
{
    if (!QSqlDatabase::contains(m_name))
        QSqlDatabase::cloneDatabase(m_source, m_name);
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (db.isOpen())
        return true;
    if (!db.open())
        return false;
    if (!m_use.isEmpty() && !QSqlQuery(db).exec(m_use)) {
        db.close();
        return false;
    }
    return true;
}

QByteArray ListReader::packRow(const QSqlQuery& query)
{
    QByteArray row;
    QDataStream out(&row, QIODevice::WriteOnly);
    const int columns = query.record().count();
    out << qint32(columns);
    for (int c = 0; c < columns; ++c)
        out << query.value(c);
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

void ListReader::read(int generation, const QString& firstPage, const QString& statement,
                      const QVariantMap& values, int pageRows)
{
    m_result.reset();
    if (generation != m_latest.load())
        return;
    if (!open()) {
        emit failed(generation, statement, QSqlDatabase::database(m_name, false).lastError());
        return;
    }
    m_generation = generation;
    m_pageRows = pageRows;
    const auto run = [&](QSqlQuery& query, const QString& text) {
        query.prepare(text);
        for (auto value = values.begin(); value != values.end(); ++value)
            query.bindValue(value.key(), value.value());
        if (query.exec())
            return true;
        emit failed(generation, text, query.lastError());
        return false;
    };

    QSqlQuery first(QSqlDatabase::database(m_name, false));
    first.setForwardOnly(true);
    if (!run(first, firstPage))
        return;
    QList<QByteArray> rows;
    while (first.next())
        rows << packRow(first);
    first.finish();
    emit pageRead(generation, 0, rows);
    if (rows.size() < pageRows) {
        QVariantList keys;
        for (const QByteArray& row : std::as_const(rows))
            keys << unpackRow(row, 1).value(0);
        emit counted(generation, keys);
        return;
    }
    if (generation != m_latest.load())
        return;

    // The whole list stays with the client library, in its own compact form
    // (on SQL Server, a static cursor, as Qt's query model has always used
    // there), and the pages are taken from it as the view asks for them.
    auto all = std::make_unique<QSqlQuery>(QSqlDatabase::database(m_name, false));
    if (!run(*all, statement))
        return;
    QVariantList keys;
    if (all->first()) {
        do
            keys << all->value(0);
        while (all->next());
    }
    m_result = std::move(all);
    // Another workstation may have changed the list between the two
    // statements: the first page is then sent again as it now stands.
    if (rows != pageOf(0))
        emit pageRead(generation, 0, pageOf(0));
    emit counted(generation, keys);
}

void ListReader::readPage(int generation, int page)
{
    if (generation == m_generation && generation == m_latest.load())
        emit pageRead(generation, page, pageOf(page));
}

QList<QByteArray> ListReader::pageOf(int page)
{
    QList<QByteArray> rows;
    if (!m_result || !m_result->seek(page * m_pageRows))
        return rows;
    do
        rows << packRow(*m_result);
    while (rows.size() < m_pageRows && m_result->next());
    return rows;
}
