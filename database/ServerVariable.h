#pragma once

#include <QMetaType>
#include <QString>

// A value that only the server knows yet: a MySQL user variable that a
// statement waiting in a batch sets (the id of a row it inserts, say). Bound
// to a statement that runs as text, the variable's name stands where the
// value goes, and the statement needs no answer from the server first.
struct ServerVariable
{
    QString name; // with its '@'
};
Q_DECLARE_METATYPE(ServerVariable)
