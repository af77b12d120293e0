#pragma once

#include <QString>
#include <QVariant>

// The text of a column's value as the user reads it: nothing for NULL. Qt's
// MySQL driver hands back a NULL integer as a null variant of type int,
// whose text is "0", where SQLite's reads as empty; every value shown or
// printed from a nullable column goes through here so that the same records
// read the same on every back-end.
class ColumnText
{
public:
    static QString of(const QVariant& value);
};
