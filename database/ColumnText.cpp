#include "database/ColumnText.h"

QString ColumnText::of(const QVariant& value)
{
    return value.isNull() ? QString() : value.toString();
}
