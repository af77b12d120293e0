#pragma once

#include "assets/CodeComboDelegate.h"

// Model of a registered test instrument.
class InstrumentTypeDelegate : public CodeComboDelegate
{
public:
    explicit InstrumentTypeDelegate(QObject* parent);

protected:
    QList<int> codes() const override;
    QString codeText(int code) const override;
};
