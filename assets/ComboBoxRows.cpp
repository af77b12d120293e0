#include "assets/ComboBoxRows.h"

#include "database/SqlQuery.h"

#include <QComboBox>

namespace ComboBoxRows {

int addIdRows(QComboBox* combo, SqlQuery& query, int wantedId)
{
    int match = -1;
    while (query.next()) {
        const int id = query.value(0).toInt();
        combo->addItem(query.value(1).toString(), id);
        if (id == wantedId && match < 0)
            match = combo->count() - 1;
    }
    return match;
}

int addTextRows(QComboBox* combo, SqlQuery& query, const QString& wanted)
{
    int match = -1;
    while (query.next()) {
        const QString text = query.value(0).toString();
        combo->addItem(text);
        if (text == wanted && match < 0)
            match = combo->count() - 1;
    }
    return match;
}

} // namespace ComboBoxRows
