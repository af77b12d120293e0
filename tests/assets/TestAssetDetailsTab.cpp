#include "AssetFixture.h"
#include "../transfer/SqlRows.h"
#include "assets/AssetDetailsTab.h"
#include "support/DialogAnswerer.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

namespace {
enum { Pump1 = 1, Pump2 = 2, MonitorA = 3, DeskLamp = 5, OldScale = 6 };
enum { Acme = 1, North = 1, Ward1 = 1 };
} // namespace

class TestAssetDetailsTab : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void showsAStoredAsset();
    void appliedEditsAreStored();
    void retestDateIsKeptToTheEndOfAShortMonth();
    void duplicateNameAndSerialIsRefused();
    void wildcardsInTheTextMatchOnlyThemselves();
    void editsWhileLoadingOrRenamingAreNotReported();
    void recycledAssetShowsAndKeepsEveryStoredValue_data();
    void recycledAssetShowsAndKeepsEveryStoredValue();
    void newAssetHoldsNothingOfTheFormBefore_data();
    void newAssetHoldsNothingOfTheFormBefore();

private:
    QLineEdit* line(const char* name) const { return m_tab->findChild<QLineEdit*>(name); }
    QComboBox* combo(const char* name) const { return m_tab->findChild<QComboBox*>(name); }
    QSpinBox* period() const { return m_tab->findChild<QSpinBox*>("testPeriodTime"); }
    QStringList fieldTexts() const;

    SqliteDatabase* m_db = nullptr;
    std::unique_ptr<AssetDetailsTab> m_tab;
    std::unique_ptr<DialogAnswerer> m_answerer;
};

void TestAssetDetailsTab::init()
{
    m_db = newSeededDatabase();
    QVERIFY(m_db);
    m_tab = std::make_unique<AssetDetailsTab>();
    m_answerer = std::make_unique<DialogAnswerer>();
}

void TestAssetDetailsTab::cleanup()
{
    m_answerer.reset();
    m_tab.reset();
    Database::setInstance(nullptr);
}

void TestAssetDetailsTab::showsAStoredAsset()
{
    m_tab->setAsset(MonitorA, true);
    QCOMPARE(m_tab->currentAssetId(), int(MonitorA));
    QCOMPARE(line("assetId")->text(), QString("Monitor A"));
    QCOMPARE(combo("site")->currentText(), QString("North"));
    QCOMPARE(combo("location")->currentText(), QString("Ward 2"));
    QCOMPARE(combo("manufacturer")->currentText(), QString("Cardia"));
    QCOMPARE(combo("serviceCode")->currentText(), QString("SC-003"));
    QCOMPARE(combo("equipmentClass")->currentIndex(), 2);
    // The serial number shown is the equipment's.
    QCOMPARE(line("serialNo")->text(), QString("EQ-2"));
    QCOMPARE(period()->value(), 6);
    // Tested 12/03/2026 with a six-month period.
    QCOMPARE(line("testPeriodNextTest")->text(), QString("12/09/2026"));
    QCOMPARE(line("apConfigSummary")->text(), m_db->appliedPartSummary(MonitorA));
}

void TestAssetDetailsTab::appliedEditsAreStored()
{
    m_tab->setAsset(Pump1, true);
    QSignalSpy updated(m_tab.get(), &AssetDetailsTab::updateAsset);
    QSignalSpy created(m_tab.get(), &AssetDetailsTab::newAssetCreated);
    line("assetId")->setText("  Pump 1a ");
    line("description")->setText("Syringe driver");
    line("serialNo")->setText(" SN-101 ");
    combo("serviceCode")->setEditText("SC-101");
    period()->setValue(6);
    QVERIFY(m_tab->apply());
    QCOMPARE(updated.count(), 1);
    QCOMPARE(updated.at(0).at(0).toInt(), int(Pump1));
    QCOMPARE(created.count(), 0);
    QCOMPARE(m_answerer->count(), 0);

    QCOMPARE(scalar("SELECT Name FROM Asset WHERE Id=1").toString(), QString("Pump 1a"));
    QCOMPARE(scalar("SELECT Description FROM Asset WHERE Id=1").toString(), QString("Syringe driver"));
    QCOMPARE(scalar("SELECT SerialNo FROM Asset WHERE Id=1").toString(), QString("SN-101"));
    QCOMPARE(scalar("SELECT ServiceCode FROM Asset WHERE Id=1").toString(), QString("SC-101"));
    QCOMPARE(scalar("SELECT RetestPeriod FROM Asset WHERE Id=1").toInt(), 6);
    // Tested 10/03/2026 09:30; the retest date follows the new period.
    QCOMPARE(scalar("SELECT RetestDate FROM Asset WHERE Id=1").toString(), QString("2026-09-10 09:30:00"));
    QCOMPARE(scalar("SELECT LocationId FROM Asset WHERE Id=1").toInt(), int(Ward1));
    // The typed serial number also names the equipment.
    QCOMPARE(scalar("SELECT e.SerialNo FROM Asset a JOIN Equipment e ON e.Id=a.EquipmentId WHERE a.Id=1").toString(),
             QString("SN-101"));
}

void TestAssetDetailsTab::retestDateIsKeptToTheEndOfAShortMonth()
{
    const int instrument = scalar("SELECT Id FROM Instrument").toInt();
    m_db->insertResultSet(instrument, DeskLamp, QDateTime(QDate(2026, 1, 31), QTime(14, 0)), 2, 2, 1, "tech", "");
    m_tab->setAsset(DeskLamp, true);
    QCOMPARE(line("testPeriodNextTest")->text(), QString("31/01/2028"));
    period()->setValue(1);
    QCOMPARE(line("testPeriodNextTest")->text(), QString("28/02/2026"));
    QVERIFY(m_tab->apply());
    QCOMPARE(scalar("SELECT RetestDate FROM Asset WHERE Id=5").toString(), QString("2026-02-28 14:00:00"));

    // Without a result set there is no retest date.
    m_tab->setAsset(Pump2, true);
    scalar("UPDATE Asset SET LatestResultSetId=NULL WHERE Id=2");
    QVERIFY(m_tab->apply());
    QVERIFY(scalar("SELECT RetestDate FROM Asset WHERE Id=2").isNull());
}

void TestAssetDetailsTab::duplicateNameAndSerialIsRefused()
{
    m_tab->setAsset(Pump2, true);
    line("assetId")->setText("pump 1");
    line("serialNo")->setText("SN-001");
    QVERIFY(!m_tab->apply());
    QCOMPARE(m_answerer->count(), 1);
    QCOMPARE(m_answerer->last().text,
             QString("An asset already exists with the same name and serial number. Please choose different "
                     "values for these fields."));
    QCOMPARE(m_answerer->last().icon, int(QMessageBox::NoIcon));
    QVERIFY(!m_answerer->last().duringWrite);
    QCOMPARE(scalar("SELECT Name FROM Asset WHERE Id=2").toString(), QString("Pump 2"));

    // Same name with another serial number, and the asset's own values, pass.
    line("serialNo")->setText("SN-777");
    QVERIFY(m_tab->apply());
    line("assetId")->setText("Pump 9");
    line("serialNo")->setText("SN-001");
    QVERIFY(m_tab->apply());
    QVERIFY(m_tab->apply());
    QCOMPARE(m_answerer->count(), 1);
}

void TestAssetDetailsTab::wildcardsInTheTextMatchOnlyThemselves()
{
    // As bare patterns these would match "Pump 1" / "SN-001".
    m_tab->setAsset(Pump2, true);
    line("assetId")->setText("Pump _");
    line("serialNo")->setText("SN-00%");
    QVERIFY(m_tab->apply());
    QCOMPARE(m_answerer->count(), 0);
    QCOMPARE(scalar("SELECT Name FROM Asset WHERE Id=2").toString(), QString("Pump _"));

    // The escape character itself is plain text too.
    m_tab->setAsset(Pump1, true);
    line("assetId")->setText("Pump !_");
    QVERIFY(m_tab->apply());

    // A real clash of texts holding wildcards is still found.
    m_tab->setAsset(MonitorA, true);
    line("assetId")->setText("Pump _");
    line("serialNo")->setText("SN-00%");
    QVERIFY(!m_tab->apply());
    QCOMPARE(m_answerer->count(), 1);
}

void TestAssetDetailsTab::editsWhileLoadingOrRenamingAreNotReported()
{
    QSignalSpy modified(m_tab.get(), &AssetTabBase::notifyModified);
    m_tab->setAsset(Pump1, true);
    m_tab->setAsset(MonitorA, true);
    QCOMPARE(modified.count(), 0);

    scalar("UPDATE Client SET Name='Acme Hospitals' WHERE Id=1");
    m_tab->clientNameChanged(Acme);
    QCOMPARE(combo("client")->currentText(), QString("Acme Hospitals"));
    scalar("UPDATE Site SET Name='North Wing' WHERE Id=1");
    m_tab->siteNameChanged(North);
    QCOMPARE(combo("site")->currentText(), QString("North Wing"));
    QCOMPARE(modified.count(), 0);

    line("description")->setText("x");
    QCOMPARE(modified.count(), 0); // only user edits (textEdited) count
    QTest::keyClick(line("description"), Qt::Key_A);
    QCOMPARE(modified.count(), 1);
    QCOMPARE(modified.at(0).at(0).value<ModifiedFlags>(), ModifiedFlags(ModifiedDetails));
    QVERIFY(m_tab->isModified());
}

void TestAssetDetailsTab::recycledAssetShowsAndKeepsEveryStoredValue_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("value");
    const QString place = QStringLiteral(
        "FROM Asset a JOIN Location l ON l.Id=a.LocationId JOIN Site s ON s.Id=l.SiteId "
        "JOIN Client c ON c.Id=s.ClientId WHERE a.Id=6");
    const QString equipment = QStringLiteral("FROM Asset a JOIN Equipment e ON e.Id=a.EquipmentId WHERE a.Id=6");
    // Old scale is in the recycle bin, and no asset in use has its service code.
    QTest::newRow("manufacturer") << "manufacturer" << "SELECT e.Manufacturer " + equipment << "Cardia";
    QTest::newRow("model") << "model" << "SELECT e.Model " + equipment << "M5";
    QTest::newRow("service code") << "serviceCode" << "SELECT ServiceCode FROM Asset WHERE Id=6" << "SC-006";
    QTest::newRow("client") << "client" << "SELECT c.Name " + place << "Acme Health";
    QTest::newRow("site") << "site" << "SELECT s.Name " + place << "South";
    QTest::newRow("location") << "location" << "SELECT l.Name " + place << "Theatre";
}

void TestAssetDetailsTab::recycledAssetShowsAndKeepsEveryStoredValue()
{
    QFETCH(QString, field);
    QFETCH(QString, stored);
    QFETCH(QString, value);
    const QVariant locationId = scalar("SELECT LocationId FROM Asset WHERE Id=6");
    const QVariant equipmentId = scalar("SELECT EquipmentId FROM Asset WHERE Id=6");
    // As a user goes there: another asset first, so the lists are filled already.
    m_tab->setAsset(Pump1, true);
    m_tab->setAsset(OldScale, true);
    QCOMPARE(combo(qPrintable(field))->currentText(), value);

    QTest::keyClick(line("description"), Qt::Key_A);
    QVERIFY(m_tab->apply());
    QCOMPARE(scalar("SELECT Description FROM Asset WHERE Id=6").toString(), QString("Baby scalea"));
    QCOMPARE(scalar(stored).toString(), value);
    QCOMPARE(scalar("SELECT LocationId FROM Asset WHERE Id=6"), locationId);
    QCOMPARE(scalar("SELECT EquipmentId FROM Asset WHERE Id=6"), equipmentId);
    QCOMPARE(m_answerer->count(), 0);
}

QStringList TestAssetDetailsTab::fieldTexts() const
{
    QStringList texts;
    for (const char* name : {"assetId", "description", "serialNo", "testPeriodNextTest", "apConfigSummary"})
        texts << QStringLiteral("%1=%2").arg(name, line(name)->text());
    for (const char* name : {"manufacturer", "model", "serviceCode", "client", "site", "location"})
        texts << QStringLiteral("%1=%2").arg(name, combo(name)->currentText());
    texts << QStringLiteral("equipmentClass=%1").arg(combo("equipmentClass")->currentIndex());
    texts << QStringLiteral("testPeriodTime=%1").arg(period()->value());
    return texts;
}

void TestAssetDetailsTab::newAssetHoldsNothingOfTheFormBefore_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<bool>("typedThenReset");
    // A recycled asset's service code is edit text outside the list; a
    // tested asset leaves its last test date behind the Next Test field.
    QTest::newRow("new after a recycled asset") << int(OldScale) << false;
    QTest::newRow("new after a tested asset") << int(MonitorA) << false;
    QTest::newRow("reset of a typed new asset") << int(Pump1) << true;
}

void TestAssetDetailsTab::newAssetHoldsNothingOfTheFormBefore()
{
    QFETCH(int, before);
    QFETCH(bool, typedThenReset);
    m_tab->setAsset(Pump2, true);
    m_tab->setAsset(before, true);
    m_tab->selectLocationPath(AssetTreeLocation, Ward1);
    if (typedThenReset) {
        for (const char* name : {"assetId", "description", "serialNo"})
            QTest::keyClicks(line(name), "typed");
        for (const char* name : {"manufacturer", "model", "serviceCode"})
            QTest::keyClicks(combo(name)->lineEdit(), "typed");
        combo("equipmentClass")->setCurrentIndex(2);
        period()->setValue(3);
        // Reset of a new asset prepares it again.
        m_tab->selectLocationPath(AssetTreeLocation, Ward1);
    }
    const QStringList empty{"assetId=", "description=", "serialNo=", "testPeriodNextTest=", "apConfigSummary=",
                            "manufacturer=", "model=", "serviceCode=", "client=Acme Health", "site=North",
                            "location=Ward 1", "equipmentClass=0", "testPeriodTime=0"};
    QCOMPARE(fieldTexts(), empty);

    period()->setValue(12);
    QCOMPARE(line("testPeriodNextTest")->text(), QString("Untested"));
    QTest::keyClicks(line("assetId"), "Fresh");
    QVERIFY(m_tab->apply());
    QCOMPARE(SqlRows::row(QStringLiteral("SELECT a.Name,a.Description,a.SerialNo,a.ServiceCode,a.RetestPeriod,"
                                         "e.Manufacturer,e.Model,e.EquipmentClass,a.LocationId FROM Asset a "
                                         "JOIN Equipment e ON e.Id=a.EquipmentId WHERE a.Id=%1")
                              .arg(m_tab->currentAssetId())),
             QStringLiteral("Fresh||||12|||0|%1").arg(int(Ward1)));
    QCOMPARE(m_answerer->count(), 0);
}

PELVANE_TEST_MAIN(TestAssetDetailsTab)
#include "TestAssetDetailsTab.moc"
