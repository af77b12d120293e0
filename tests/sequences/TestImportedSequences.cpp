#include "database/ImportDatabaseThread.h"
#include "database/ImportOptions.h"
#include "database/SqlQuery.h"
#include "database/SqliteDatabase.h"
#include "sequences/TestSequence.h"
#include "sequences/TestSequenceTab.h"
#include "sequences/TestSequenceWidget.h"
#include "sequences/TestSequenceWidgetContainer.h"
#include "support/DialogAnswerer.h"
#include "support/LegacyStandIn.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"
#include "ux/CodeTables.h"
#include "ux/TsqPatval.h"

#include <QDialog>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

namespace {

// A limit as the first version kept it: the instrument word in hexadecimal.
QString word(float value)
{
    return QStringLiteral("0x") + QString::number(Ux::TsqPatval::encode(value), 16);
}

// A limit list as the first version kept it: low byte, high byte, per word.
QString pairs(const QList<float>& values)
{
    QStringList parts;
    for (float value : values) {
        const quint16 w = Ux::TsqPatval::encode(value);
        parts << QString::number(w & 0xFF) << QString::number(w >> 8);
    }
    return parts.join(QLatin1Char(','));
}

struct Row
{
    int type;
    int duration;
    QString limit;
    int times;
    QString sfc;
    int condition;
    QString b;
    QString c;
};

// One row of every kind the import converts, with values as the first
// version's own screens wrote them, including the limit texts it also
// accepted (decimal byte pairs, short hexadecimal) and the limits it left
// empty where a test has none.
QList<Row> everyConvertedKind()
{
    const QString patientB = pairs({100, 10, 500, 50, 100, 10, 500, 50});
    const QString patientC = pairs({10, 10, 50, 50});
    return {
        {1, 0, {}, 0, {}, 0, {}, {}},
        {17, 5, word(0.2f), 1, {}, 0, {}, {}},
        {21, 10, word(0.1f), 2, {}, 0, {}, {}},
        {32, 2, word(2), 1, {}, 0, {}, {}},
        {33, 3, word(1), 1, {}, 0, {}, {}},
        {34, 2, word(70), 1, {}, 0, {}, {}},
        {46, 2, word(7.5f), 1, {}, 0, {}, {}},
        {47, 2, word(200), 3, {}, 0, {}, {}},
        {48, 2, word(5000), 0, word(10000), 7, {}, {}},
        {49, 2, QStringLiteral("0x1F4"), 0, word(300), 1, {}, {}},
        {50, 2, QStringLiteral("10,2"), 0, word(1000), 7, {}, {}},
        {51, 4, word(2500), 0, word(5000), 3, {}, {}},
        {64, 2, word(100), 0, word(500), 7, {}, {}},
        {66, 2, word(300), 0, word(300), 7, {}, {}},
        {67, 2, word(100), 0, word(500), 5, {}, {}},
        // The equipment leakage tests have no single-fault limit to keep.
        {69, 2, word(500), 0, {}, 1, {}, {}},
        {70, 2, word(1000), 0, {}, 0, {}, {}},
        {83, 2, word(500), 0, {}, 1, {}, {}},
        {113, 2, word(50), 0, word(100), 3, {}, {}},
        {114, 2, word(500), 1, {}, 0, {}, {}},
        {71, 3, {}, 0, {}, 0, pairs({5000}), pairs({50})},
        {72, 3, {}, 0, {}, 0, pairs({5000}), pairs({50})},
        {80, 3, {}, 0, {}, 7, patientB, patientC},
        {81, 3, {}, 0, {}, 6, pairs({100, 100, 100, 50, 0, 10, 500, 50}), patientC},
        {84, 3, {}, 0, {}, 6, patientB, patientC},
        {85, 3, {}, 0, {}, 7, patientB, patientC},
        {112, 3, {}, 0, {}, 7, patientB, patientC},
        {115, 3, {}, 0, {}, 7, pairs({50, 50, 50, 25, 9}), {}},
        {96, 2, {}, 0, {}, 1, pairs({5000, 5000}), pairs({50, 50})},
        {98, 2, {}, 0, {}, 1, pairs({50, 50}), pairs({10, 10})},
        {99, 2, {}, 0, {}, 1, pairs({5000, 5000}), pairs({50, 50})},
        {100, 2, {}, 0, {}, 1, pairs({5000, 5000}), pairs({50, 50})},
        {145, 0, {}, 2, {}, 0, {}, {}},
        {253, 0, {}, 0, {}, 0, QStringLiteral("Check alarm volume"), QStringLiteral("dB")},
    };
}

QByteArray storedData(int assetId)
{
    SqlQuery query;
    query.prepare(QStringLiteral("SELECT Data FROM TestSequence WHERE AssetId=:AssetId"));
    query.bindValue(QStringLiteral(":AssetId"), assetId);
    query.exec();
    return query.next() ? query.value(0).toByteArray() : QByteArray();
}

// The records of a blob, each cut at its length byte.
QList<QByteArray> records(const QByteArray& blob)
{
    QList<QByteArray> list;
    for (int at = 0; at < blob.size() && quint8(blob.at(at)) >= 2;) {
        list << blob.mid(at, quint8(blob.at(at)));
        at += quint8(blob.at(at));
    }
    return list;
}

} // namespace

class TestImportedSequences : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();

    void everyConvertedKindOpensAndWritesBackUnchanged();
};

void TestImportedSequences::cleanup()
{
    Database::setInstance(nullptr);
}

void TestImportedSequences::everyConvertedKindOpensAndWritesBackUnchanged()
{
    const QString folder = TestEnvironment::instance()->newFolder();
    QVERIFY(SeededDatabase::createEmpty(folder + QStringLiteral("/target.db")));
    LegacyStandIn legacy(folder + QStringLiteral("/v1.db"));
    legacy.insert(QStringLiteral("Assetdetails"),
                  {QStringLiteral("PUMP-01"), QStringLiteral("Infusion pump"), QStringLiteral("Acme Health"),
                   QStringLiteral("North"), QStringLiteral("Ward 1"), QStringLiteral("Infusa"), QStringLiteral("P1"),
                   QStringLiteral("SN100"), QStringLiteral("SC-1"), 12, QStringLiteral("Active"), QString(),
                   QStringLiteral("alice")});
    const QList<Row> rows = everyConvertedKind();
    for (const Row& r : rows) {
        QVERIFY(legacy.insert(QStringLiteral("TestSequence"),
                              {QStringLiteral("PUMP-01"), QStringLiteral("Pump yearly"), QStringLiteral("I"), r.type,
                               r.duration, r.limit, r.times, r.sfc, r.condition, r.b, r.c}));
    }

    ImportOptions options;
    options.legacyDatabase = &legacy;
    options.targetDatabase = Database::instance();
    options.importAssets = true;
    options.importResults = false;
    options.importTestSequences = true;
    {
        ImportDatabaseThread thread(&options, nullptr);
        QCOMPARE(thread.exec(), int(QDialog::Accepted));
    }
    SqlQuery asset;
    asset.exec(QStringLiteral("SELECT Id FROM Asset WHERE Name='PUMP-01'"));
    QVERIFY(asset.next());
    const int assetId = asset.value(0).toInt();
    const QByteArray imported = storedData(assetId);
    QVERIFY(!imported.isEmpty());

    DialogAnswerer answerer;
    // The class only decides the defaults of new elements; a loaded element
    // must come back the same under either.
    for (int equipmentClass : {int(Ux::EquipmentClassI), int(Ux::EquipmentClassII)}) {
        TestSequenceTab tab;
        tab.equipmentClassChanged(equipmentClass);
        QSignalSpy listModified(tab.testSequence(), &TestSequence::modified);
        QSignalSpy tabModified(&tab, &AssetTabBase::notifyModified);
        tab.setAsset(assetId, true);

        TestSequence* list = tab.testSequence();
        QCOMPARE(list->elementCount(), rows.size());
        for (int i = 0; i < rows.size(); ++i)
            QCOMPARE(int(list->container(i)->widget()->element()->id), rows.at(i).type);
        QCOMPARE(tab.findChild<QLineEdit*>(QStringLiteral("name"))->text(), QStringLiteral("Pump yearly"));
        const QList<QByteArray> written = records(list->data());
        const QList<QByteArray> stored = records(imported);
        QCOMPARE(written.size(), stored.size());
        QStringList rewritten;
        for (int i = 0; i < stored.size(); ++i) {
            if (written.at(i) != stored.at(i))
                rewritten << QStringLiteral("type %1: stored %2, written %3")
                                 .arg(rows.at(i).type)
                                 .arg(QString::fromLatin1(stored.at(i).toHex()),
                                      QString::fromLatin1(written.at(i).toHex()));
        }
        QVERIFY2(rewritten.isEmpty(), qPrintable(rewritten.join(QLatin1Char('\n'))));
        QCOMPARE(list->data().toHex(), imported.toHex());
        QCOMPARE(listModified.count(), 0);
        QCOMPARE(tabModified.count(), 0);
        QVERIFY(!tab.isModified());

        // Applying what was opened stores the same bytes again.
        QVERIFY(tab.apply());
        QCOMPARE(storedData(assetId).toHex(), imported.toHex());
    }
    // No damaged-sequence warning, nor any other message.
    QCOMPARE(answerer.count(), 0);
}

PELVANE_TEST_MAIN(TestImportedSequences)
#include "TestImportedSequences.moc"
