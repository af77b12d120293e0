#include "database/MySqlTextStatement.h"

#include "database/ServerVariable.h"

#include <QByteArray>
#include <QLocale>
#include <cmath>

namespace {
// Written as hex a blob takes twice its size, so a large one could pass the
// server's packet limit as text where the bound bytes still fit; beside the
// transfer of that much data the round trip saved is nothing.
constexpr qsizetype largestTextBlob = 64 * 1024;

// The characters of a named placeholder, as Qt reads them.
bool nameCharacter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_';
}

// What the driver sends as NULL.
bool sentAsNull(const QVariant& value)
{
    if (value.isNull())
        return true;
    switch (value.typeId()) {
    case QMetaType::QString:
        return static_cast<const QString*>(value.constData())->isNull();
    case QMetaType::QByteArray:
        return static_cast<const QByteArray*>(value.constData())->isNull();
    default:
        return false;
    }
}

bool appendText(const QString& text, QString* out)
{
    // Without a backslash nothing in a quoted literal is an escape in any
    // SQL mode, and a doubled quote is a quote in all of them.
    if (text.contains(QLatin1Char('\\')) || text.contains(QChar(0)))
        return false;
    out->append(QLatin1Char('\''));
    if (text.contains(QLatin1Char('\''))) {
        QString quoted = text;
        quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
        out->append(quoted);
    } else {
        out->append(text);
    }
    out->append(QLatin1Char('\''));
    return true;
}
} // namespace

MySqlTextStatement::MySqlTextStatement(const QString& statement) : m_statement(statement)
{
    // Placeholders are found where Qt finds them: outside quotes, a '?' or a
    // ':' that does not follow another and starts a name.
    QString piece;
    QChar closingQuote;
    const qsizetype n = statement.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = statement.at(i);
        if (!closingQuote.isNull()) {
            if (c == closingQuote)
                closingQuote = QChar();
            piece += c;
            ++i;
            continue;
        }
        if (c == QLatin1Char('?')) {
            m_pieces << piece;
            piece.clear();
            m_names << QStringLiteral("?");
            ++i;
        } else if (c == QLatin1Char(':') && (i == 0 || statement.at(i - 1) != QLatin1Char(':')) && i + 1 < n
                   && nameCharacter(statement.at(i + 1))) {
            qsizetype end = i + 2;
            while (end < n && nameCharacter(statement.at(end)))
                ++end;
            m_pieces << piece;
            piece.clear();
            m_names << statement.mid(i, end - i);
            i = end;
        } else {
            if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`'))
                closingQuote = c;
            else if (c == QLatin1Char('['))
                closingQuote = QLatin1Char(']');
            piece += c;
            ++i;
        }
    }
    m_pieces << piece;
    m_values.resize(m_names.size());
}

void MySqlTextStatement::bindValue(const QString& placeholder, const QVariant& value)
{
    const QString name = placeholder.startsWith(QLatin1Char(':')) ? placeholder : QLatin1Char(':') + placeholder;
    for (int i = 0; i < m_names.size(); ++i)
        if (m_names.at(i) == name)
            m_values[i] = value;
}

void MySqlTextStatement::bindValue(int position, const QVariant& value)
{
    if (position >= 0 && position < m_values.size())
        m_values[position] = value;
}

bool MySqlTextStatement::text(QString* out) const
{
    QString text;
    text.reserve(m_statement.size() + 16 * m_values.size());
    for (int i = 0; i < m_values.size(); ++i) {
        text += m_pieces.at(i);
        if (!appendLiteral(m_values.at(i), &text))
            return false;
    }
    text += m_pieces.last();
    *out = text;
    return true;
}

bool MySqlTextStatement::appendLiteral(const QVariant& value, QString* out)
{
    if (sentAsNull(value)) {
        out->append(QLatin1String("NULL"));
        return true;
    }
    if (value.typeId() == qMetaTypeId<ServerVariable>()) {
        out->append(value.value<ServerVariable>().name);
        return true;
    }
    // The types as the driver binds them: anything it does not bind as a
    // number or a blob goes as its text.
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
        out->append(QString::number(value.toLongLong()));
        return true;
    case QMetaType::ULongLong:
        out->append(QString::number(value.toULongLong()));
        return true;
    case QMetaType::Bool:
        out->append(value.toBool() ? QLatin1Char('1') : QLatin1Char('0'));
        return true;
    case QMetaType::Double: {
        // The shortest digits that read back as the same double, with an
        // exponent so that the server reads a double and not a decimal. The
        // server has no infinity, and may fold a negative zero.
        const double number = value.toDouble();
        if (!std::isfinite(number) || (number == 0 && std::signbit(number)))
            return false;
        out->append(QString::number(number, 'e', QLocale::FloatingPointShortest));
        return true;
    }
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        if (bytes.size() > largestTextBlob)
            return false;
        out->append(QLatin1String("X'"));
        out->append(QString::fromLatin1(bytes.toHex()));
        out->append(QLatin1Char('\''));
        return true;
    }
    case QMetaType::QString:
    case QMetaType::Float:
        return appendText(value.toString(), out);
    default:
        return false;
    }
}
