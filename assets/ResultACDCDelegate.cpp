#include "assets/ResultACDCDelegate.h"

#include "ux/ResultACDCString.h"

ResultACDCDelegate::ResultACDCDelegate(QObject* parent) : CodeComboDelegate(parent) {}

QList<int> ResultACDCDelegate::codes() const
{
    return {0, 1, 2};
}

QString ResultACDCDelegate::codeText(int code) const
{
    return Ux::ResultACDCString::toString(code);
}
