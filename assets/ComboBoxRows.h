#pragma once

#include <QString>

class QComboBox;
class SqlQuery;

// Fills the database combo boxes from an executed query.
namespace ComboBoxRows {

// Adds one item per row (column 1 as text, column 0 as Id in the user role)
// and returns the index of the item whose Id is wantedId, or -1.
int addIdRows(QComboBox* combo, SqlQuery& query, int wantedId);

// Adds one item per row (column 0 as text, repeats kept) and returns the
// index of the first item whose text is wanted exactly, or -1.
int addTextRows(QComboBox* combo, SqlQuery& query, const QString& wanted);

} // namespace ComboBoxRows
