#include "database/Database.h"
#include "database/MySqlDatabase.h"
#include "database/MySqlTextStatement.h"
#include "database/SqlQuery.h"
#include "database/StatementCache.h"
#include "support/DialogAnswerer.h"
#include "support/MariaDbServer.h"
#include "support/TestEnvironment.h"

#include <QCryptographicHash>
#include <QSqlError>
#include <QtTest>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

using Row = QList<QVariant>;

// A value's literal; a refusal must leave the text it appends to alone.
QString literal(const QVariant& value)
{
    QString out = QStringLiteral("keep");
    if (!MySqlTextStatement::appendLiteral(value, &out))
        return out == QLatin1String("keep") ? QStringLiteral("<refused>") : QStringLiteral("<refused, wrote>");
    return out.mid(4);
}

QString bits(double value)
{
    quint64 b;
    std::memcpy(&b, &value, sizeof b);
    return QString::number(b, 16);
}

// A stored row as exactly as the client can see it: the doubles as bit
// patterns (read through a prepared statement, the binary protocol) and the
// texts and blobs through HEX(), each with whether it is NULL.
QString storedRow(const QSqlDatabase& connection, const QString& table, const QStringList& doubles,
                  const QStringList& others, int id)
{
    QStringList columns = doubles;
    for (const QString& column : others)
        columns << QStringLiteral("HEX(%1)").arg(column) << QStringLiteral("%1 IS NULL").arg(column);
    QSqlQuery read(connection);
    read.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    if (!read.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE Id=?").arg(columns.join(','), table)))
        return QStringLiteral("<prepare failed: %1>").arg(read.lastError().text());
    read.addBindValue(id);
    if (!read.exec() || !read.next())
        return QStringLiteral("<no row %1: %2>").arg(id).arg(read.lastError().text());
    QStringList fields;
    for (int i = 0; i < columns.size(); ++i) {
        const QVariant v = read.value(i);
        fields << (v.isNull() ? QStringLiteral("NULL") : i < doubles.size() ? bits(v.toDouble()) : v.toString());
    }
    return fields.join(QLatin1String(" | "));
}

int sessionCounter(const QSqlDatabase& connection, const char* name)
{
    QSqlQuery status(connection);
    status.exec(QStringLiteral("SHOW SESSION STATUS LIKE '%1'").arg(QLatin1String(name)));
    return status.next() ? status.value(1).toInt() : -1;
}

// Whether a row holds a value that text cannot carry: a text with a
// backslash or a NUL, or a negative zero.
bool needsFallback(const Row& row)
{
    for (const QVariant& v : row) {
        if (v.typeId() == QMetaType::QString
            && (v.toString().contains(QLatin1Char('\\')) || v.toString().contains(QChar(0))))
            return true;
        if (v.typeId() == QMetaType::Double && v.toDouble() == 0 && std::signbit(v.toDouble()))
            return true;
    }
    return false;
}

struct Written
{
    int prepared; // the row's id written through a prepared statement
    int text;     // and through the statement in text mode
    bool fellBack; // whether the text mode's run prepared after all
};

// Writes rows once through an ordinary prepared statement and once through
// one kept in text mode.
QList<Written> writeBothWays(const QSqlDatabase& connection, const QString& table, const QStringList& columns,
                             const QList<Row>& rows, bool positional = false)
{
    const QString statement =
        positional ? QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                         .arg(table, columns.join(','), QStringList(columns.size(), QStringLiteral("?")).join(','))
                   : SqlQuery::insertStatement(table, columns, DatabaseMySql);
    SqlQuery prepared(connection), text(connection);
    prepared.prepare(statement);
    text.prepareAsMySqlText(statement);
    QList<Written> written;
    for (const Row& row : rows) {
        for (int c = 0; c < columns.size(); ++c) {
            if (positional) {
                prepared.bindValue(c, row.at(c));
                text.bindValue(c, row.at(c));
            } else {
                prepared.bindValue(QLatin1Char(':') + columns.at(c), row.at(c));
                text.bindValue(QLatin1Char(':') + columns.at(c), row.at(c));
            }
        }
        prepared.exec();
        const int first = prepared.lastInsertId(DatabaseMySql);
        const int prepares = sessionCounter(connection, "Com_stmt_prepare");
        text.exec();
        const int second = text.lastInsertId(DatabaseMySql);
        written.append({first, second, sessionCounter(connection, "Com_stmt_prepare") != prepares});
    }
    return written;
}

// A database of its own with the program's tables on the test server, made
// current, and dropped again at the end of the test.
struct ScratchDatabase
{
    explicit ScratchDatabase(const QString& hint) : name(MariaDbServer::uniqueName(hint))
    {
        DialogAnswerer answerer;
        answerer.pressNext(QStringLiteral("Yes")); // create it?
        auto* db = new MySqlDatabase;
        if (db->open(MariaDbServer::settings(name)) != 0) {
            delete db;
            return;
        }
        Database::setInstance(db);
        connection = db->connection();
    }
    ~ScratchDatabase()
    {
        connection = QSqlDatabase(); // the database closes its connection
        Database::setInstance(nullptr);
        MariaDbServer::dropDatabase(name);
    }

    QString name;
    QSqlDatabase connection;
};

// The ids that a lookup finds with the given values bound.
QList<int> foundIds(SqlQuery& query, const QVariantMap& values)
{
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        query.bindValue(it.key(), it.value());
    query.exec();
    QList<int> found;
    while (query.next())
        found << query.value(0).toInt();
    return found;
}

} // namespace

// A kept statement on MySQL runs as text with its values written in; a value
// whose literal the server read otherwise than the bound value would be
// stored as other data without any error.
class TestMySqlTextStatement : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { Database::setInstance(nullptr); }
    void placeholdersWhereQtFindsThem();
    void literalsOrRefusal();
    void storesExactlyWhatAPreparedStatementStores();
    void looksUpAsAPreparedStatementDoes();
    void runsWithoutPrepareOrReset();
    void storesABlobNearThePacketLimit();
};

void TestMySqlTextStatement::placeholdersWhereQtFindsThem()
{
    MySqlTextStatement s(QStringLiteral("UPDATE t SET a=:A, b=?, c=':x ?', d=\"?:y\", `e?:z`=:B::int, "
                                        "f='it''s :q' WHERE g=:A AND h=?"));
    QCOMPARE(s.placeholderCount(), 5);
    const QStringList names = {s.placeholder(0), s.placeholder(1), s.placeholder(2), s.placeholder(3),
                               s.placeholder(4)};
    QCOMPARE(names, QStringList({":A", "?", ":B", ":A", "?"}));

    s.bindValue(QStringLiteral(":A"), 7);
    s.bindValue(1, QStringLiteral("x"));
    s.bindValue(QStringLiteral("B"), 2.5);
    s.bindValue(QStringLiteral(":Unknown"), 1);
    s.bindValue(9, 1);
    QString text;
    QVERIFY(s.text(&text));
    // The last '?' was never bound: NULL, as an unbound value is sent.
    QCOMPARE(text, QString("UPDATE t SET a=7, b='x', c=':x ?', d=\"?:y\", `e?:z`=2.5e+00::int, "
                           "f='it''s :q' WHERE g=7 AND h=NULL"));

    // A value that has no safe literal leaves the text alone.
    s.bindValue(4, QStringLiteral("a\\b"));
    QString untouched = QStringLiteral("before");
    QVERIFY(!s.text(&untouched));
    QCOMPARE(untouched, QString("before"));

    MySqlTextStatement none(QStringLiteral("SELECT 'a:b', 1::2, ':' FROM t"));
    QCOMPARE(none.placeholderCount(), 0);
    QVERIFY(none.text(&text));
    QCOMPARE(text, none.statement());
}

void TestMySqlTextStatement::literalsOrRefusal()
{
    // NULL exactly where the driver sends NULL.
    QCOMPARE(literal(QVariant()), QString("NULL"));
    QCOMPARE(literal(QVariant(QMetaType::fromType<int>())), QString("NULL"));
    QCOMPARE(literal(QVariant(QMetaType::fromType<double>())), QString("NULL"));
    QCOMPARE(literal(QString()), QString("NULL"));
    QCOMPARE(literal(QByteArray()), QString("NULL"));
    QCOMPARE(literal(QString("")), QString("''"));
    QCOMPARE(literal(QByteArray("")), QString("X''"));

    QCOMPARE(literal(-42), QString("-42"));
    QCOMPARE(literal(4294967295u), QString("4294967295"));
    QCOMPARE(literal(std::numeric_limits<qint64>::min()), QString("-9223372036854775808"));
    QCOMPARE(literal(std::numeric_limits<qint64>::max()), QString("9223372036854775807"));
    QCOMPARE(literal(std::numeric_limits<quint64>::max()), QString("18446744073709551615"));
    QCOMPARE(literal(true), QString("1"));
    QCOMPARE(literal(false), QString("0"));
    QCOMPARE(literal(QString("O'Brien ''")), QString("'O''Brien '''''"));
    QCOMPARE(literal(QByteArray("\x00\x7f\xff", 3)), QString("X'007fff'"));

    // Doubles: always an exponent (without one the server reads a decimal)
    // and no more digits than give the same double back.
    QCOMPARE(literal(0.1), QString("1e-01"));
    QCOMPARE(literal(-2.5e-310), QString("-2.5e-310"));
    for (double v : {1.0 / 3, 0.12345678901234568, std::numeric_limits<double>::denorm_min(),
                     std::numeric_limits<double>::max(), 0.0, 1e22}) {
        const QString text = literal(v);
        QVERIFY2(text.contains(QLatin1Char('e')), qPrintable(text));
        QCOMPARE(bits(text.toDouble()), bits(v));
        QVERIFY2(text.size() <= 24, qPrintable(text));
    }

    // Refused: values whose literal could read back otherwise, and a blob
    // whose hex could pass the server's packet limit where its bytes fit.
    const QList<QVariant> refused = {QString("back\\slash"),
                                     QString("nul") + QChar(0) + QString("x"),
                                     std::numeric_limits<double>::infinity(),
                                     -std::numeric_limits<double>::infinity(),
                                     std::numeric_limits<double>::quiet_NaN(),
                                     -0.0,
                                     QDate(2026, 3, 10),
                                     QDateTime(QDate(2026, 3, 10), QTime(9, 30)),
                                     QVariantList{1, 2},
                                     QByteArray(1024 * 1024, 'x')};
    for (const QVariant& value : refused)
        QVERIFY2(literal(value) == QLatin1String("<refused>"), qPrintable(value.toString()));
}

void TestMySqlTextStatement::storesExactlyWhatAPreparedStatementStores()
{
    PELVANE_REQUIRE_MARIADB();
    ScratchDatabase scratch(QStringLiteral("text values"));
    QVERIFY(scratch.connection.isOpen());
    const QSqlDatabase& connection = scratch.connection;

    const QList<QVariant> numbers = {0.1,
                                     1.0 / 3,
                                     1e-300,
                                     std::numeric_limits<double>::denorm_min(),
                                     std::numeric_limits<double>::max(),
                                     -std::numeric_limits<double>::max(),
                                     -2.5e-310,
                                     0.12345678901234568,
                                     double(0.1f),
                                     9.8765432109876543e-5,
                                     -123456.78901234567,
                                     0.0,
                                     0.1f,
                                     3.4028235e38f,
                                     std::numeric_limits<qint64>::min(),
                                     std::numeric_limits<quint64>::max(),
                                     Q_INT64_C(9007199254740993),
                                     QString("1e-300"),
                                     -0.0,
                                     QVariant(QMetaType::fromType<double>()),
                                     QVariant()};
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    const QList<QVariant> texts = {QString("O'Brien"),
                                   QString("a */ b"),
                                   QString("x'; DELETE FROM Result; -- "),
                                   QString("-- not a comment"),
                                   QString("line\nbreak"),
                                   QString("cr\rlf\r\n"),
                                   QString("tab\there"),
                                   QString("ctrl") + QChar(0x1A) + QString("z"),
                                   QString::fromUtf8("Caf\xC3\xA9"),
                                   emoji + QString(" outside the BMP"),
                                   QString("?:Name \"q\" `t`"),
                                   QString("padded  "),
                                   QString("C:\\temp\\new"),
                                   QString("back\\slash\\'"),
                                   QString("nul") + QChar(0) + QString("x"),
                                   QString(),
                                   QVariant(QMetaType::fromType<QString>()),
                                   QString("")};

    // Every value in every column of its kind, rows mixing values that run
    // as text and values that fall back, so that the statement switches
    // between the two ways in both directions.
    const QStringList resultColumns = {"ResultLimit", "Result", "TestId", "Status", "ResultGreaterThan",
                                       "CustomName", "CustomUnits"};
    QList<Row> results;
    const int n = int(qMax(numbers.size(), texts.size()));
    for (int i = 0; i < n; ++i)
        results << Row{numbers.at(i % numbers.size()),
                       numbers.at((i + 5) % numbers.size()),
                       -i - 1,
                       i == 0 ? std::numeric_limits<int>::min() : i == 1 ? std::numeric_limits<int>::max() : i,
                       QVariant(i % 2 == 0),
                       texts.at(i % texts.size()),
                       texts.at((texts.size() - 1 - i % texts.size()))};
    // Values in columns of another kind, which the server converts: the
    // literal must convert as the bound value does.
    const QList<QVariant> forIntegers = {2.5, -2.5, 1e9, 0.5f, true, QString("12"), Q_INT64_C(-7)};
    for (int i = 0; i < numbers.size(); ++i)
        results << Row{i, true, std::numeric_limits<int>::min() + i, forIntegers.at(i % forIntegers.size()),
                       false, numbers.at(i), numbers.at((i + 3) % numbers.size())};
    const auto resultIds = writeBothWays(connection, "Result", resultColumns, results);
    for (int i = 0; i < results.size(); ++i) {
        const auto& [prepared, text, fellBack] = resultIds.at(i);
        QCOMPARE(fellBack, needsFallback(results.at(i)));
        const QString expected = storedRow(connection, "Result", {"ResultLimit", "Result"},
                                           {"TestId", "Status", "ResultGreaterThan", "CustomName", "CustomUnits"},
                                           prepared);
        QCOMPARE(storedRow(connection, "Result", {"ResultLimit", "Result"},
                           {"TestId", "Status", "ResultGreaterThan", "CustomName", "CustomUnits"}, text),
                 expected);
        // The reading itself is exact: a bound double comes back with its bits.
        const QVariant limit = results.at(i).at(0);
        if (limit.typeId() == QMetaType::Double && limit.toDouble() != 0)
            QVERIFY2(expected.startsWith(bits(limit.toDouble()) + " |"), qPrintable(expected));
    }

    QByteArray everyByte;
    for (int b = 0; b < 256; ++b)
        everyByte.append(char(b));
    const QList<QVariant> blobs = {everyByte, QByteArray(""), QByteArray(), QByteArray("'\\\0\x1a", 4),
                                   QString("text in a blob")};
    QList<Row> sequences;
    for (int i = 0; i < blobs.size(); ++i)
        sequences << Row{texts.at(i * 3 % texts.size()), blobs.at(i)};
    sequences << Row{QByteArray("Caf\xC3\xA9 as bytes"), QVariant()};
    const auto sequenceIds = writeBothWays(connection, "TestSequence", {"Name", "Data"}, sequences);
    for (int i = 0; i < sequences.size(); ++i) {
        const auto& [prepared, text, fellBack] = sequenceIds.at(i);
        QCOMPARE(fellBack, needsFallback(sequences.at(i)));
        QCOMPARE(storedRow(connection, "TestSequence", {}, {"Name", "Data"}, text),
                 storedRow(connection, "TestSequence", {}, {"Name", "Data"}, prepared));
    }
    QVERIFY(storedRow(connection, "TestSequence", {}, {"Data"}, sequenceIds.first().text)
                .startsWith(QString::fromLatin1(everyByte.toHex().toUpper())));

    const QStringList assetColumns = {"Name", "Description", "ServiceCode", "SerialNo", "DeletedLocation"};
    QList<Row> assets;
    for (int i = 0; i < texts.size(); ++i) {
        Row row;
        for (int c = 0; c < assetColumns.size(); ++c)
            row << texts.at((i + 3 * c) % texts.size());
        assets << row;
    }
    const auto assetIds = writeBothWays(connection, "Asset", assetColumns, assets, true);
    for (int i = 0; i < assets.size(); ++i) {
        const auto& [prepared, text, fellBack] = assetIds.at(i);
        QCOMPARE(fellBack, needsFallback(assets.at(i)));
        QCOMPARE(storedRow(connection, "Asset", {}, assetColumns, text),
                 storedRow(connection, "Asset", {}, assetColumns, prepared));
    }
}

void TestMySqlTextStatement::looksUpAsAPreparedStatementDoes()
{
    PELVANE_REQUIRE_MARIADB();
    ScratchDatabase scratch(QStringLiteral("text lookup"));
    QVERIFY(scratch.connection.isOpen());
    const QSqlDatabase& connection = scratch.connection;
    const QStringList stored = {"Pump Room", QString::fromUtf8("Caf\xC3\xA9 \xF0\x9F\x98\x80"), "O'Brien",
                                "back\\slash", "trailing "};
    QSqlQuery insert(connection);
    QVERIFY(insert.prepare("INSERT INTO Asset (Name) VALUES (?)"));
    for (const QString& s : stored) {
        insert.addBindValue(s);
        QVERIFY2(insert.exec(), qPrintable(insert.lastError().text()));
    }

    const QString select = QStringLiteral("SELECT Id FROM Asset WHERE Name=:Name ORDER BY Id");
    SqlQuery prepared(connection), text(connection);
    prepared.prepare(select);
    text.prepareAsMySqlText(select);
    const QStringList probes = {"Pump Room", "pump ROOM", "Pump Room ",
                                QString::fromUtf8("CAF\xC3\x89 \xF0\x9F\x98\x80"), "o'brien", "BACK\\SLASH",
                                "trailing", "Pump", "nothing like it"};
    int matched = 0;
    for (const QString& probe : probes) {
        const QList<int> expected = foundIds(prepared, {{":Name", probe}});
        QCOMPARE(foundIds(text, {{":Name", probe}}), expected);
        matched += int(!expected.isEmpty());
    }
    // The server's collation ignores case and trailing blanks: all but the
    // last two probes find their row.
    QCOMPARE(matched, int(probes.size()) - 2);

    // Dates are kept as text and compared as dates by the server, whether
    // the text is a literal or a bound value.
    QSqlQuery set(connection);
    QVERIFY(set.prepare("INSERT INTO ResultSet (AssetId, Date) VALUES (?, ?)"));
    for (const char* date : {"2026-05-01 08:00:00", "2026-05-01 00:00:00"}) {
        set.addBindValue(1);
        set.addBindValue(QString(date));
        QVERIFY2(set.exec(), qPrintable(set.lastError().text()));
    }
    const QString bySet = QStringLiteral("SELECT Id FROM ResultSet WHERE AssetId=:AssetId AND Date=:Date ORDER BY Id");
    SqlQuery preparedSet(connection), textSet(connection);
    preparedSet.prepare(bySet);
    textSet.prepareAsMySqlText(bySet);
    matched = 0;
    for (const QVariant& asset : {QVariant(1), QVariant(QString("1")), QVariant(1.0), QVariant(2)}) {
        for (const char* date : {"2026-05-01 08:00:00", "2026-05-01 08:00:00.000", "2026-05-01T08:00:00",
                                 "2026-05-01 8:00:00", "2026-05-01", "2026-05-01 08:00:01", "not a date"}) {
            const QVariantMap values = {{":AssetId", asset}, {":Date", QString(date)}};
            const QList<int> expected = foundIds(preparedSet, values);
            QCOMPARE(foundIds(textSet, values), expected);
            matched += int(!expected.isEmpty());
        }
    }
    // The first five texts each name a stored date, for the asset however
    // its id is bound; the second asset has no sets.
    QCOMPARE(matched, 3 * 5);
}

void TestMySqlTextStatement::runsWithoutPrepareOrReset()
{
    PELVANE_REQUIRE_MARIADB();
    ScratchDatabase scratch(QStringLiteral("text trips"));
    QVERIFY(scratch.connection.isOpen());
    const QSqlDatabase& connection = scratch.connection;
    // Reading a counter is itself a question.
    const int questionsBefore = sessionCounter(connection, "Questions");
    const int showCost = sessionCounter(connection, "Questions") - questionsBefore;

    struct Counts
    {
        int prepares, resets, questions;
    };
    auto measure = [&](const std::function<void()>& run) {
        const int prepares = sessionCounter(connection, "Com_stmt_prepare");
        const int resets = sessionCounter(connection, "Com_stmt_reset");
        const int questions = sessionCounter(connection, "Questions");
        run();
        return Counts{sessionCounter(connection, "Com_stmt_prepare") - prepares,
                      sessionCounter(connection, "Com_stmt_reset") - resets,
                      sessionCounter(connection, "Questions") - questions - 3 * showCost};
    };
    auto runEach = [](SqlQuery& query, const QStringList& names) {
        for (const QString& n : names) {
            query.bindValue(QStringLiteral(":Name"), n);
            query.exec();
        }
    };
    const QString insert = QStringLiteral("INSERT INTO Client (Name) VALUES (:Name)");

    StatementCache cache(connection);
    StatementCache::Statement kept = StatementCache::prepare(connection, insert);
    const Counts text = measure([&] { runEach(*kept, {"One", "Two", "Three"}); });
    QCOMPARE(text.prepares, 0);
    QCOMPARE(text.resets, 0);
    QCOMPARE(text.questions, 3);

    // The prepared way pays a reset before every execute.
    SqlQuery prepared(connection);
    prepared.prepare(insert);
    const Counts ordinary = measure([&] { runEach(prepared, {"Four", "Five", "Six"}); });
    QCOMPARE(ordinary.resets, 3);

    // A value that needs the fallback prepares; the next one is text again.
    const Counts fallback = measure([&] { runEach(*kept, {"Se\\ven"}); });
    QCOMPARE(fallback.prepares, 1);
    const Counts after = measure([&] { runEach(*kept, {"Eight"}); });
    QCOMPARE(after.prepares, 0);
    QCOMPARE(after.resets, 0);

    // A batch binds a list per placeholder, which only a prepared statement
    // takes; the statement is text again afterwards.
    kept->bindValue(QStringLiteral(":Name"), QVariantList{"Nine", "Ten"});
    kept->execBatch();
    QCOMPARE(measure([&] { runEach(*kept, {"Eleven"}); }).prepares, 0);

    QSqlQuery names(connection);
    QVERIFY(names.exec("SELECT HEX(Name) FROM Client ORDER BY Id"));
    QStringList stored;
    while (names.next())
        stored << QString::fromLatin1(QByteArray::fromHex(names.value(0).toByteArray()));
    QCOMPARE(stored, QStringList({"One", "Two", "Three", "Four", "Five", "Six", "Se\\ven", "Eight", "Nine", "Ten",
                                  "Eleven"}));
}

// A blob goes as hex, twice its size: one that a prepared statement still
// carries within the server's packet limit must not make the text too long.
void TestMySqlTextStatement::storesABlobNearThePacketLimit()
{
    PELVANE_REQUIRE_MARIADB();
    ScratchDatabase scratch(QStringLiteral("text blob"));
    QVERIFY(scratch.connection.isOpen());
    const QSqlDatabase& connection = scratch.connection;
    QSqlQuery limit(connection);
    QVERIFY(limit.exec("SELECT @@max_allowed_packet") && limit.next());
    const qint64 packet = limit.value(0).toLongLong();
    if (packet > 64 * 1024 * 1024)
        QSKIP("The server's packet limit is too large to reach here");

    QByteArray blob(int(packet * 3 / 4), '\0');
    for (int i = 0; i < blob.size(); ++i)
        blob[i] = char(i * 7 + i / 256);
    SqlQuery text(connection);
    text.prepareAsMySqlText(QStringLiteral("INSERT INTO TestSequence (Name, Data) VALUES (:Name, :Data)"));
    text.bindValue(QStringLiteral(":Name"), QStringLiteral("large"));
    text.bindValue(QStringLiteral(":Data"), blob);
    text.exec();
    const int id = text.lastInsertId(DatabaseMySql);

    QSqlQuery read(connection);
    QVERIFY(read.exec(QStringLiteral("SELECT LENGTH(Data), MD5(Data) FROM TestSequence WHERE Id=%1").arg(id)));
    QVERIFY(read.next());
    QCOMPARE(read.value(0).toLongLong(), qint64(blob.size()));
    QCOMPARE(read.value(1).toString(),
             QString::fromLatin1(QCryptographicHash::hash(blob, QCryptographicHash::Md5).toHex()));

    // Small blobs, as sequences are, still go as text.
    const int prepares = sessionCounter(connection, "Com_stmt_prepare");
    text.bindValue(QStringLiteral(":Data"), blob.left(4096));
    text.exec();
    QCOMPARE(sessionCounter(connection, "Com_stmt_prepare"), prepares);
}

PELVANE_TEST_MAIN(TestMySqlTextStatement)
#include "TestMySqlTextStatement.moc"
