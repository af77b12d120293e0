#pragma once

#include "assets/CodeComboDelegate.h"

// Whether a result was measured as AC, DC or both combined.
class ResultACDCDelegate : public CodeComboDelegate
{
public:
    explicit ResultACDCDelegate(QObject* parent);

protected:
    QList<int> codes() const override;
    QString codeText(int code) const override;
};
