#include "assets/ServiceCodeComboBox.h"

#include "assets/ComboBoxRows.h"
#include "database/SqlQuery.h"

ServiceCodeComboBox::ServiceCodeComboBox(QWidget* parent) : QComboBox(parent) {}

void ServiceCodeComboBox::load(const QString& code)
{
    const int listed = findText(code);
    if (listed >= 0) {
        setCurrentIndex(listed);
        return;
    }
    clear();
    SqlQuery query(QStringLiteral("SELECT ServiceCode FROM Asset WHERE DeletedLocation IS NULL "
                                  "GROUP BY ServiceCode ORDER BY ServiceCode ASC"));
    query.exec();
    const int match = ComboBoxRows::addTextRows(this, query, code);
    setCurrentIndex(match);
    // Recycled assets are left out of the list, yet their own code must show:
    // Apply writes back what the field holds.
    if (match < 0 && isEditable())
        setEditText(code);
}
