#include "CertificateFixture.h"
#include "certificates/DialogSaveCertificate.h"
#include "certificates/MacroMarker.h"
#include "support/DialogAnswerer.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QtTest>

using namespace CertificateFixture;

class TestMacroMarker : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void tagsAndDescriptions();
    void everyTagExpandsForItsAsset();
    void hostileValuesStayInsideTheFolder();
    void saveDialogInsertsTagsAndRefusesEmptyNamesAndFolders();
    void saveDialogRemembersItsChoice();

private:
    SqliteDatabase* m_db = nullptr;
};

void TestMacroMarker::init()
{
    TestEnvironment::clearSettings();
    m_db = seeded();
    QVERIFY(m_db);
}

void TestMacroMarker::cleanup()
{
    Database::setInstance(nullptr);
}

void TestMacroMarker::tagsAndDescriptions()
{
    QStringList tags;
    for (int i = 0; i < MacroMarker::Count; ++i)
        tags << MacroMarker::tag(i);
    QCOMPARE(tags, (QStringList{"$(NUM)", "$(NAME)", "$(SERIAL)", "$(DESC)", "$(DATE)", "$(TESTER)", "$(STATUS)",
                                "$(CLIENT)", "$(SITE)", "$(LOC)"}));
    QCOMPARE(MacroMarker::description(5), QStringLiteral("Name of the person who performed the test"));
    QCOMPARE(MacroMarker::tag(10), QStringLiteral("?"));
    QCOMPARE(MacroMarker::tag(-1), QStringLiteral("?"));
    QCOMPARE(MacroMarker::description(10), QString());
}

void TestMacroMarker::everyTagExpandsForItsAsset()
{
    QCOMPARE(MacroMarker::expand(QStringLiteral("/out/$(NUM)_$(NAME)_$(SERIAL)_$(DESC)_$(DATE)_$(TESTER)_$(STATUS)_"
                                                 "$(CLIENT)_$(SITE)_$(LOC)"),
                                 MonitorA, 2),
             QStringLiteral("/out/3_Monitor A_SN-003_Patient monitor_2026-03-12_tech_Alert_Acme Health_North_Ward 2"));
    // Every occurrence, case-sensitively; other letter cases stay as typed.
    QCOMPARE(MacroMarker::expand(QStringLiteral("$(NAME)_$(NAME)_$(name)"), Pump1, 0),
             QStringLiteral("Pump 1_Pump 1_$(name)"));
    // Without a latest result set: no date, no tester, no status.
    QCOMPARE(MacroMarker::expand(QStringLiteral("$(DATE)_$(TESTER)_$(STATUS)"), DeskLamp, 0),
             QStringLiteral("__"));
    // An asset that has gone still gets a name of its own.
    QCOMPARE(MacroMarker::expand(QStringLiteral("c_$(NUM)_$(NAME)"), 999, 6), QStringLiteral("c_7_"));
}

void TestMacroMarker::hostileValuesStayInsideTheFolder()
{
    QCOMPARE(MacroMarker::sanitise(QStringLiteral("A/B:1")), QStringLiteral("A-B-1"));
    QCOMPARE(MacroMarker::sanitise(QStringLiteral("a*b?c\"d<e>f|g\\h")), QStringLiteral("a-b-c-d-e-f-g-h"));
    QCOMPARE(MacroMarker::sanitise(QStringLiteral("..")), QStringLiteral("-."));
    QCOMPARE(MacroMarker::sanitise(QStringLiteral("v1.2...x")), QStringLiteral("v1.2--.x"));
    QCOMPARE(MacroMarker::sanitise(QStringLiteral("tab\there\nnew")), QStringLiteral("tab-here-new"));
    QCOMPARE(MacroMarker::sanitise(QStringLiteral(u"a\u0080b\u0085c\u009fd\u00a0e")), QStringLiteral(u"a-b-c-d\u00a0e"));
    QCOMPARE(MacroMarker::sanitise(QStringLiteral("Pump.1 (ward)")), QStringLiteral("Pump.1 (ward)"));

    exec(m_db, QStringLiteral("UPDATE Asset SET Name='../../etc/passwd', SerialNo='$(NAME)', "
                              "Description='..\\..\\win' WHERE Id=1"));
    const QString folder = QStringLiteral("/tmp/certs");
    const QString path = MacroMarker::expand(folder + QStringLiteral("/$(NUM)_$(NAME)_$(SERIAL)_$(DESC)"), Pump1, 2);
    // Tags are expanded once: a value that reads like a tag stays text.
    QCOMPARE(path, folder + QStringLiteral("/3_-.--.-etc-passwd_$(NAME)_-.--.-win"));
    QCOMPARE(QFileInfo(path).absolutePath(), folder);
    QVERIFY(!path.mid(folder.size() + 1).contains(QLatin1Char('/')));
}

void TestMacroMarker::saveDialogInsertsTagsAndRefusesEmptyNamesAndFolders()
{
    DialogAnswerer answerer;
    DialogSaveCertificate dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Save Certificates"));
    auto* directory = dialog.findChild<QLineEdit*>(QStringLiteral("directory"));
    auto* fileName = dialog.findChild<QLineEdit*>(QStringLiteral("fileName"));
    auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("macroTable"));
    auto* insert = dialog.findChild<QPushButton*>(QStringLiteral("insertBtn"));
    auto* type = dialog.findChild<QComboBox*>(QStringLiteral("fileType"));
    QVERIFY(directory && fileName && table && insert && type);
    QCOMPARE(fileName->text(), QStringLiteral("ceritificate_$(NUM)_$(NAME)"));
    QCOMPARE(table->rowCount(), 10);
    QCOMPARE(table->verticalHeaderItem(9)->text(), QStringLiteral("$(LOC)"));
    QCOMPARE(table->item(0, 0)->text(), QStringLiteral("Incremental number starting from 0001"));
    QCOMPARE(type->count(), 2);

    // Nothing selected: Insert changes nothing.
    fileName->setText(QStringLiteral("cert_"));
    QTest::mouseClick(insert, Qt::LeftButton);
    QCOMPARE(fileName->text(), QStringLiteral("cert_"));
    // The selected row's tag goes in at the cursor.
    table->selectRow(7);
    fileName->setCursorPosition(4);
    QTest::mouseClick(insert, Qt::LeftButton);
    QCOMPARE(fileName->text(), QStringLiteral("cert$(CLIENT)_"));

    directory->setText(QStringLiteral("/tmp/out"));
    QCOMPARE(dialog.fullPath(), QStringLiteral("/tmp/out/cert$(CLIENT)_"));
    type->setCurrentIndex(1);
    QCOMPARE(dialog.fileType(), 1);

    dialog.show();
    fileName->clear();
    dialog.accept();
    QVERIFY(answerer.waitForCount(1));
    QCOMPARE(answerer.last().text, QStringLiteral("There is a problem with the file name. Please re-check its validity."));
    QCOMPARE(answerer.last().icon, int(QMessageBox::Critical));
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));

    fileName->setText(QStringLiteral("x"));
    directory->setText(QStringLiteral("  "));
    dialog.accept();
    QVERIFY(answerer.waitForCount(2));
    QVERIFY(answerer.last().text.contains(QStringLiteral("directory")));
    QVERIFY(dialog.isVisible());

    directory->setText(QStringLiteral("/tmp/out"));
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(answerer.count(), 2);
}

void TestMacroMarker::saveDialogRemembersItsChoice()
{
    {
        DialogSaveCertificate dialog;
        dialog.findChild<QLineEdit*>(QStringLiteral("directory"))->setText(QStringLiteral("/srv/certs"));
        dialog.findChild<QLineEdit*>(QStringLiteral("fileName"))->setText(QStringLiteral("$(NAME)"));
        dialog.findChild<QComboBox*>(QStringLiteral("fileType"))->setCurrentIndex(1);
    }
    const QByteArray blob = QSettings().value(QStringLiteral("win/DialogSaveCertificate")).toByteArray();
    QDataStream in(blob);
    QByteArray geometry;
    QString directory, fileName;
    qint32 type = -1;
    in >> geometry >> directory >> fileName >> type;
    QCOMPARE(in.status(), QDataStream::Ok);
    QCOMPARE(directory, QStringLiteral("/srv/certs"));
    QCOMPARE(fileName, QStringLiteral("$(NAME)"));
    QCOMPARE(type, 1);

    DialogSaveCertificate again;
    QCOMPARE(again.fullPath(), QStringLiteral("/srv/certs/$(NAME)"));
    QCOMPARE(again.fileType(), 1);
}

PELVANE_TEST_MAIN(TestMacroMarker)
#include "TestMacroMarker.moc"
