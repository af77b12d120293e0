#include "assets/ClickableLabel.h"
#include "support/TestEnvironment.h"

#include <QSignalSpy>
#include <QtTest>

class TestClickableLabel : public QObject
{
    Q_OBJECT
private slots:
    void everyPressIsAClick();
    void releaseAloneIsNoClick();
};

void TestClickableLabel::everyPressIsAClick()
{
    ClickableLabel label(nullptr);
    label.setText("Earth bond");
    label.resize(100, 20);
    QSignalSpy clicked(&label, &ClickableLabel::clicked);
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(clicked.count(), 1);
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(clicked.count(), 1);
    QTest::mouseClick(&label, Qt::RightButton, {}, QPoint(50, 10));
    QCOMPARE(clicked.count(), 2);
}

void TestClickableLabel::releaseAloneIsNoClick()
{
    ClickableLabel label(nullptr);
    QSignalSpy clicked(&label, &ClickableLabel::clicked);
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(1, 1));
    QTest::mouseMove(&label, QPoint(3, 3));
    QCOMPARE(clicked.count(), 0);
}

PELVANE_TEST_MAIN(TestClickableLabel)
#include "TestClickableLabel.moc"
