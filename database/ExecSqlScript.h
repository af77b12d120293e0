#pragma once

#include "database/ThreadObject.h"

#include <QSqlDatabase>
#include <QString>

class QFile;
class QTextStream;

// Runs an SQL script one statement per step. A statement ends at a line
// whose last character is ";"; blank lines are skipped. A script of
// ExportDatabase's ends with a mark that holds its number of statements:
// one that has the export's header runs as a success only with a mark that
// matches what ran. The script must be UTF-8; one that is not runs nothing.
class ExecSqlScript : public ThreadObject
{
    Q_OBJECT
public:
    ExecSqlScript(const QString& scriptPath, QSqlDatabase* connection);
    ~ExecSqlScript() override;

    // The start of an export's second line, which its first ("/*") opens.
    static const QString exportTitle;
    // The comment line that ends an export of so many statements.
    static QString exportEndMark(qint64 statements);
    // The statements that the lines of text end, as the script runs them.
    static qint64 statementsIn(const QString& text);

public slots:
    bool init() override;
    bool step() override;

private:
    // Whether the whole file is UTF-8; its beginning goes to head.
    bool readsAsUtf8(QString& head);
    void emitCutInsideStatement();

    QSqlDatabase* m_connection;
    QString m_scriptPath;
    QFile* m_file = nullptr;
    QTextStream* m_stream = nullptr;
    qint64 m_charactersDone = 0;
    int m_statementsDone = 0;
    bool m_isExport = false;
    qint64 m_endMark = -1;
    qint64 m_fileSize = 0;
};
