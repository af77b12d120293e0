#include "portwell/ConfigRecord.h"
#include "portwell/TForm1.h"
#include "tests/portwell/ModalAnswerer.h"
#include "tests/portwell/PrivateConfigFolder.h"
#include "tests/portwell/PtyTester.h"
#include "tests/support/PermissionsEnforced.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

class TestConfigRecord : public QObject
{
    Q_OBJECT
public:
    static void initMain() { usePrivateConfigFolder(); }
private slots:
    void recordIs265BytesWithTwoBoundedFields();
    void shortFileIsReadAsFarAsItGoes();
    void fieldsKeepTheirBytesAndTheirPlace();
    void windowReadsAndWritesTheRecord();
    void recordBesideTheProgramIsNotRead();
};

void TestConfigRecord::recordIs265BytesWithTwoBoundedFields()
{
    ConfigRecord record;
    QVERIFY(record.setLastFilePath(QStringLiteral("/home/tech/fw/tester.hex")));
    QVERIFY(record.setPortName(QStringLiteral("ttyUSB0")));
    QByteArray bytes = record.toBytes();
    QCOMPARE(bytes.size(), 265);
    QVERIFY(bytes.startsWith("/home/tech/fw/tester.hex"));
    QCOMPARE(bytes.at(24), '\0');
    QCOMPARE(bytes.mid(255, 8), QByteArray("ttyUSB0\0", 8));

    QTemporaryDir folder;
    const QString name = folder.filePath(QStringLiteral("btd.cfg"));
    QVERIFY(record.save(name));
    QCOMPARE(QFileInfo(name).size(), 265);
    ConfigRecord back;
    QVERIFY(back.load(name));
    QCOMPARE(back.lastFilePath(), record.lastFilePath());
    QCOMPARE(back.portName(), record.portName());
    QVERIFY(!back.load(folder.filePath(QStringLiteral("missing.cfg"))));

    // Each field keeps its NUL: a value that would not leave room is refused.
    record = ConfigRecord();
    QVERIFY(record.setLastFilePath(QString(254, QLatin1Char('p'))));
    QVERIFY(!record.setLastFilePath(QString(255, QLatin1Char('q'))));
    QCOMPARE(record.lastFilePath(), QString(254, QLatin1Char('p')));
    QVERIFY(record.setPortName(QStringLiteral("123456789")));
    QVERIFY(!record.setPortName(QStringLiteral("1234567890")));
    QCOMPARE(record.portName(), QStringLiteral("123456789"));
    bytes = record.toBytes();
    QCOMPARE(bytes.size(), 265);
    QCOMPARE(bytes.at(254), '\0');
    QCOMPARE(bytes.at(264), '\0');
}

void TestConfigRecord::shortFileIsReadAsFarAsItGoes()
{
    ConfigRecord record = ConfigRecord::fromBytes(QByteArray("/fw/a.hex"));
    QCOMPARE(record.lastFilePath(), QStringLiteral("/fw/a.hex"));
    QCOMPARE(record.portName(), QString());

    QByteArray cut = QByteArray("/fw/b.hex").leftJustified(255, '\0') + "pts/7";
    record = ConfigRecord::fromBytes(cut);
    QCOMPARE(record.lastFilePath(), QStringLiteral("/fw/b.hex"));
    QCOMPARE(record.portName(), QStringLiteral("pts/7"));

    // Fields without their NUL end where the record ends.
    record = ConfigRecord::fromBytes(QByteArray(300, 'z'));
    QCOMPARE(record.lastFilePath(), QString(255, QLatin1Char('z')));
    QCOMPARE(record.portName(), QString(10, QLatin1Char('z')));
}

void TestConfigRecord::fieldsKeepTheirBytesAndTheirPlace()
{
    // A path saved by another system in another encoding: bytes that are
    // no UTF-8, and whatever the rest of the field held after its NUL.
    QByteArray path = "/home/tech/" + QByteArray(200, '\xe9') + "/fw.hex";
    path += '\0';
    while (path.size() < 255)
        path += char(0x80 + path.size() % 64);
    const QByteArray stored = path + QByteArray("ttyS1\0\xff\xfe\x01\x02", 10);
    QCOMPARE(stored.size(), 265);

    // Read back and written unchanged: the same bytes.
    QCOMPARE(ConfigRecord::fromBytes(stored).toBytes(), stored);

    // The port changes, as after every successful port choice: the path
    // field goes back as it came and the record keeps its size.
    ConfigRecord record = ConfigRecord::fromBytes(stored);
    QVERIFY(record.setPortName(QStringLiteral("ttyUSB0")));
    QByteArray bytes = record.toBytes();
    QCOMPARE(bytes.size(), 265);
    QCOMPARE(bytes.left(255), path);
    QCOMPARE(bytes.mid(255), QByteArray("ttyUSB0\0\0\0", 10));

    // And the other way round.
    record = ConfigRecord::fromBytes(stored);
    QVERIFY(record.setLastFilePath(QStringLiteral("/fw/a.hex")));
    bytes = record.toBytes();
    QCOMPARE(bytes.size(), 265);
    QCOMPARE(bytes.left(10), QByteArray("/fw/a.hex\0", 10));
    QCOMPARE(bytes.mid(255), stored.mid(255));
}

void TestConfigRecord::windowReadsAndWritesTheRecord()
{
    PtyTester tester;
    qputenv(TComPort::ExtraPortsVariable, tester.slaveName().toLocal8Bit());
    QTemporaryDir start;
    QTemporaryDir firmware;
    const QString firmwareFile = firmware.filePath(QStringLiteral("tester.hex"));
    QFile(firmwareFile).open(QIODevice::WriteOnly);

    ConfigRecord stored;
    QVERIFY(stored.setLastFilePath(firmwareFile));
    QVERIFY(stored.setPortName(tester.shortName()));
    QVERIFY(stored.save(QDir(start.path()).filePath(QStringLiteral("btd.cfg"))));

    ModalAnswerer answerer;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(start.path()));
    TForm1 form({QStringLiteral("portwell")});
    // The file stays where the tool started, whatever folder is current later.
    QDir::setCurrent(previous);
    QCOMPARE(form.configFileName(), QDir(start.path()).filePath(QStringLiteral("btd.cfg")));

    QCOMPARE(answerer.count(), 0);
    QVERIFY(form.comPort().Active());
    QCOMPARE(form.comPort().DeviceName(), tester.slaveName());
    QCOMPARE(form.findChild<QComboBox*>("cbComPorts")->currentText(), tester.shortName());
    for (const char* name : {"OpenDialog1", "OpenDialog2"}) {
        auto* dialog = form.findChild<QFileDialog*>(name);
        QCOMPARE(dialog->directory().absolutePath(), firmware.path());
    }

    // A port that is not in the list leaves the port as it was.
    form.TryToSetPort(QStringLiteral("ttyNOSUCH9"));
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.last().text, QStringLiteral("Comport Unavailable"));
    QCOMPARE(answerer.last().title, QStringLiteral("Error"));
    QCOMPARE(form.findChild<QComboBox*>("cbComPorts")->currentIndex(), -1);
    QCOMPARE(form.findChild<QComboBox*>("cbComPorts")->placeholderText(), QStringLiteral("Port List"));
    QVERIFY(form.comPort().Active());

    // A listed device that will not open: the last good port is opened again.
    QFile notATerminal(QDir(start.path()).filePath(QStringLiteral("plain")));
    QVERIFY(notATerminal.open(QIODevice::WriteOnly));
    notATerminal.close();
    form.findChild<QComboBox*>("cbComPorts")->addItem(notATerminal.fileName());
    form.TryToSetPort(notATerminal.fileName());
    QCOMPARE(answerer.count(), 2);
    QCOMPARE(answerer.last().text, QStringLiteral("Comport Unavailable"));
    QVERIFY(form.comPort().Active());
    QCOMPARE(form.comPort().DeviceName(), tester.slaveName());
    QCOMPARE(form.findChild<QComboBox*>("cbComPorts")->currentText(), tester.shortName());

    // A terminal that no group may use, as some machines leave a serial port:
    // the box says joining a group would not help; the last good port stays.
    PtyTester refused;
    QVERIFY(::chmod(qPrintable(refused.slaveName()), 0) == 0);
    form.findChild<QComboBox*>("cbComPorts")->addItem(refused.slaveName());
    {
        PermissionsEnforced enforced;
        form.TryToSetPort(refused.slaveName());
    }
    QCOMPARE(answerer.count(), 3);
    for (const QString& part : {refused.slaveName(), QStringLiteral("no group use it"), QStringLiteral("\"dialout\"")})
        QVERIFY2(answerer.last().text.contains(part), qPrintable(answerer.last().text));
    QCOMPARE(answerer.last().title, QStringLiteral("Error"));
    QCOMPARE(form.comPort().DeviceName(), tester.slaveName());

    // Characters before the name are dropped; the port chosen is written.
    form.comPort().Close();
    form.TryToSetPort(QStringLiteral(" ") + tester.shortName());
    QVERIFY(form.comPort().Active());
    QFile file(form.configFileName());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(bytes.size(), 265);
    QCOMPARE(ConfigRecord::fromBytes(bytes).portName(), tester.shortName());
    QCOMPARE(ConfigRecord::fromBytes(bytes).lastFilePath(), firmwareFile);
    qunsetenv(TComPort::ExtraPortsVariable);
}

void TestConfigRecord::recordBesideTheProgramIsNotRead()
{
    // A record beside the program names a port that opens and a folder of
    // its own; the tool started in a folder without one must use neither.
    const QString besideProgram = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("btd.cfg"));
    if (QFileInfo::exists(besideProgram))
        QSKIP("a btd.cfg beside the test program is not this test's to replace");
    PtyTester tester;
    qputenv(TComPort::ExtraPortsVariable, tester.slaveName().toLocal8Bit());
    QTemporaryDir elsewhere;
    ConfigRecord stored;
    QVERIFY(stored.setLastFilePath(QDir(elsewhere.path()).filePath(QStringLiteral("tester.hex"))));
    QVERIFY(stored.setPortName(tester.shortName()));
    QVERIFY(stored.save(besideProgram));
    const QString previous = QDir::currentPath();
    auto restore = qScopeGuard([&] {
        QFile::remove(besideProgram);
        QDir::setCurrent(previous);
        qunsetenv(TComPort::ExtraPortsVariable);
    });

    QTemporaryDir start;
    ModalAnswerer answerer;
    QVERIFY(QDir::setCurrent(start.path()));
    TForm1 form({QStringLiteral("portwell")});
    QVERIFY(form.comPort().DeviceName() != tester.slaveName());
    QVERIFY(form.findChild<QComboBox*>("cbComPorts")->currentText() != tester.shortName());
    for (const char* name : {"OpenDialog1", "OpenDialog2"})
        QVERIFY(form.findChild<QFileDialog*>(name)->directory().absolutePath() != elsewhere.path());
}

QTEST_MAIN(TestConfigRecord)
#include "TestConfigRecord.moc"
