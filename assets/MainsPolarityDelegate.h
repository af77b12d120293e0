#pragma once

#include "assets/CodeComboDelegate.h"

// Mains polarity under which a result was measured.
class MainsPolarityDelegate : public CodeComboDelegate
{
public:
    explicit MainsPolarityDelegate(QObject* parent);

protected:
    QList<int> codes() const override;
    QString codeText(int code) const override;
};
