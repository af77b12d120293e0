#pragma once

#include <QWidget>

class QSqlQuery;

// The detail form under one test's line: fills itself from the Result row
// that the query stands on.
class TestResultBase : public QWidget
{
public:
    explicit TestResultBase(QWidget* parent) : QWidget(parent) {}
    virtual void setResult(QSqlQuery& query) = 0;
};
