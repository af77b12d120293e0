#include "core/ReentrancyGuard.h"
#include "support/TestEnvironment.h"

#include <QtTest>

class TestReentrancyGuard : public QObject
{
    Q_OBJECT
private slots:
    void nestedGuardsOfOneName();
};

void TestReentrancyGuard::nestedGuardsOfOneName()
{
    auto outer = std::make_unique<ReentrancyGuard>(QStringLiteral("A"));
    QVERIFY(outer->isFirst());
    {
        ReentrancyGuard other(QStringLiteral("B"));
        QVERIFY(other.isFirst());
        ReentrancyGuard inner(QStringLiteral("A"));
        QVERIFY(!inner.isFirst());
        QVERIFY(!outer->isFirst());
    }
    QVERIFY(outer->isFirst());
    outer.reset();
    ReentrancyGuard again(QStringLiteral("A"));
    QVERIFY(again.isFirst());
}

PELVANE_TEST_MAIN(TestReentrancyGuard)
#include "TestReentrancyGuard.moc"
