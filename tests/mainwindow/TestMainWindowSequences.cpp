#include "assets/AssetTableView.h"
#include "assets/AssetTabs.h"
#include "assets/ClickableLabel.h"
#include "database/Database.h"
#include "database/SqlQuery.h"
#include "mainwindow/MainWindow.h"
#include "sequences/DialogEditGlobalTestSequence.h"
#include "sequences/DialogGlobalTestSequences.h"
#include "sequences/DialogTestSequenceElementTypes.h"
#include "sequences/OCurveFile.h"
#include "sequences/TestSequence.h"
#include "sequences/TestSequenceTab.h"
#include "sequences/TestSequenceWidgetContainer.h"
#include "support/DialogAnswerer.h"
#include "support/SeededDatabase.h"
#include "support/SimulatedInstrument.h"
#include "support/TestEnvironment.h"
#include "ux/TsqTestSequenceBlock.h"
#include "ux/TsqTestSequenceElementNIBPSettingsOCurve.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTableView>
#include <QTabWidget>
#include <QToolBox>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

#include "WindowTestHelpers.h"

#include <cmath>
#include <functional>
#include <memory>

namespace {
enum { Pump1 = 1, Pump2 = 2, MonitorA = 3 };

// New elements: earth bond, Class II patient leakage, visual test, IEC
// wiring, Class II insulation at 500 V.
const QByteArray earthBond("061102c8c001");
const QByteArray patientClassII("1c5002e843e88388538893e843e88388538893e883e8838893889303");
const QByteArray visualTest("0201");
const QByteArray iecWiring("039101");
const QByteArray insulationClassII("062102d0c701");

void selectRows(QWidget* listDialog, const QStringList& names)
{
    auto* table = listDialog->findChild<QTableView*>(QStringLiteral("sequencesTable"));
    table->clearSelection();
    for (int row = 0; row < table->model()->rowCount(); ++row) {
        if (names.contains(table->model()->index(row, 1).data().toString()))
            table->selectionModel()->select(table->model()->index(row, 0),
                                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

QStringList listedNames(QWidget* listDialog)
{
    auto* table = listDialog->findChild<QTableView*>(QStringLiteral("sequencesTable"));
    QStringList names;
    for (int row = 0; row < table->model()->rowCount(); ++row)
        names << table->model()->index(row, 1).data().toString();
    return names;
}

// Leaves a dialog to whoever opened it: the dialog below a nested one may
// become active again before the nested answerer has gone.
void leaveAlone(QWidget*) {}

// Does what opens a dialog with an answerer of its own for it: dialogs opened
// from inside an answer are answered at their own level.
void answered(const std::function<void()>& open, const DialogAnswerer::Handler& handler)
{
    DialogAnswerer answerer;
    answerer.answerNext(handler);
    answerer.answerNext(leaveAlone);
    open();
}

} // namespace

namespace {

// For a person to look at: the window on a register whose Monitor A has the
// sequence blob, the sequence tab on screen with the editors at the given
// places open. Arguments: the database file to create, the picture to write.
int showSequenceOf(const QStringList& args, const QByteArray& blob, const QList<int>& open)
{
    if (args.size() < 2 || !QGuiApplication::primaryScreen())
        return 2;
    if (!SeededDatabase::createSeeded(args.at(0)))
        return 1;
    SqlQuery insert;
    insert.prepare(QStringLiteral("INSERT INTO TestSequence (Name,AssetId,Data) VALUES (?,3,?)"));
    insert.addBindValue(QStringLiteral("Monitor yearly"));
    insert.addBindValue(blob);
    insert.exec();
    Database::setInstance(nullptr);
    QSettings settings;
    settings.setValue(QStringLiteral("language/translation"), QStringLiteral("Translations/pelvane_en.qm"));
    settings.setValue(QStringLiteral("db/current/type"), 0);
    settings.setValue(QStringLiteral("db/current/fileName"), args.at(0));
    MainWindow window;
    if (!Database::instance())
        return 1;
    window.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    auto* table = window.findChild<AssetTableView*>(QStringLiteral("assetTableView"));
    table->showAllAssets();
    table->selectAsset(MonitorA);
    auto* tab = window.findChild<TestSequenceTab*>(QStringLiteral("testSequenceTab"));
    qobject_cast<QTabWidget*>(tab->parentWidget()->parentWidget())->setCurrentWidget(tab);
    if (auto* dock = window.findChild<QDockWidget*>(QStringLiteral("assetDetailsDock")))
        window.resizeDocks({dock}, {window.height() * 2 / 3}, Qt::Vertical);
    for (int i : open) {
        auto* details = tab->testSequence()->container(i)->findChild<QToolButton*>(QStringLiteral("detailsBtn"));
        QTest::mouseClick(details, Qt::LeftButton);
    }
    QTest::qWait(500);
    return QGuiApplication::primaryScreen()->grabWindow(0).save(args.at(1), "PNG") ? 0 : 1;
}

} // namespace

PELVANE_CHILD_SCENARIO(showSequenceTab)
{
    return showSequenceOf(args,
                          QByteArray::fromHex(visualTest + insulationClassII + "0832037057b00402" + patientClassII
                                              + "074804a04fa08f" + "0afd466c6f77006d6c00"),
                          {1, 3, 5});
}

// An NIBP O-curve element on its own curve file, with the curve drawn.
PELVANE_CHILD_SCENARIO(showOCurveEditor)
{
    Ux::TsqTestSequenceElementNIBPSettingsOCurve oCurve;
    QByteArray file;
    for (int i = 0; i < 40; ++i) {
        const int pressure = 20 + 5 * i;
        // Pulse amplitudes rise to a peak near the mean pressure and fall again.
        const int amplitude = int(1200 * std::exp(-std::pow((pressure - 95) / 35.0, 2)));
        oCurve.curve[i][0] = quint16(pressure);
        oCurve.curve[i][1] = quint16(amplitude);
        file += QByteArray::number(pressure) + ',' + QByteArray::number(amplitude) + '\n';
    }
    const QString folder = OCurveFile::root() + QStringLiteral("/Default/Adult/");
    QDir().mkpath(folder);
    for (const char* name : {"120_080.csv", "100_060.csv", "140_090.csv"}) {
        QFile curve(folder + QLatin1String(name));
        if (!curve.open(QIODevice::WriteOnly))
            return 1;
        curve.write(file);
    }
    QDir().mkpath(OCurveFile::root() + QStringLiteral("/Dinamap/Adult"));
    QByteArray blob;
    QDataStream out(&blob, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    oCurve.write(out, true);
    return showSequenceOf(args, QByteArray::fromHex(visualTest) + blob + QByteArray::fromHex("06b0c8001e00"), {1});
}

// Test sequences as a user builds them in the window: an asset's own
// sequence in the editor dock, and the global sequences behind the Tools menu.
class TestMainWindowSequences : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void assetSequenceIsAppliedAndReloaded();
    void globalSequencesCreatedEditedImportedUploadedAndDeleted();

private:
    QAction* action(const char* name) const { return m_window->findChild<QAction*>(QLatin1String(name)); }
    AssetTabs* tabs() const { return m_window->findChild<AssetTabs*>(QStringLiteral("assetTabs")); }
    TestSequenceTab* sequenceTab() const { return m_window->findChild<TestSequenceTab*>(QStringLiteral("testSequenceTab")); }
    TestSequence* sequence() const { return sequenceTab()->testSequence(); }
    QString shownHex() const { return QString::fromLatin1(sequence()->data().toHex()); }
    void showSequenceTab();
    void clickAsset(int assetId);
    // Clicks the element in the element type dialog that Add opens, then OK.
    static void addElement(QWidget* list, int id);
    void apply();

    std::unique_ptr<MainWindow> m_window;
};

void TestMainWindowSequences::init()
{
    TestEnvironment::clearSettings();
    QSettings().setValue(QStringLiteral("language/translation"), QStringLiteral("Translations/pelvane_en.qm"));
    const QString path = TestEnvironment::instance()->newFolder(QStringLiteral("db")) + QStringLiteral("/register.db");
    QVERIFY(SeededDatabase::createSeeded(path));
    Database::setInstance(nullptr);
    QSettings().setValue(QStringLiteral("db/current/type"), 0);
    QSettings().setValue(QStringLiteral("db/current/fileName"), path);
    m_window = std::make_unique<MainWindow>();
    m_window->resize(1100, 800);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QVERIFY(Database::instance());
}

void TestMainWindowSequences::cleanup()
{
    m_window.reset();
    Database::setInstance(nullptr);
}

void TestMainWindowSequences::showSequenceTab()
{
    auto* tabWidget = tabs()->findChild<QTabWidget*>(QStringLiteral("assetTabWidget"));
    QCOMPARE(tabWidget->tabText(tabWidget->indexOf(sequenceTab())), QStringLiteral("Test Sequence"));
    tabWidget->setCurrentWidget(sequenceTab());
}

void TestMainWindowSequences::clickAsset(int assetId)
{
    auto* table = m_window->findChild<AssetTableView*>(QStringLiteral("assetTableView"));
    table->showAllAssets();
    clickAssetRow(table, assetId);
}

void TestMainWindowSequences::addElement(QWidget* list, int id)
{
    answered([list] { press(button(list, "addElementBtn")); }, [id](QWidget* dialog) {
        if (!chooseElementType(dialog, id))
            QFAIL("the element is not offered");
    });
}

void TestMainWindowSequences::apply()
{
    press(button(tabs(), "applyButton"));
}

void TestMainWindowSequences::assetSequenceIsAppliedAndReloaded()
{
    clickAsset(MonitorA);
    showSequenceTab();
    QVERIFY(sequenceTab()->findChild<QLineEdit*>(QStringLiteral("name"))->text().isEmpty());
    QCOMPARE(sequence()->elementCount(), 0);
    QVERIFY(!button(tabs(), "applyButton")->isEnabled());

    auto* name = sequenceTab()->findChild<QLineEdit*>(QStringLiteral("name"));
    QTest::keyClicks(name, QStringLiteral("Monitor checks and a name too long to keep"));
    QCOMPARE(name->text(), QStringLiteral("Monitor checks and a name"));  // 25 characters
    QVERIFY(button(tabs(), "applyButton")->isEnabled());
    addElement(sequence(), 33);  // Monitor A is Class II: the earth bond is not offered
    addElement(sequence(), 80);
    apply();
    QCOMPARE(scalar("SELECT COUNT(*) FROM TestSequence WHERE AssetId=3").toInt(), 1);
    const int rowId = scalar("SELECT Id FROM TestSequence WHERE AssetId=3").toInt();
    QCOMPARE(scalar("SELECT Name FROM TestSequence WHERE AssetId=3").toString(), name->text());
    QCOMPARE(storedHex("SELECT Data FROM TestSequence WHERE AssetId=3"), QString(insulationClassII + patientClassII));

    // The second apply updates the same row: the insulation test's duration typed anew.
    auto* duration = sequence()->container(0)->findChild<QLineEdit*>(QStringLiteral("duration"));
    duration->selectAll();
    QTest::keyClicks(duration, QStringLiteral("9"));
    apply();
    QCOMPARE(scalar("SELECT COUNT(*) FROM TestSequence WHERE AssetId=3").toInt(), 1);
    QCOMPARE(scalar("SELECT Id FROM TestSequence WHERE AssetId=3").toInt(), rowId);
    QCOMPARE(storedHex("SELECT Data FROM TestSequence WHERE AssetId=3"),
             QString("062109d0c701" + patientClassII));

    // Another asset without a row gets its own; the first one's stays.
    clickAsset(Pump2);
    QCOMPARE(sequence()->elementCount(), 0);
    addElement(sequence(), 1);
    apply();
    QCOMPARE(storedHex("SELECT Data FROM TestSequence WHERE AssetId=2"), QString(visualTest));
    QCOMPARE(storedHex("SELECT Data FROM TestSequence WHERE AssetId=3"),
             QString("062109d0c701" + patientClassII));

    // Coming back shows what was stored, and loading marks nothing modified.
    clickAsset(MonitorA);
    QCOMPARE(name->text(), QStringLiteral("Monitor checks and a name"));
    QCOMPARE(shownHex(), QString("062109d0c701" + patientClassII));
    QVERIFY(!button(tabs(), "applyButton")->isEnabled());

    // An emptied sequence is stored as an empty blob, not as NULL.
    clickAsset(Pump2);
    QTest::mouseClick(sequence()->container(0)->findChild<ClickableLabel*>(QStringLiteral("sequenceElementLabel")),
                      Qt::LeftButton);
    press(button(sequence(), "deleteElementBtn"));
    apply();
    QCOMPARE(scalar("SELECT Data IS NULL FROM TestSequence WHERE AssetId=2").toInt(), 0);
    QCOMPARE(scalar("SELECT length(Data) FROM TestSequence WHERE AssetId=2").toInt(), 0);

    // A new asset's sequence is written once the asset has its Id.
    action("actionAddAsset")->trigger();
    auto* assetName = tabs()->findChild<QLineEdit*>(QStringLiteral("assetId"));
    QTest::keyClicks(assetName, QStringLiteral("Ventilator"));
    showSequenceTab();
    QCOMPARE(sequence()->elementCount(), 0);
    addElement(sequence(), 1);
    apply();
    const int ventilator = scalar("SELECT Id FROM Asset WHERE Name='Ventilator'").toInt();
    QVERIFY(ventilator > 0);
    QCOMPARE(storedHex(QStringLiteral("SELECT Data FROM TestSequence WHERE AssetId=%1").arg(ventilator)),
             QString(visualTest));
    QCOMPARE(scalar("SELECT COUNT(*) FROM TestSequence").toInt(), 3);
}

void TestMainWindowSequences::globalSequencesCreatedEditedImportedUploadedAndDeleted()
{
    QVERIFY(action("actionGlobalTestSequences")->isEnabled());
    QCOMPARE(action("actionGlobalTestSequences")->text(), QStringLiteral("Global Test Sequences..."));

    // Created, a duplicate name refused, edited.
    const auto okOf = [](QWidget* dialog) { return dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok); };
    answered([this] { action("actionGlobalTestSequences")->trigger(); }, [okOf](QWidget* list) {
        QCOMPARE(list->windowTitle(), QStringLiteral("Global Test Sequences"));
        QVERIFY(!button(list, "selectBtn")->isVisible());
        answered([list] { press(button(list, "newBtn")); }, [okOf](QWidget* edit) {
            auto* dialog = qobject_cast<DialogEditGlobalTestSequence*>(edit);
            QVERIFY(dialog);
            QVERIFY(!button(dialog->testSequence(), "importBtn")->isEnabled());
            QTest::keyClicks(edit->findChild<QLineEdit*>(QStringLiteral("name")), QStringLiteral("Routine"));
            edit->findChild<QComboBox*>(QStringLiteral("equipmentClass"))->setCurrentIndex(1);
            addElement(dialog->testSequence(), 17);
            press(okOf(edit));
        });
        QCOMPARE(listedNames(list), QStringList{"Routine"});

        answered([list] { press(button(list, "newBtn")); }, [okOf](QWidget* edit) {
            auto* dialog = qobject_cast<DialogEditGlobalTestSequence*>(edit);
            QVERIFY(button(dialog->testSequence(), "importBtn")->isEnabled());
            auto* name = edit->findChild<QLineEdit*>(QStringLiteral("name"));
            QTest::keyClicks(name, QStringLiteral("ROUTINE"));
            edit->findChild<QComboBox*>(QStringLiteral("equipmentClass"))->setCurrentIndex(2);
            addElement(dialog->testSequence(), 33);
            {
                DialogAnswerer refusal;
                refusal.pressNext(QStringLiteral("OK"));
                refusal.answerNext(leaveAlone);
                press(okOf(edit));
                QCOMPARE(refusal.seen().first().text, QStringLiteral("A global test sequence already exists with "
                                                                     "the same name. Please choose another."));
            }
            QVERIFY(edit->isVisible());
            name->selectAll();
            QTest::keyClicks(name, QStringLiteral("Weekly"));
            press(okOf(edit));
        });
        QCOMPARE(listedNames(list), (QStringList{"Routine", "Weekly"}));
        QVERIFY(!button(list, "editBtn")->isEnabled());

        selectRows(list, {"Routine"});
        answered([list] { press(button(list, "editBtn")); }, [okOf](QWidget* edit) {
            auto* dialog = qobject_cast<DialogEditGlobalTestSequence*>(edit);
            QCOMPARE(edit->findChild<QLineEdit*>(QStringLiteral("name"))->text(), QStringLiteral("Routine"));
            QCOMPARE(dialog->testSequence()->elementCount(), 1);
            addElement(dialog->testSequence(), 145);
            press(okOf(edit));
        });
        // The list was read again: nothing is selected, nothing can be acted on.
        QVERIFY(!button(list, "editBtn")->isEnabled());
        QVERIFY(!button(list, "deleteBtn")->isEnabled());
        qobject_cast<QDialog*>(list)->reject();
    });
    QCOMPARE(scalar("SELECT COUNT(*) FROM GlobalTestSequence").toInt(), 2);
    QCOMPARE(scalar("SELECT EquipmentClass FROM GlobalTestSequence WHERE Name='Routine'").toInt(), 1);
    QCOMPARE(storedHex("SELECT Data FROM GlobalTestSequence WHERE Name='Routine'"), QString(earthBond + iecWiring));
    QCOMPARE(scalar("SELECT EquipmentClass FROM GlobalTestSequence WHERE Name='Weekly'").toInt(), 2);
    QCOMPARE(storedHex("SELECT Data FROM GlobalTestSequence WHERE Name='Weekly'"), QString(insulationClassII));

    // Imported into an asset's sequence, after what it holds.
    clickAsset(Pump1);
    showSequenceTab();
    addElement(sequence(), 1);
    answered([this] { press(button(sequence(), "importBtn")); }, [](QWidget* list) {
        QVERIFY(button(list, "selectBtn")->isVisible());
        selectRows(list, {"Weekly"});
        press(button(list, "selectBtn"));
    });
    apply();
    QCOMPARE(storedHex("SELECT Data FROM TestSequence WHERE AssetId=1"), QString(visualTest + insulationClassII));

    // Uploaded, both, then deleted in one go.
    SimulatedInstrument instrument;
    QVERIFY(instrument.isValid());
    instrument.setDefaultAnswer(SimulatedInstrument::AnswerAck);
    answered([this] { action("actionGlobalTestSequences")->trigger(); }, [&instrument](QWidget* list) {
        selectRows(list, {"Routine", "Weekly"});
        QVERIFY(!button(list, "editBtn")->isEnabled());
        {
            DialogAnswerer transfer;
            transfer.answerNext([&instrument](QWidget* dialog) {
                QCOMPARE(dialog->windowTitle(), QStringLiteral("Upload Global Test Sequences to Tester"));
                auto* ports = dialog->findChild<QComboBox*>(QStringLiteral("comPorts"));
                ports->addItem(instrument.portName(), instrument.portName());
                ports->setCurrentIndex(ports->count() - 1);
                qobject_cast<QDialog*>(dialog)->accept();
            });
            transfer.pressNext(QStringLiteral("OK"));  // "Press Ok when ready to send"
            transfer.answerNext(leaveAlone);
            press(button(list, "uploadBtn"));
            QVERIFY(transfer.count() >= 2);
            QCOMPARE(transfer.seen().at(1).text, QStringLiteral("Press Ok when ready to send"));
        }
        QVERIFY(instrument.waitForSeen(4, 5000));

        selectRows(list, {"Routine", "Weekly"});
        press(button(list, "deleteBtn"));
        QVERIFY(listedNames(list).isEmpty());
        QVERIFY(!button(list, "deleteBtn")->isEnabled());
        qobject_cast<QDialog*>(list)->reject();
    });
    QCOMPARE(scalar("SELECT COUNT(*) FROM GlobalTestSequence").toInt(), 0);

    const QList<SimulatedInstrument::Seen> packets = instrument.seenOfKind(SimulatedInstrument::Seen::Packet);
    QCOMPARE(packets.size(), 4);
    QStringList names;
    QStringList blobs;
    for (int i = 0; i < packets.size(); ++i) {
        QCOMPARE(packets.at(i).id, quint8(4 + i));
        QCOMPARE(packets.at(i).raw, SimulatedInstrument::frame(packets.at(i).id, packets.at(i).data));
    }
    for (int i : {1, 2}) {
        QDataStream in(packets.at(i).data);
        in.setByteOrder(QDataStream::LittleEndian);
        Ux::TsqTestSequenceBlock block;
        in >> block.header >> block;
        names << block.name;
        blobs << QString::fromLatin1(block.data.toHex());
    }
    QCOMPARE(names, (QStringList{"Routine", "Weekly"}));
    QCOMPARE(blobs, (QStringList{QString(earthBond + iecWiring), QString(insulationClassII)}));
    QCOMPARE(packets.at(3).data, QByteArray::fromHex("600200a9010000aaff"));
}

PELVANE_TEST_MAIN(TestMainWindowSequences)
#include "TestMainWindowSequences.moc"
