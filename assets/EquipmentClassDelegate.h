#pragma once

#include "assets/CodeComboDelegate.h"

// Equipment class of an asset or a global sequence.
class EquipmentClassDelegate : public CodeComboDelegate
{
public:
    explicit EquipmentClassDelegate(QObject* parent);

protected:
    QList<int> codes() const override;
    QString codeText(int code) const override;
};
