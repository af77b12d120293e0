#include "support/SimulatedInstrument.h"
#include "support/TestEnvironment.h"
#include "transfer/DialogDownloadReport.h"
#include "transfer/DialogTransfer.h"
#include "transfer/DownloadStats.h"
#include "ux/SerialPort.h"

#include <QComboBox>
#include <QDataStream>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QtTest>

#include <memory>

namespace {

QComboBox* combo(QDialog& dialog, const char* name)
{
    return dialog.findChild<QComboBox*>(QLatin1String(name));
}

QByteArray state(qint32 baud, qint32 port)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << baud << port;
    return bytes;
}

// The two indexes stored under the setting, baud rate first.
QPair<qint32, qint32> storedState()
{
    QByteArray bytes = QSettings().value(QLatin1String(DialogTransfer::SettingsKey)).toByteArray();
    QDataStream in(bytes);
    qint32 baud = -100;
    qint32 port = -100;
    in >> baud >> port;
    return {baud, port};
}

} // namespace

// The port and baud-rate dialog, on virtual ports added to the port listing.
class TestTransferDialogs : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    // Runs first: nothing remembered yet in this process.
    void firstStartDefaults();
    void listsPortsByFriendlyNameWithPortNameAsData();
    void choiceIsSavedBigEndianAndRestored();
    void shortSettingIsIgnored();
    void indexBeyondTheListSelectsNothing();
    void rescanListsPresentPortsAndSelectsTheFirst();
    void choiceSurvivesCancelWithinTheRun();
    void reportShowsEachCounterOnItsLine();

private:
    int indexOfPort(QComboBox* box, const QString& portName) const;
    std::unique_ptr<SimulatedInstrument> first;
    std::unique_ptr<SimulatedInstrument> second;
};

void TestTransferDialogs::initTestCase()
{
    first = std::make_unique<SimulatedInstrument>();
    second = std::make_unique<SimulatedInstrument>();
    QVERIFY(first->isValid() && second->isValid());
    qputenv(Ux::SerialPort::ExtraPortsVariable,
            (first->portName() + QLatin1Char(':') + second->portName()).toLocal8Bit());
    TestEnvironment::clearSettings();
}

int TestTransferDialogs::indexOfPort(QComboBox* box, const QString& portName) const
{
    return box->findData(portName, Qt::UserRole);
}

void TestTransferDialogs::firstStartDefaults()
{
    DialogTransfer dialog(nullptr, 0);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Transfer"));
    QCOMPARE(combo(dialog, "baudRate")->currentText(), QStringLiteral("57600"));
    QCOMPARE(dialog.baudRate(), 57600);
    QCOMPARE(combo(dialog, "comPorts")->currentIndex(), 0);
    QCOMPARE(dialog.portName(), Ux::SerialPort::enumeratePorts().first().portName);
}

void TestTransferDialogs::listsPortsByFriendlyNameWithPortNameAsData()
{
    DialogTransfer dialog(nullptr, 1);
    QComboBox* ports = combo(dialog, "comPorts");
    const Ux::SerialPortInfoList listed = Ux::SerialPort::enumeratePorts();
    QCOMPARE(ports->count(), int(listed.size()));
    for (int i = 0; i < ports->count(); ++i) {
        QCOMPARE(ports->itemText(i), listed.at(i).friendName);
        QCOMPARE(ports->itemData(i, Qt::UserRole).toString(), listed.at(i).portName);
    }
    const int secondIndex = indexOfPort(ports, second->portName());
    QVERIFY(secondIndex >= 0);
    ports->setCurrentIndex(secondIndex);
    QCOMPARE(dialog.portName(), second->portName());

    QComboBox* baud = combo(dialog, "baudRate");
    const QStringList rates = {"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"};
    QCOMPARE(baud->count(), int(rates.size()));
    for (int i = 0; i < rates.size(); ++i) {
        baud->setCurrentIndex(i);
        QCOMPARE(dialog.baudRate(), rates.at(i).toInt());
    }
}

void TestTransferDialogs::choiceIsSavedBigEndianAndRestored()
{
    int secondIndex = -1;
    {
        DialogTransfer dialog;
        secondIndex = indexOfPort(combo(dialog, "comPorts"), second->portName());
        combo(dialog, "comPorts")->setCurrentIndex(secondIndex);
        combo(dialog, "baudRate")->setCurrentIndex(3);
    }
    QCOMPARE(storedState(), qMakePair(qint32(3), qint32(secondIndex)));
    const QByteArray raw = QSettings().value(QLatin1String(DialogTransfer::SettingsKey)).toByteArray();
    QCOMPARE(raw.left(4), QByteArray::fromHex("00000003"));

    // A stored choice wins over the one remembered in the run.
    QSettings().setValue(QLatin1String(DialogTransfer::SettingsKey), state(7, 0));
    DialogTransfer dialog;
    QCOMPARE(dialog.baudRate(), 115200);
    QCOMPARE(combo(dialog, "comPorts")->currentIndex(), 0);
}

void TestTransferDialogs::shortSettingIsIgnored()
{
    {
        DialogTransfer dialog;
        combo(dialog, "baudRate")->setCurrentIndex(2);
        combo(dialog, "comPorts")->setCurrentIndex(1);
    }
    QSettings().setValue(QLatin1String(DialogTransfer::SettingsKey), state(5, 0).left(7));
    DialogTransfer dialog;
    QCOMPARE(dialog.baudRate(), 4800);
    QCOMPARE(combo(dialog, "comPorts")->currentIndex(), 1);
}

void TestTransferDialogs::indexBeyondTheListSelectsNothing()
{
    QSettings().setValue(QLatin1String(DialogTransfer::SettingsKey), state(6, 999));
    {
        DialogTransfer dialog;
        QCOMPARE(combo(dialog, "comPorts")->currentIndex(), -1);
        QCOMPARE(dialog.portName(), QString());
        QCOMPARE(dialog.baudRate(), 57600);
    }
    QCOMPARE(storedState(), qMakePair(qint32(6), qint32(999)));
}

void TestTransferDialogs::rescanListsPresentPortsAndSelectsTheFirst()
{
    QSettings().setValue(QLatin1String(DialogTransfer::SettingsKey), state(6, 1));
    SimulatedInstrument third;
    QVERIFY(third.isValid());
    DialogTransfer dialog;
    QComboBox* ports = combo(dialog, "comPorts");
    QCOMPARE(indexOfPort(ports, third.portName()), -1);

    const QByteArray before = qgetenv(Ux::SerialPort::ExtraPortsVariable);
    qputenv(Ux::SerialPort::ExtraPortsVariable, before + ':' + third.portName().toLocal8Bit());
    dialog.findChild<QPushButton*>(QStringLiteral("rescanComPortBtn"))->pressed();
    qputenv(Ux::SerialPort::ExtraPortsVariable, before);

    QVERIFY(indexOfPort(ports, third.portName()) >= 0);
    QCOMPARE(ports->currentIndex(), 0);
    QCOMPARE(dialog.portName(), ports->itemData(0).toString());
}

void TestTransferDialogs::choiceSurvivesCancelWithinTheRun()
{
    int secondIndex = -1;
    {
        DialogTransfer dialog;
        secondIndex = indexOfPort(combo(dialog, "comPorts"), second->portName());
        combo(dialog, "comPorts")->setCurrentIndex(secondIndex);
        combo(dialog, "baudRate")->setCurrentIndex(4);
        QTimer::singleShot(0, &dialog, &QDialog::reject);
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    }
    TestEnvironment::clearSettings();
    DialogTransfer dialog;
    QCOMPARE(dialog.baudRate(), 19200);
    QCOMPARE(dialog.portName(), second->portName());
}

void TestTransferDialogs::reportShowsEachCounterOnItsLine()
{
    DownloadStats stats;
    {
        DialogDownloadReport zeros(&stats, nullptr);
        const auto labels = zeros.findChildren<QLabel*>();
        QCOMPARE(labels.size(), 6);
        for (const QLabel* label : labels) {
            QVERIFY2(label->text().startsWith(QLatin1String("0 ")), qPrintable(label->text()));
            QVERIFY(label->isVisibleTo(&zeros));
        }
    }
    for (int i = 0; i < DownloadStats::CounterCount; ++i)
        stats[i] = 10 + i;
    stats[DownloadStats::Pass] = 1;
    DialogDownloadReport report(&stats, nullptr);
    auto text = [&report](const char* name) {
        return report.findChild<QLabel*>(QLatin1String(name))->text();
    };
    QCOMPARE(report.windowTitle(), QStringLiteral("Download Report"));
    QCOMPARE(text("passLabel"), QStringLiteral("1 assets downloaded with status 'Pass'"));
    QCOMPARE(text("failLabel"), QStringLiteral("12 assets downloaded with status 'Fail'"));
    QCOMPARE(text("alertLabel"), QStringLiteral("13 assets downloaded with status 'Alert'"));
    QCOMPARE(text("skippedLabel"), QStringLiteral("14 assets downloaded with no new test results"));
    QCOMPARE(text("emptyLabel"), QStringLiteral("15 assets downloaded with no test results"));
    QCOMPARE(text("sequencesLabel"), QStringLiteral("10 global test sequences downloaded"));
    // The record is read once and not kept.
    stats[DownloadStats::Fail] = 99;
    QCOMPARE(text("failLabel"), QStringLiteral("12 assets downloaded with status 'Fail'"));
}

PELVANE_TEST_MAIN(TestTransferDialogs)
#include "TestTransferDialogs.moc"
