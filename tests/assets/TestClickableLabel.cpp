#include "assets/ClickableLabel.h"
#include "support/TestEnvironment.h"

#include <QSignalSpy>
#include <QtTest>

class TestClickableLabel : public QObject
{
    Q_OBJECT
private slots:
    void everyPressIsAClick();
};

void TestClickableLabel::everyPressIsAClick()
{
    ClickableLabel label(nullptr);
    label.resize(100, 20);
    QSignalSpy clicked(&label, &ClickableLabel::clicked);
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(clicked.count(), 1);
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(clicked.count(), 1);
    QTest::mouseClick(&label, Qt::RightButton, {}, QPoint(50, 10));
    QCOMPARE(clicked.count(), 2);
    // A release alone is no click.
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(1, 1));
    QCOMPARE(clicked.count(), 2);
}

PELVANE_TEST_MAIN(TestClickableLabel)
#include "TestClickableLabel.moc"
