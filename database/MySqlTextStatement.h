#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

// A statement with placeholders that runs on MySQL as plain text, its values
// written into it as literals. Qt's MySQL driver resets a prepared statement
// on the server before every execution, so each run of a kept statement
// costs two round trips where text costs one; a download runs a dozen
// statements per record.
//
// Only values whose literal the server reads exactly as it reads the bound
// value are written: integers, booleans, finite doubles, blobs up to 64 KiB
// (larger ones are not worth their doubled size as hex), and texts
// without a backslash or a NUL (the server's escapes depend on its SQL mode;
// such a text is left to a prepared statement). Anything else makes text()
// refuse, and the caller prepares the statement and binds the values.
class MySqlTextStatement
{
public:
    explicit MySqlTextStatement(const QString& statement);

    const QString& statement() const { return m_statement; }
    int placeholderCount() const { return int(m_names.size()); }
    // The placeholder at position: ":Name", or "?" for a positional one.
    const QString& placeholder(int position) const { return m_names.at(position); }

    // As QSqlQuery binds: a name sets every placeholder of that name, a
    // position the placeholder at that place. Unknown ones are ignored.
    void bindValue(const QString& placeholder, const QVariant& value);
    void bindValue(int position, const QVariant& value);
    const QVector<QVariant>& values() const { return m_values; }

    // The statement with its values in place; false when one of them has
    // no literal that reads back as its bound value would.
    bool text(QString* out) const;

    // value as a MySQL literal appended to out; false (out untouched) when
    // there is none that is safe.
    static bool appendLiteral(const QVariant& value, QString* out);

private:
    QString m_statement;
    QStringList m_pieces; // the text around the placeholders: one more than them
    QStringList m_names;
    QVector<QVariant> m_values;
};
