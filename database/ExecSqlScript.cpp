#include "database/ExecSqlScript.h"

#include "core/Error.h"
#include "database/Database.h"
#include "database/DatabaseBusy.h"
#include "database/DatabaseTransaction.h"
#include "database/SqlQuery.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTextStream>

namespace {
// Where the comment that starts at i ends (its last character); -1 when none
// starts there, text's size when the text ends inside it.
qsizetype commentEnd(QStringView text, qsizetype i)
{
    if (text.mid(i, 2) == QLatin1String("--")) {
        const qsizetype end = text.indexOf(QLatin1Char('\n'), i);
        return end < 0 ? text.size() : end;
    }
    if (text.mid(i, 2) == QLatin1String("/*")) {
        const qsizetype end = text.indexOf(QLatin1String("*/"), i + 2);
        return end < 0 ? text.size() : end + 1;
    }
    return -1;
}

// Whether text holds more than white space and comments: the section line
// of an empty last table is no statement, a comment cut before its end is.
bool holdsStatement(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isSpace())
            continue;
        const qsizetype end = commentEnd(text, i);
        if (end < 0)
            return true;
        if (end >= text.size())
            return text.at(i + 1) == QLatin1Char('*');
        i = end;
    }
    return false;
}

// Whether text ends inside a quoted text or name: a script cut after a
// ";" inside a literal. MySQL reads backslash escapes inside quotes.
bool endsInsideQuote(QStringView text, bool backslashEscapes)
{
    QChar quote;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!quote.isNull()) {
            if (backslashEscapes && c == QLatin1Char('\\'))
                ++i;
            else if (c == quote) // a doubled quote closes and opens again
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`')) {
            quote = c;
        } else if (const qsizetype end = commentEnd(text, i); end >= 0) {
            i = end;
        }
    }
    return !quote.isNull();
}
} // namespace

const QString ExecSqlScript::exportTitle = QStringLiteral("\tExporting Tavisk Pelvane database '");

QString ExecSqlScript::exportEndMark(qint64 statements)
{
    return QStringLiteral("/* End of the Tavisk Pelvane export: %1 statements */").arg(statements);
}

qint64 ExecSqlScript::statementsIn(const QString& text)
{
    qint64 statements = 0;
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.endsWith(QLatin1Char(';')))
            ++statements;
    }
    return statements;
}

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
    // Read as UTF-8, another encoding's letters would be stored as
    // replacement characters; it is checked whole before anything runs.
    QString head;
    if (!readsAsUtf8(head)) {
        emit error(tr("The SQL script \"%1\" is not written in UTF-8, the encoding that the program writes and "
                      "reads: nothing of it was run. Save it as UTF-8 and run it again.",
                      "%1 is the script's file")
                       .arg(m_scriptPath),
                   ErrorWarning);
        return false;
    }
    head.remove(QLatin1Char('\r'));
    m_isExport = head.startsWith(QLatin1String("/*\n") + exportTitle);
    m_file->seek(0);
    m_stream = new QTextStream(m_file);
    m_charactersDone = 0;
    m_fileSize = m_file->size();
    m_timer.start(0);
    return true;
}

void ExecSqlScript::emitCutInsideStatement()
{
    emit error(tr("The SQL script \"%1\" ends inside a statement, which was not run: it is "
                  "incomplete. %n statement(s) before it were run.",
                  "%1 is the script's file", m_statementsDone)
                   .arg(m_scriptPath),
               ErrorWarning);
}

bool ExecSqlScript::readsAsUtf8(QString& head)
{
    QStringDecoder decoder(QStringConverter::Utf8);
    while (!m_file->atEnd()) {
        const QByteArray chunk = m_file->read(1 << 20);
        if (chunk.isEmpty())
            break;
        const QString text = decoder.decode(chunk);
        if (head.size() < 200)
            head += text.left(200);
        if (decoder.hasError())
            return false;
    }
    // A character cut at the end is held back until more comes.
    (void)decoder.decode(QByteArrayView("\n"));
    return !decoder.hasError();
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
                emitCutInsideStatement();
            // An export cut after a whole statement: the tables after it are missing.
            else if (m_isExport && m_endMark != m_statementsDone)
                emit error(tr("The SQL script \"%1\" is incomplete: it was exported by this program, but the mark "
                              "that ends such an export is missing or does not match what is in it (the file was "
                              "cut short, or comes from an earlier version). %n statement(s) were run.",
                              "%1 is the script's file", m_statementsDone)
                               .arg(m_scriptPath),
                           ErrorWarning);
            emit done();
            return false;
        }
        const QString line = m_stream->readLine();
        if (line.isEmpty())
            continue;
        static const QRegularExpression endMark(QRegularExpression::anchoredPattern(
            QRegularExpression::escape(exportEndMark(0)).replace(QLatin1String("0"), QLatin1String("(\\d+)"))));
        if (m_isExport && line.startsWith(QLatin1String("/*"))) {
            if (const QRegularExpressionMatch mark = endMark.match(line); mark.hasMatch() && !holdsStatement(statement)) {
                m_endMark = mark.captured(1).toLongLong();
                continue;
            }
        }
        statement += line + QLatin1Char('\n');
        complete = line.endsWith(QLatin1Char(';'));
    }
    // A ";" inside a text that the file was cut after ends no statement.
    if (m_stream->atEnd() && endsInsideQuote(statement, m_connection->driverName() == QLatin1String("QMYSQL"))) {
        emitCutInsideStatement();
        emit done();
        return false;
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
