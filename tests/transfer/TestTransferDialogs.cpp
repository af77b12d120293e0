#include "support/SimulatedInstrument.h"
#include "support/TestEnvironment.h"
#include "transfer/DialogDownloadReport.h"
#include "transfer/DialogTransfer.h"
#include "transfer/DownloadStats.h"
#include "ux/SerialPort.h"

#include <QComboBox>
#include <QDataStream>
#include <QDialogButtonBox>
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

// The two indexes stored under the setting, baud rate first, read big-endian.
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
    void initTestCase()
    {
        first = std::make_unique<SimulatedInstrument>();
        second = std::make_unique<SimulatedInstrument>();
        QVERIFY(first->isValid() && second->isValid());
        qputenv(Ux::SerialPort::ExtraPortsVariable,
                (first->portName() + QLatin1Char(':') + second->portName()).toLocal8Bit());
        TestEnvironment::clearSettings();
    }

    void listsPortsByFriendlyNameWithPortNameAsData()
    {
        DialogTransfer dialog(nullptr, 1);
        QComboBox* ports = combo(dialog, "comPorts");
        const Ux::SerialPortInfoList listed = Ux::SerialPort::enumeratePorts();
        // Runs first: nothing remembered yet in this process.
        QCOMPARE(dialog.baudRate(), 57600);
        QCOMPARE(dialog.portName(), listed.first().portName);
        QCOMPARE(ports->count(), int(listed.size()));
        for (int i = 0; i < ports->count(); ++i) {
            QCOMPARE(ports->itemText(i), listed.at(i).friendName);
            QCOMPARE(ports->itemData(i, Qt::UserRole).toString(), listed.at(i).portName);
        }
        const int secondIndex = ports->findData(second->portName());
        QVERIFY(secondIndex >= 0);
        ports->setCurrentIndex(secondIndex);
        QCOMPARE(dialog.portName(), second->portName());
    }

    void choiceIsSavedAndRestored()
    {
        int secondIndex = -1;
        {
            DialogTransfer dialog;
            secondIndex = combo(dialog, "comPorts")->findData(second->portName());
            combo(dialog, "comPorts")->setCurrentIndex(secondIndex);
            combo(dialog, "baudRate")->setCurrentIndex(3);
        }
        QCOMPARE(storedState(), qMakePair(qint32(3), qint32(secondIndex)));

        // A stored choice wins over the one remembered in the run.
        QSettings().setValue(QLatin1String(DialogTransfer::SettingsKey), state(7, 0));
        {
            DialogTransfer dialog;
            QCOMPARE(dialog.baudRate(), 115200);
            QCOMPARE(combo(dialog, "comPorts")->currentIndex(), 0);
            combo(dialog, "baudRate")->setCurrentIndex(4);
            QTimer::singleShot(0, &dialog, &QDialog::reject);
            QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        }
        // Without a stored choice, or with one too short, the one of the run comes back, even after Cancel.
        TestEnvironment::clearSettings();
        QCOMPARE(DialogTransfer().baudRate(), 19200);
        QSettings().setValue(QLatin1String(DialogTransfer::SettingsKey), state(5, 1).left(7));
        QCOMPARE(DialogTransfer().baudRate(), 19200);

        // A port index beyond the list selects nothing and is kept as it was.
        QSettings().setValue(QLatin1String(DialogTransfer::SettingsKey), state(6, 999));
        {
            DialogTransfer dialog;
            QCOMPARE(dialog.portName(), QString());
            QCOMPARE(dialog.baudRate(), 57600);
            QVERIFY(!dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->isEnabled());
        }
        QCOMPARE(storedState(), qMakePair(qint32(6), qint32(999)));

        // A port no longer listed (unplugged) is still the one chosen, shown by its name.
        {
            DialogTransfer dialog;
            combo(dialog, "comPorts")->setCurrentIndex(combo(dialog, "comPorts")->findData(second->portName()));
        }
        const QByteArray listed = qgetenv(Ux::SerialPort::ExtraPortsVariable);
        qputenv(Ux::SerialPort::ExtraPortsVariable, first->portName().toLocal8Bit());
        DialogTransfer dialog;
        qputenv(Ux::SerialPort::ExtraPortsVariable, listed);
        QCOMPARE(dialog.portName(), second->portName());
        QVERIFY(combo(dialog, "comPorts")->currentText().contains(second->portName()));
    }

    void rescanListsPresentPortsAndSelectsTheFirst()
    {
        QSettings().setValue(QLatin1String(DialogTransfer::SettingsKey), state(6, 1));
        SimulatedInstrument third;
        QVERIFY(third.isValid());
        DialogTransfer dialog;
        QComboBox* ports = combo(dialog, "comPorts");
        QCOMPARE(ports->findData(third.portName()), -1);

        const QByteArray before = qgetenv(Ux::SerialPort::ExtraPortsVariable);
        qputenv(Ux::SerialPort::ExtraPortsVariable, before + ':' + third.portName().toLocal8Bit());
        dialog.findChild<QPushButton*>(QStringLiteral("rescanComPortBtn"))->pressed();
        qputenv(Ux::SerialPort::ExtraPortsVariable, before);

        QVERIFY(ports->findData(third.portName()) >= 0);
        QCOMPARE(ports->currentIndex(), 0);
        QCOMPARE(dialog.portName(), ports->itemData(0).toString());
    }

    void reportShowsEachCounterOnItsLine()
    {
        DownloadStats stats;
        for (int i = 0; i < DownloadStats::CounterCount; ++i)
            stats[i] = 10 + i;
        stats[DownloadStats::Pass] = 1;
        DialogDownloadReport report(&stats, nullptr);
        QCOMPARE(report.findChildren<QLabel*>().size(), 6);
        auto text = [&report](const char* name) {
            return report.findChild<QLabel*>(QLatin1String(name))->text();
        };
        QCOMPARE(text("passLabel"), QStringLiteral("1 assets downloaded with status 'Pass'"));
        QCOMPARE(text("failLabel"), QStringLiteral("12 assets downloaded with status 'Fail'"));
        QCOMPARE(text("alertLabel"), QStringLiteral("13 assets downloaded with status 'Alert'"));
        QCOMPARE(text("skippedLabel"), QStringLiteral("14 assets downloaded with no new test results"));
        QCOMPARE(text("emptyLabel"), QStringLiteral("15 assets downloaded with no test results"));
        QCOMPARE(text("sequencesLabel"), QStringLiteral("10 global test sequences downloaded"));
    }

private:
    std::unique_ptr<SimulatedInstrument> first;
    std::unique_ptr<SimulatedInstrument> second;
};


PELVANE_TEST_MAIN(TestTransferDialogs)
#include "TestTransferDialogs.moc"
