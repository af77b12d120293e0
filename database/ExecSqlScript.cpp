#include "database/ExecSqlScript.h"

#include "core/Error.h"
#include "database/Database.h"
#include "database/DatabaseBusy.h"
#include "database/DatabaseTransaction.h"
#include "database/SqlQuery.h"

#include <QFile>
#include <QTextStream>

ExecSqlScript::ExecSqlScript(const QString& scriptPath, QSqlDatabase* connection)
    : m_connection(connection), m_scriptPath(scriptPath)
{
}

ExecSqlScript::~ExecSqlScript()
{
    delete m_stream;
    delete m_file;
}

bool ExecSqlScript::init()
{
    m_file = new QFile(m_scriptPath);
    if (!m_file->open(QIODevice::ReadOnly)) {
        // An unreadable script is no empty script: the caller must not take
        // the run for a success.
        emit error(Database::tr("The SQL script \"%1\" could not be opened: %2")
                       .arg(m_scriptPath, m_file->errorString()),
                   ErrorCritical);
        return false;
    }
    m_stream = new QTextStream(m_file);
    m_charactersDone = 0;
    m_fileSize = m_file->size();
    m_timer.start(0);
    return true;
}

bool ExecSqlScript::step()
{
    QString statement;
    bool complete = false;
    while (!complete) {
        if (m_stream->atEnd()) {
            emit done();
            return false;
        }
        const QString line = m_stream->readLine();
        if (line.isEmpty())
            continue;
        statement += line + QLatin1Char('\n');
        complete = line.endsWith(QLatin1Char(';'));
    }

    const bool ran = DatabaseTransaction::run(
        [&](DatabaseTransaction&) {
            SqlQuery query(*m_connection);
            query.exec(statement);
        },
        m_connection);
    if (!ran) {
        emit error(DatabaseBusy::stoppedMidway(
                       tr("%n statement(s) of the script \"%1\".", "statements run before the database was busy",
                          m_statementsDone)
                           .arg(m_scriptPath),
                       tr("The statement \"%1\" and those after it.", "%1 is the statement that did not run")
                           .arg(statement.trimmed().left(80))),
                   // Another workstation's write, not a damaged installation.
                   ErrorWarning);
        emit done();
        return false;
    }
    ++m_statementsDone;
    m_charactersDone += statement.size();
    emit updateProgress(m_fileSize > 0 ? float(double(m_charactersDone) / double(m_fileSize)) : 1.0f);
    return true;
}
