#pragma once

#include "database/ThreadObject.h"

#include <QSqlDatabase>
#include <QString>

class QFile;
class QTextStream;

// Runs an SQL script one statement per step. A statement ends at a line
// whose last character is ";"; blank lines are skipped.
class ExecSqlScript : public ThreadObject
{
    Q_OBJECT
public:
    ExecSqlScript(const QString& scriptPath, QSqlDatabase* connection);
    ~ExecSqlScript() override;

public slots:
    bool init() override;
    bool step() override;

private:
    QSqlDatabase* m_connection;
    QString m_scriptPath;
    QFile* m_file = nullptr;
    QTextStream* m_stream = nullptr;
    qint64 m_charactersDone = 0;
    int m_statementsDone = 0;
    qint64 m_fileSize = 0;
};
