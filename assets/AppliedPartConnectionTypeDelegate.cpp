#include "assets/AppliedPartConnectionTypeDelegate.h"

#include "ux/PatientConnectionTypeString.h"

AppliedPartConnectionTypeDelegate::AppliedPartConnectionTypeDelegate(QObject* parent) : CodeComboDelegate(parent) {}

QList<int> AppliedPartConnectionTypeDelegate::codes() const
{
    return {1, 2, 3};
}

QString AppliedPartConnectionTypeDelegate::codeText(int code) const
{
    return Ux::PatientConnectionTypeString::toString(code, false);
}
