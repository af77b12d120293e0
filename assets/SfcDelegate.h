#pragma once

#include "assets/CodeComboDelegate.h"

// Single fault condition under which a result was measured.
class SfcDelegate : public CodeComboDelegate
{
public:
    explicit SfcDelegate(QObject* parent);

protected:
    QList<int> codes() const override;
    QString codeText(int code) const override;
};
