#include "assets/SfcDelegate.h"

#include "ux/SingleFaultConditionString.h"

SfcDelegate::SfcDelegate(QObject* parent) : CodeComboDelegate(parent) {}

QList<int> SfcDelegate::codes() const
{
    return {0, 2, 4, 8};
}

QString SfcDelegate::codeText(int code) const
{
    return Ux::SingleFaultConditionString::toString(code);
}
