#pragma once

#include "results/TestResultBase.h"

class QLineEdit;

// The outcome of a mains socket wiring check, as words.
class TestResultIECWiring : public TestResultBase
{
    Q_OBJECT
public:
    explicit TestResultIECWiring(QWidget* parent);
    void setResult(QSqlQuery& query) override;

private:
    QLineEdit* m_result;
};
