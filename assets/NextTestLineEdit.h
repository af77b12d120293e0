#pragma once

#include <QDate>
#include <QLineEdit>

// Read-only field with the date the next test is due: the last test plus
// the retest period in months.
class NextTestLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit NextTestLineEdit(QWidget* parent = nullptr);

    void setLastTest(const QDate& lastTest, int retestPeriod);

public slots:
    void setRetestPeriod(int months);

private:
    void updateText();

    QDate m_lastTest;
    qint32 m_retestPeriod = 0;
};
