#pragma once

#include "database/ThreadObject.h"

#include <QSqlDatabase>
#include <QSqlField>
#include <QString>
#include <QStringList>
#include <QVector>

class Database;
class MySqlRowStream;
class QSqlDriver;
class QSqlRecord;
class QTextStream;
class SqlQuery;

// Writes the whole current database as one SQL script: a header comment,
// the back-end's schema script, then per table a section comment and one
// INSERT line per row, one row per step, and last the mark that says the
// script is whole (see ExecSqlScript). The script reads back through
// ExecSqlScript into a fresh database of the same kind.
//
// Every row comes from one snapshot of the database, whatever other
// workstations write meanwhile: a table read after another workstation's
// commit would hold rows pointing at rows the script does not hold, and the
// replay would stop there. No write waits for the export longer than the
// snapshot takes to make (see openSnapshot). SQL Server gives one only to a
// database that allows snapshot isolation.
class ExportDatabase : public ThreadObject
{
    Q_OBJECT
public:
    explicit ExportDatabase(QTextStream* output);
    ~ExportDatabase() override;

    // Referenced tables first (Asset.LatestResultSetId is the one forward
    // reference; it has no constraint).
    static const QStringList tableOrder;

    // A value as a literal that the back-end of type reads back as the same
    // value: NULL, blobs as hexadecimal literals, date-times in the stored
    // text form, texts with their line breaks spelled out so that every
    // INSERT stays on one line; everything else as driver formats it.
    static QString formatValue(const QSqlField& field, int type, const QSqlDriver* driver);
    // The statement lines a back-end needs around a table's rows so that
    // the stored ids can be inserted (SQL Server's identity columns).
    static QString tableStartStatement(const QString& table, int type);
    static QString tableEndStatement(const QString& table, int type);

    // MySQL tables are read in pages of this many rows, in the order of
    // their Id: an abort reads to the end of the page before the connection
    // is free again.
    static constexpr int mysqlPageRows = 5000;

public slots:
    bool init() override;
    bool step() override;

private:
    // How the MySQL export writes a column's values from the server's text:
    // as it stands (an integer), as the shortest text of its double, as a
    // quoted literal (a date-time, a text of UTF-8), as a hexadecimal
    // literal (a blob); Other values go through formatValue() as Qt's
    // driver would have read them.
    enum class Column { Other, Number, Double, DateTime, Text, Blob };
    static Column columnOf(const QSqlField& field);

    bool writeFailed() const;
    bool openSnapshot(Database* db);
    bool copySqliteFile(Database* db);
    bool beginMsSqlSnapshot();
    void closeSnapshot();
    void startTable();
    void appendRow();
    void appendMySqlRow();
    bool nextRow();
    void startQuery();
    void setColumns(const QSqlRecord& record);
    void endTable();

    QTextStream* m_output;
    // The connection read from: a copy of the SQLite file (its own
    // connection, beside the export), or the server database's, in a read
    // transaction of its own.
    QSqlDatabase m_source;
    QString m_copyConnection;
    // Holds the copy's name until it is gone (see ExportFile::createHeld).
    int m_snapshotFd = -1;
    bool m_inTransaction = false;
    bool m_resetIsolation = false;
    const QSqlDriver* m_driver = nullptr;
    int m_type = 0;
    SqlQuery* m_tableQuery = nullptr;
    MySqlRowStream* m_rows = nullptr;
    QString m_table;
    // Per table: "INSERT INTO <table> (<columns>) VALUES (" and one field per
    // column that carries each row's value to formatValue().
    QString m_insertPrefix;
    QVector<QSqlField> m_fields;
    QVector<Column> m_columns;
    QString m_selectList;
    QString m_line;
    // Paged reading (MySQL): where the Id column is, the last Id written and
    // how many rows the current page has had (a full one may be followed).
    bool m_paged = false;
    bool m_firstPage = true;
    int m_idColumn = -1;
    qint64 m_lastId = 0;
    int m_pageRows = 0;
    int m_tableIndex = 0;
    int m_stepsDone = 0;
    int m_totalRows = 0;
    // The statements written, for the mark that ends the script.
    qint64 m_statements = 0;
};
