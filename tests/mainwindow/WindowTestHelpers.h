#pragma once

// Small helpers shared by the tests that drive the real main window.

#include "database/SqlQuery.h"

#include <QPushButton>
#include <QVariant>
#include <QtTest>

// The first column of the first row a statement gives on the current
// connection, or an invalid value when it gives none.
inline QVariant scalar(const QString& statement)
{
    SqlQuery query;
    query.exec(statement);
    return query.next() ? query.value(0) : QVariant();
}

// A stored blob as lower-case hex, to compare with the bytes a test expects.
inline QString storedHex(const QString& statement)
{
    return QString::fromLatin1(scalar(statement).toByteArray().toHex());
}

inline QPushButton* button(QWidget* in, const char* name)
{
    return in->findChild<QPushButton*>(QLatin1String(name));
}

// Clicks a button as a user would; a missing or disabled one fails the test.
inline void press(QPushButton* b)
{
    QVERIFY(b);
    QVERIFY2(b->isEnabled(), qPrintable(b->objectName()));
    QTest::mouseClick(b, Qt::LeftButton);
}
