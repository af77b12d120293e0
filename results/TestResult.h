#pragma once

#include <QFrame>

class ClickableLabel;
class QSqlQuery;
class QToolButton;
class QVBoxLayout;
class TestResultBase;

// One line of a result set: status icon, test name, and a toggle that shows
// the test's values. Fed every Result row of its test in turn.
class TestResult : public QFrame
{
    Q_OBJECT
public:
    TestResult(int testId, QWidget* parent);
    ~TestResult() override;

    void setResult(QSqlQuery& query);

    int testId() const { return m_testId; }
    // Null for a test that records nothing beyond its status.
    TestResultBase* form() const { return m_form; }

    static TestResultBase* createForm(int testId, QWidget* parent);

public slots:
    void showResultFields();
    void onTestTypeChanged(int);

private:
    QWidget* m_status;
    ClickableLabel* m_testLabel;
    QToolButton* m_detailsBtn;
    QVBoxLayout* m_resultDetails;
    int m_testId;
    TestResultBase* m_form = nullptr;
};
