#pragma once

#include "assets/CodeComboDelegate.h"

// Patient-connection class of an applied part, in its long form ("Type BF").
class AppliedPartConnectionTypeDelegate : public CodeComboDelegate
{
public:
    explicit AppliedPartConnectionTypeDelegate(QObject* parent);

protected:
    QList<int> codes() const override;
    QString codeText(int code) const override;
};
