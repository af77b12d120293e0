#include "database/ExecSqlScript.h"

#include "core/Error.h"
#include "database/Database.h"
#include "database/DatabaseBusy.h"
#include "database/DatabaseTransaction.h"
#include "database/SqlQuery.h"

#include <QFile>
#include <QTextStream>

namespace {
// Whether text holds more than white space and comments: the section line
// of an empty last table is no statement, a comment cut before its end is.
bool holdsStatement(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isSpace())
            continue;
        if (text.mid(i, 2) == QLatin1String("--")) {
            i = text.indexOf(QLatin1Char('\n'), i);
            if (i < 0)
                return false;
        } else if (text.mid(i, 2) == QLatin1String("/*")) {
            i = text.indexOf(QLatin1String("*/"), i + 2);
            if (i < 0)
                return true;
            ++i;
        } else {
            return true;
        }
    }
    return false;
}
} // namespace

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
            // A script cut short (a copy that stopped midway) ends inside
            // its last statement: running it all but that one is no success.
            if (holdsStatement(statement))
                emit error(tr("The SQL script \"%1\" ends inside a statement, which was not run: it is "
                              "incomplete. %n statement(s) before it were run.",
                              "%1 is the script's file", m_statementsDone)
                               .arg(m_scriptPath),
                           ErrorWarning);
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
