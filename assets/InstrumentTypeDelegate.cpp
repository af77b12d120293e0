#include "assets/InstrumentTypeDelegate.h"

#include "ux/InstrumentTypeString.h"

InstrumentTypeDelegate::InstrumentTypeDelegate(QObject* parent) : CodeComboDelegate(parent) {}

QList<int> InstrumentTypeDelegate::codes() const
{
    return {0, 1, 4, 8, 16, 32};
}

QString InstrumentTypeDelegate::codeText(int code) const
{
    return Ux::InstrumentTypeString::toString(code);
}
