#include "database/ExportDatabase.h"

#include "database/Database.h"
#include "database/DoubleText.h"
#include "database/ExecSqlScript.h"
#include "database/ExportFile.h"
#include "database/MsSqlDatabase.h"
#include "database/MySqlRowStream.h"
#include "database/SqlQuery.h"
#include "core/DateFormat.h"
#include "core/Error.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>
#include <QStorageInfo>
#include <QTextStream>

#include <mysql.h>
#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <unistd.h>

const QStringList ExportDatabase::tableOrder = {
    QStringLiteral("Client"),     QStringLiteral("Site"),        QStringLiteral("Location"),
    QStringLiteral("Equipment"),  QStringLiteral("GlobalTestSequence"), QStringLiteral("Instrument"),
    QStringLiteral("Asset"),      QStringLiteral("AppliedPart"), QStringLiteral("TestSequence"),
    QStringLiteral("ResultSet"),  QStringLiteral("Result"),
};

namespace {
QString quoted(QString text)
{
    text.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

// A text as a MySQL literal, written straight into out: MySQL reads
// backslash escapes inside literals. Text is a QStringView or, for text
// that is plain ASCII, a QLatin1StringView of its bytes.
template <typename Text>
void appendMySqlText(QString& out, Text text)
{
    out += QLatin1Char('\'');
    qsizetype plain = 0; // where the characters not yet written start
    for (qsizetype i = 0; i < text.size(); ++i) {
        QLatin1StringView escape;
        switch (QChar(text.at(i)).unicode()) {
        case '\\': escape = QLatin1StringView("\\\\"); break;
        case '\n': escape = QLatin1StringView("\\n"); break;
        case '\r': escape = QLatin1StringView("\\r"); break;
        case 0: escape = QLatin1StringView("\\0"); break;
        case '\'': escape = QLatin1StringView("''"); break;
        default: continue;
        }
        out += text.sliced(plain, i - plain);
        out += escape;
        plain = i + 1;
    }
    out += text.sliced(plain);
    out += QLatin1Char('\'');
}

void appendMySqlText(QString& out, const QString& text)
{
    appendMySqlText(out, QStringView(text));
}

// Most texts of a register are ASCII, whose bytes are their characters: no
// decoding and no string of their own.
void appendMySqlUtf8(QString& out, QLatin1StringView bytes)
{
    const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
    if (ascii)
        appendMySqlText(out, bytes);
    else
        appendMySqlText(out, QString::fromUtf8(bytes.data(), bytes.size()));
}

void appendHex(QString& out, QLatin1StringView bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    out += QLatin1String("X'");
    out.reserve(out.size() + 2 * bytes.size() + 1);
    for (const char c : bytes) {
        out += QLatin1Char(digits[uchar(c) >> 4]);
        out += QLatin1Char(digits[uchar(c) & 0xf]);
    }
    out += QLatin1Char('\'');
}

QString hex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex().toUpper());
}

bool spelledOut(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c.unicode() == 0;
}

// SQLite and SQL Server have no escape for a line break or a NUL inside a
// literal: the text is cut at each and the pieces joined with its character
// code. A raw NUL would end the statement where the replay reads it.
QString joinedAtLineBreaks(const QString& text, const QString& prefix, const QString& charFunction,
                           const QString& concat)
{
    QStringList parts;
    QString piece;
    for (QChar c : text) {
        if (spelledOut(c)) {
            if (!piece.isEmpty())
                parts.append(prefix + quoted(piece));
            piece.clear();
            parts.append(QStringLiteral("%1(%2)").arg(charFunction).arg(c.unicode()));
        } else {
            piece += c;
        }
    }
    if (!piece.isEmpty())
        parts.append(prefix + quoted(piece));
    return parts.join(concat);
}

// A name in the header comment must neither end it ("*/") nor, on SQL
// Server, open a nested one ("/*"), nor break the line: the replay reads a
// statement up to a line that ends in ';'.
QString commentText(QString text)
{
    for (QChar& c : text)
        if (spelledOut(c))
            c = QLatin1Char(' ');
    while (text.contains(QStringLiteral("*/")) || text.contains(QStringLiteral("/*"))) {
        text.replace(QStringLiteral("*/"), QStringLiteral("* /"));
        text.replace(QStringLiteral("/*"), QStringLiteral("/ *"));
    }
    return text;
}

// The size of the database's pages, which a copy of it takes.
qint64 sqliteBytes(sqlite3* db)
{
    qint64 bytes = 1;
    for (const char* pragma : {"PRAGMA page_count", "PRAGMA page_size"}) {
        sqlite3_stmt* statement = nullptr;
        const bool read = sqlite3_prepare_v2(db, pragma, -1, &statement, nullptr) == SQLITE_OK
                          && sqlite3_step(statement) == SQLITE_ROW;
        bytes = read ? bytes * sqlite3_column_int64(statement, 0) : 0;
        sqlite3_finalize(statement);
    }
    return bytes;
}

sqlite3* sqliteHandle(const QSqlDatabase& connection)
{
    const QVariant handle = connection.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.data());
}

// Whether a column of the MySQL type typeId comes over as the digits of an
// integer.
bool isMySqlInteger(int typeId)
{
    switch (typeId) {
    case MYSQL_TYPE_TINY:
    case MYSQL_TYPE_SHORT:
    case MYSQL_TYPE_LONG:
    case MYSQL_TYPE_INT24:
    case MYSQL_TYPE_LONGLONG:
    case MYSQL_TYPE_YEAR:
        return true;
    default:
        return false;
    }
}
} // namespace

ExportDatabase::ExportDatabase(QTextStream* output) : m_output(output) {}

ExportDatabase::~ExportDatabase()
{
    delete m_tableQuery;
    // An abort in the middle of a page reads the rest of that page.
    delete m_rows;
    closeSnapshot();
}

QString ExportDatabase::formatValue(const QSqlField& field, int type, const QSqlDriver* driver)
{
    const QVariant value = field.value();
    if (field.isNull() || value.isNull())
        return QStringLiteral("NULL");
    switch (value.typeId()) {
    case QMetaType::QByteArray:
        if (type == DatabaseMsSql)
            return QStringLiteral("0x") + hex(value.toByteArray());
        return QStringLiteral("X'") + hex(value.toByteArray()) + QLatin1Char('\'');
    case QMetaType::Double: {
        // The fewest digits that read back as the same double, the same on
        // every back-end. Only SQLite holds an infinity; it reads a number
        // too large for a double as one.
        const double number = value.toDouble();
        if (std::isinf(number))
            return number > 0 ? QStringLiteral("1e999") : QStringLiteral("-1e999");
        QString text;
        DoubleText::append(text, number);
        return text;
    }
    case QMetaType::QDateTime:
    case QMetaType::QDate:
        return quoted(dateTimeFromVariant(value).toString(storedDateTimeFormat));
    case QMetaType::QString: {
        const QString text = value.toString();
        const bool breaks = std::any_of(text.cbegin(), text.cend(), spelledOut);
        if (type == DatabaseMySql) {
            QString literal;
            appendMySqlText(literal, text);
            return literal;
        }
        if (type == DatabaseMsSql)
            return breaks ? joinedAtLineBreaks(text, QStringLiteral("N"), QStringLiteral("NCHAR"),
                                               QStringLiteral("+"))
                          : QStringLiteral("N") + quoted(text);
        return breaks ? joinedAtLineBreaks(text, QString(), QStringLiteral("char"), QStringLiteral("||"))
                      : quoted(text);
    }
    default:
        return driver->formatValue(field, false);
    }
}

QString ExportDatabase::tableStartStatement(const QString& table, int type)
{
    if (type != DatabaseMsSql)
        return QString();
    return QStringLiteral("SET IDENTITY_INSERT %1 ON;").arg(MsSqlDatabase::quoteIdentifier(table));
}

QString ExportDatabase::tableEndStatement(const QString& table, int type)
{
    if (type != DatabaseMsSql)
        return QString();
    return QStringLiteral("SET IDENTITY_INSERT %1 OFF;").arg(MsSqlDatabase::quoteIdentifier(table));
}

bool ExportDatabase::init()
{
    Database* db = Database::instance();
    if (!db)
        return false;
    m_type = db->type();
    // The snapshot first: an export that cannot make it has written nothing.
    if (!openSnapshot(db)) {
        emit abort();
        return false;
    }
    QTextStream& out = *m_output;
    out << "/*\n" << ExecSqlScript::exportTitle << commentText(db->databaseName()) << "'\n\t"
        << QLocale().toString(QDateTime::currentDateTime(), QLocale::LongFormat) << "\n*/\n";
    QString schema;
    {
        QTextStream schemaOut(&schema);
        db->writeCreateScript(schemaOut);
    }
    m_statements = ExecSqlScript::statementsIn(schema);
    out << schema;
    if (writeFailed()) {
        emit abort();
        return false;
    }
    m_totalRows = 0;
    for (const QString& table : tableOrder) {
        SqlQuery count(m_source);
        count.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table));
        if (count.next())
            m_totalRows += count.value(0).toInt();
    }
    m_driver = m_source.driver();
    m_paged = m_type == DatabaseMySql;
    m_timer.start(0);
    return true;
}

// The file behind the stream stops the export at its first failed write,
// which it keeps (with the reason) for its writer to tell.
bool ExportDatabase::writeFailed() const
{
    const auto* file = qobject_cast<const ExportFile*>(m_output->device());
    return m_output->status() != QTextStream::Ok || (file && file->failed());
}

bool ExportDatabase::openSnapshot(Database* db)
{
    switch (m_type) {
    case DatabaseSqlite:
        return copySqliteFile(db);
    case DatabaseMySql: {
        // InnoDB reads every table as it stood when the transaction began,
        // taking no lock that a writer waits for; pages read later in it
        // see the same rows.
        m_source = db->connection();
        SqlQuery begin(m_source);
        if (!begin.exec(QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ"))
            || !begin.exec(QStringLiteral("START TRANSACTION WITH CONSISTENT SNAPSHOT, READ ONLY")))
            return false;
        m_inTransaction = true;
        return true;
    }
    default:
        m_source = db->connection();
        return beginMsSqlSnapshot();
    }
}

// SQLite: the online backup copies the file's pages in one step, holding
// the file's read lock for as long as the copy takes (well under a second
// for a register of a million results) instead of for the whole export;
// the rows are then read from the copy.
//
// The copy is made in the folder the export is written to, on the disk the
// user chose and sees, not in a temporary folder that may be too small for
// it. Its name goes as soon as it is open: the copy, which is written once
// with no journal and read once, lives on as the open file only. Until then
// the name is held (see ExportFile::createHeld), so that what an export
// killed in that moment leaves is removed by the next one.
bool ExportDatabase::copySqliteFile(Database* db)
{
    const auto* file = qobject_cast<const ExportFile*>(m_output->device());
    const QString target = file ? file->targetPath() : QString();
    const QString folder = file ? file->folder() : QDir::tempPath();
    sqlite3* source = sqliteHandle(db->connection());
    // The copy is as large as the database; the script comes on top of it.
    const qint64 needed = source ? sqliteBytes(source) : 0;
    const qint64 available = QStorageInfo(folder).bytesAvailable();
    if (available >= 0 && needed > available) {
        emit error(tr("The database was not exported to \"%1\": the export needs %2 of free space in the folder "
                      "\"%3\" for a copy of the database while it runs, besides the room for the script itself, "
                      "and that disk has %4 free. Make room there, or export to another disk.",
                      "%%1 is the export's file, %%2 the database's size, %%3 the export's folder, %%4 the free "
                      "space there")
                       .arg(QDir::toNativeSeparators(target), QLocale().formattedDataSize(needed),
                            QDir::toNativeSeparators(folder), QLocale().formattedDataSize(available)),
                   ErrorWarning);
        return false;
    }
    QString path;
    m_snapshotFd = ExportFile::createHeld(folder, &path, 0600);
    QString why;
    if (m_snapshotFd >= 0) {
        m_copyConnection = QStringLiteral("export snapshot %1").arg(quintptr(this));
        m_source = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_copyConnection);
        m_source.setDatabaseName(path);
        const bool opened = m_source.open();
        if (opened) {
            QSqlQuery pragma(m_source);
            pragma.exec(QStringLiteral("PRAGMA journal_mode = OFF"));
            pragma.exec(QStringLiteral("PRAGMA synchronous = OFF"));
        }
        QFile::remove(path);
        if (opened) {
            sqlite3* copy = sqliteHandle(m_source);
            sqlite3_backup* backup = copy && source ? sqlite3_backup_init(copy, "main", source, "main") : nullptr;
            // The source's busy wait applies: a writer committing is waited for.
            const int result = backup ? sqlite3_backup_step(backup, -1) : copy ? sqlite3_errcode(copy) : SQLITE_MISUSE;
            sqlite3_backup_finish(backup);
            if (result == SQLITE_DONE)
                return true;
            if (result == SQLITE_BUSY || result == SQLITE_LOCKED) {
                emit error(tr("The database was not exported: it is busy with another workstation's change. "
                              "Export again in a moment.",
                              "Shown when another workstation's write kept the database file through the whole wait"),
                           ErrorWarning);
                return false;
            }
            // A full disk comes back as an I/O error; the system's reason says which.
            const int systemError = copy ? sqlite3_system_errno(copy) : 0;
            why = systemError ? qt_error_string(systemError) : QString::fromUtf8(sqlite3_errstr(result));
        } else {
            why = m_source.lastError().text();
        }
    } else {
        why = qt_error_string(errno);
    }
    emit error(tr("The database was not exported to \"%1\": its copy for the export could not be made in "
                  "the folder \"%2\", and nothing was written.\n\n%3",
                  "%%1 is the export's file, %%2 its folder, %%3 the system's reason (the disk is full, say)")
                   .arg(QDir::toNativeSeparators(target), QDir::toNativeSeparators(folder), why),
               ErrorWarning);
    return false;
}

// SQL Server reads one snapshot, with no lock, where the database allows
// snapshot isolation (ALLOW_SNAPSHOT_ISOLATION ON). Elsewhere each table is
// read as it stands when its turn comes: keeping every writer out for the
// whole export would stop every other workstation's downloads meanwhile.
bool ExportDatabase::beginMsSqlSnapshot()
{
    // Unknown is read as not allowed.
    QSqlQuery allowed(m_source);
    allowed.exec(QStringLiteral("SELECT snapshot_isolation_state FROM sys.databases WHERE database_id=DB_ID()"));
    m_resetIsolation = allowed.next() && allowed.value(0).toInt() == 1;
    allowed.finish();
    if (!m_resetIsolation)
        return true;
    SqlQuery(m_source).exec(QStringLiteral("SET TRANSACTION ISOLATION LEVEL SNAPSHOT"));
    m_inTransaction = m_source.transaction();
    return true;
}

// A read transaction has nothing to keep: it is rolled back, unchecked.
void ExportDatabase::closeSnapshot()
{
    if (m_inTransaction) {
        m_inTransaction = false;
        if (m_type == DatabaseMySql)
            QSqlQuery(m_source).exec(QStringLiteral("ROLLBACK"));
        else
            m_source.rollback();
    }
    if (m_resetIsolation) {
        m_resetIsolation = false;
        QSqlQuery(m_source).exec(QStringLiteral("SET TRANSACTION ISOLATION LEVEL READ COMMITTED"));
    }
    m_source = QSqlDatabase();
    if (!m_copyConnection.isEmpty()) {
        QSqlDatabase::removeDatabase(m_copyConnection);
        m_copyConnection.clear();
    }
    // Closed once SQLite has closed the copy: a close drops every lock the
    // process holds on the file, SQLite's too.
    if (m_snapshotFd >= 0) {
        ::close(m_snapshotFd);
        m_snapshotFd = -1;
    }
}

bool ExportDatabase::step()
{
    if (!m_tableQuery && !m_rows) {
        if (m_tableIndex >= tableOrder.size()) {
            closeSnapshot();
            // What lets a reader tell the whole script from one cut after a statement.
            *m_output << '\n' << ExecSqlScript::exportEndMark(m_statements) << '\n';
            m_output->flush();
            if (writeFailed())
                emit abort();
            else
                emit done();
            return false;
        }
        startTable();
    }

    if (nextRow()) {
        // One line buffer for the whole export: a row costs no allocation
        // once the buffer has grown to the longest line.
        m_line.resize(0);
        m_line += m_insertPrefix;
        if (m_paged)
            appendMySqlRow();
        else
            appendRow();
        m_line += QLatin1String(");\n");
        *m_output << m_line;
        ++m_statements;
    } else {
        endTable();
    }
    if (writeFailed()) {
        emit abort();
        return false;
    }

    // Every step counts, the ones that end a table too; an empty database
    // is done as soon as it starts.
    const float fraction = m_totalRows > 0 ? float(m_stepsDone) / float(m_totalRows) : 1.0f;
    emit updateProgress(qMin(fraction, 1.0f));
    ++m_stepsDone;
    return true;
}

void ExportDatabase::appendRow()
{
    for (int i = 0; i < m_fields.size(); ++i) {
        if (i > 0)
            m_line += QLatin1Char(',');
        QSqlField& field = m_fields[i];
        field.setValue(m_tableQuery->value(i));
        m_line += formatValue(field, m_type, m_driver);
    }
}

void ExportDatabase::appendMySqlRow()
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (i > 0)
            m_line += QLatin1Char(',');
        if (m_rows->isNull(i)) {
            m_line += QLatin1String("NULL");
            continue;
        }
        const QLatin1StringView bytes = m_rows->bytes(i);
        switch (m_columns.at(i)) {
        case Column::Number:
            m_line += bytes;
            continue;
        case Column::Double:
            if (!DoubleText::appendFromText(m_line, bytes))
                appendMySqlText(m_line, bytes);
            continue;
        case Column::DateTime:
            appendMySqlText(m_line, bytes);
            continue;
        case Column::Text:
            appendMySqlUtf8(m_line, bytes);
            continue;
        case Column::Blob:
            appendHex(m_line, bytes);
            continue;
        case Column::Other:
            break;
        }
        // What the driver would have made of the server's text.
        QSqlField& field = m_fields[i];
        QVariant value = field.metaType().id() == QMetaType::QByteArray
                             ? QVariant(QByteArray(bytes.data(), bytes.size()))
                             : QVariant(QString::fromUtf8(bytes.data(), bytes.size()));
        value.convert(field.metaType());
        field.setValue(value);
        m_line += formatValue(field, m_type, m_driver);
    }
}

void ExportDatabase::startTable()
{
    m_table = tableOrder.at(m_tableIndex++);
    *m_output << "\n/* '" << m_table << "' Table Data */\n";
    const QString start = tableStartStatement(m_table, m_type);
    if (!start.isEmpty()) {
        *m_output << start << '\n';
        ++m_statements;
    }
    m_fields.clear();
    m_columns.clear();
    m_lastId = 0;
    m_firstPage = true;
    if (m_paged) {
        SqlQuery columns(m_source);
        columns.exec(QStringLiteral("SELECT * FROM %1 LIMIT 0").arg(m_table));
        setColumns(columns.record());
    }
    startQuery();
}

void ExportDatabase::startQuery()
{
    m_pageRows = 0;
    if (!m_paged) {
        m_tableQuery = new SqlQuery(m_source);
        m_tableQuery->setForwardOnly(true);
        m_tableQuery->prepare(QStringLiteral("SELECT * FROM %1").arg(m_table));
        m_tableQuery->exec();
        if (m_fields.isEmpty())
            setColumns(m_tableQuery->record());
        return;
    }
    // The rows come as the server's text, which is what the script writes
    // for most columns, with no value of Qt's in between. The first page
    // takes whatever Ids there are, negative ones too.
    if (!m_rows)
        m_rows = new MySqlRowStream(m_source);
    const QString after = m_firstPage ? QString() : QStringLiteral(" WHERE Id>%1").arg(m_lastId);
    m_firstPage = false;
    m_rows->exec(QStringLiteral("SELECT %1 FROM %2%3 ORDER BY Id LIMIT %4")
                     .arg(m_selectList, m_table, after)
                     .arg(mysqlPageRows));
}

void ExportDatabase::setColumns(const QSqlRecord& record)
{
    QStringList names;
    QStringList selected;
    for (int i = 0; i < record.count(); ++i) {
        names.append(record.fieldName(i));
        QSqlField field = record.field(i);
        field.setReadOnly(false); // it only carries the value of each row
        m_fields.append(field);
        const Column column = columnOf(field);
        m_columns.append(column);
        // A double is read as the server's text of it cast to a string, the
        // digits that read back as the same double whatever the column's
        // declared width. A number column that is not an integer (BIT)
        // would come as raw bytes.
        const bool cast = column == Column::Double || (column == Column::Number && !isMySqlInteger(field.typeID()));
        selected.append(cast ? QStringLiteral("CAST(%1 AS CHAR)").arg(record.fieldName(i)) : record.fieldName(i));
    }
    m_selectList = selected.join(QLatin1Char(','));
    m_insertPrefix = QStringLiteral("INSERT INTO %1 (%2) VALUES (").arg(m_table, names.join(QLatin1Char(',')));
    m_idColumn = record.indexOf(QStringLiteral("Id"));
}

ExportDatabase::Column ExportDatabase::columnOf(const QSqlField& field)
{
    switch (field.metaType().id()) {
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return Column::Number;
    case QMetaType::Double:
        return Column::Double;
    case QMetaType::QDateTime:
        return Column::DateTime;
    case QMetaType::QString:
        return Column::Text;
    case QMetaType::QByteArray:
        return Column::Blob;
    default:
        return Column::Other;
    }
}

bool ExportDatabase::nextRow()
{
    if (!m_paged)
        return m_tableQuery->next();
    if (!m_rows->next()) {
        // A page shorter than a full one was the table's last.
        if (m_pageRows < mysqlPageRows)
            return false;
        startQuery();
        if (!m_rows->next())
            return false;
    }
    ++m_pageRows;
    if (m_idColumn >= 0 && !m_rows->isNull(m_idColumn)) {
        const QLatin1StringView id = m_rows->bytes(m_idColumn);
        std::from_chars(id.data(), id.data() + id.size(), m_lastId);
    }
    return true;
}

void ExportDatabase::endTable()
{
    const QString end = tableEndStatement(m_table, m_type);
    if (!end.isEmpty()) {
        *m_output << end << '\n';
        ++m_statements;
    }
    delete m_tableQuery;
    m_tableQuery = nullptr;
    delete m_rows;
    m_rows = nullptr;
}
