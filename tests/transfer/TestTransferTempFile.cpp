#include "InstrumentRecords.h"
#include "support/TestEnvironment.h"
#include "transfer/TransferTempFile.h"

#include <QDir>
#include <QtTest>

using namespace InstrumentRecords;

// The file of a packet id is written over in place: whatever came before
// under that id, the file holds exactly the last record.
class TestTransferTempFile : public QObject
{
    Q_OBJECT
private slots:
    void lastRecordOfAnIdIsAllTheFileHolds();
};

void TestTransferTempFile::lastRecordOfAnIdIsAllTheFileHolds()
{
    QVERIFY(TransferTempFile::makeFolder());
    const QString path = TransferTempFile::path("import", 9);
    QCOMPARE(path, TransferTempFile::folder() + "/import009.tsq");

    const QByteArray longer(600, 'L');
    const QByteArray shorter("short\0record", 12);
    QVERIFY(TransferTempFile::write("import", 9, longer));
    QCOMPARE(fileContents(path), longer);
    QVERIFY(TransferTempFile::write("import", 9, shorter));
    QCOMPARE(fileContents(path), shorter);
    QVERIFY(TransferTempFile::write("import", 9, longer));
    QCOMPARE(fileContents(path), longer);
    QVERIFY(TransferTempFile::write("import", 9, QByteArray()));
    QCOMPARE(fileContents(path), QByteArray());

    // A folder that is not there: the write fails and says so, nothing else.
    QVERIFY(QDir(TransferTempFile::folder()).removeRecursively());
    QVERIFY(!TransferTempFile::write("import", 9, shorter));
    QVERIFY(!QFile::exists(path));
}

PELVANE_TEST_MAIN(TestTransferTempFile)
#include "TestTransferTempFile.moc"
