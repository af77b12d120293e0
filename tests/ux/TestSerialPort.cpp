#include "support/SimulatedInstrument.h"
#include "support/TestEnvironment.h"
#include "ux/SerialPort.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <memory>

namespace {

// Settings a port must undo: line editing, echo, signals, CR/LF mapping,
// XON/XOFF, hardware handshake, two stop bits, output processing.
termios cookedLine(const termios& base)
{
    termios t = base;
    t.c_iflag |= ICRNL | INLCR | IXON | IXOFF | ISTRIP;
    t.c_oflag |= OPOST | ONLCR;
    t.c_lflag |= ICANON | ECHO | ECHOE | ISIG | IEXTEN;
    t.c_cflag |= CSTOPB | CRTSCTS | PARENB;
    t.c_cc[VMIN] = 1;
    cfsetispeed(&t, B4800);
    cfsetospeed(&t, B4800);
    return t;
}

QString systemText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

class TestSerialPort : public QObject
{
    Q_OBJECT
private slots:
    void appliesRawLineSettings();
    void baudZeroKeepsLineSettings();
    void missingDevice();
    void longPathIsNotCut();
    void purgesOnOpen();
    void readsAtMostTheAskedCount();
    void noticesTheLineGoingAway();
    void writesToTheLine();
    void listsExtraPorts();
};

void TestSerialPort::appliesRawLineSettings()
{
    SimulatedInstrument line;
    QVERIFY(line.isValid());
    termios before;
    QVERIFY(line.lineSettings(&before));
    QVERIFY(line.setLineSettings(cookedLine(before)));

    Ux::SerialPort port;
    QVERIFY(!port.isOpen());
    QVERIFY(port.open(line.portName(), 57600));
    QVERIFY(port.isOpen());
    QVERIFY(line.portIsExclusive());

    termios t;
    QVERIFY(line.lineSettings(&t));
    QCOMPARE(cfgetospeed(&t), speed_t(B57600));
    QCOMPARE(cfgetispeed(&t), speed_t(B57600));
    QCOMPARE(t.c_cflag & CSIZE, tcflag_t(CS8));
    QCOMPARE(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), tcflag_t(0));
    QCOMPARE(t.c_cflag & (CREAD | CLOCAL), tcflag_t(CREAD | CLOCAL));
    QCOMPARE(t.c_lflag & (ICANON | ECHO | ECHOE | ISIG | IEXTEN), tcflag_t(0));
    QCOMPARE(t.c_iflag & (ICRNL | INLCR | IGNCR | IXON | IXOFF | ISTRIP), tcflag_t(0));
    QCOMPARE(t.c_oflag & OPOST, tcflag_t(0));
    QCOMPARE(int(t.c_cc[VMIN]), 0);
    QCOMPARE(int(t.c_cc[VTIME]), 0);
}

void TestSerialPort::baudZeroKeepsLineSettings()
{
    SimulatedInstrument line;
    termios before;
    QVERIFY(line.lineSettings(&before));
    QVERIFY(line.setLineSettings(cookedLine(before)));
    QVERIFY(line.lineSettings(&before));

    Ux::SerialPort port;
    QVERIFY(port.open(line.portName(), 0));
    termios after;
    QVERIFY(line.lineSettings(&after));
    QCOMPARE(cfgetospeed(&after), cfgetospeed(&before));
    QCOMPARE(after.c_cflag, before.c_cflag);
    QCOMPARE(after.c_lflag, before.c_lflag);
    QCOMPARE(after.c_iflag, before.c_iflag);
    QCOMPARE(after.c_oflag, before.c_oflag);
}

void TestSerialPort::missingDevice()
{
    Ux::SerialPort port;
    QVERIFY(!port.open(QStringLiteral("/dev/ttyPelvaneMissing0"), 9600));
    QVERIFY(!port.isOpen());
    QCOMPARE(port.errorString(), systemText(ENOENT));
    QVERIFY(!port.read(100));
    QCOMPARE(port.write(QByteArray("x")), 0);
}

void TestSerialPort::longPathIsNotCut()
{
    SimulatedInstrument line;
    QTemporaryDir dir;
    const QString longName =
        dir.filePath(QStringLiteral("an-instrument-behind-a-rather-long-device-name"));
    QVERIFY(QFile::link(line.portName(), longName));
    Ux::SerialPort port;
    QVERIFY2(port.open(longName, 9600), qPrintable(port.errorString()));
    QVERIFY(line.portIsExclusive());
}

void TestSerialPort::purgesOnOpen()
{
    SimulatedInstrument line;
    QVERIFY(line.sendRaw("left over from an earlier session"));
    QVERIFY(line.waitUntilPending(33));
    Ux::SerialPort port;
    QVERIFY(port.open(line.portName(), 9600));
    QCOMPARE(line.pendingForPort(), 0);
    QVERIFY(!port.read(100));
}

void TestSerialPort::readsAtMostTheAskedCount()
{
    SimulatedInstrument line;
    Ux::SerialPort port;
    QVERIFY(port.open(line.portName(), 9600));
    QSignalSpy ready(&port, &Ux::SerialPort::readyRead);

    QVERIFY(!port.read(100));
    QCOMPARE(ready.count(), 0);

    QByteArray bytes;
    for (int i = 0; i < 250; ++i)
        bytes.append(char(i));
    QVERIFY(line.sendRaw(bytes));
    QVERIFY(line.waitUntilPending(250));

    QByteArray taken;
    QVERIFY(port.read(100));
    QCOMPARE(ready.count(), 1);
    QCOMPARE(line.pendingForPort(), 150);
    // Two reads before a take add to one buffer.
    QVERIFY(port.read(100));
    QCOMPARE(ready.count(), 2);
    QCOMPARE(line.pendingForPort(), 50);
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^::ReadFile\\(\\.\\.\\., 000102.*c6c7, 200$"));
    port.readAll(taken);
    QCOMPARE(taken, bytes.left(200));
    QVERIFY(port.read(100));
    QCOMPARE(ready.count(), 3);
    QCOMPARE(line.pendingForPort(), 0);
    QVERIFY(!port.read(100));
    QCOMPARE(ready.count(), 3);
    port.readAll(taken);
    QCOMPARE(taken, bytes.mid(200));
    port.readAll(taken);
    QVERIFY(taken.isEmpty());
}

void TestSerialPort::noticesTheLineGoingAway()
{
    auto line = std::make_unique<SimulatedInstrument>();
    Ux::SerialPort port;
    QVERIFY(port.open(line->portName(), 9600));
    // A quiet line is not a lost one.
    QVERIFY(!port.read(100));
    QVERIFY(!port.lineLost());
    line.reset();
    QVERIFY(!port.read(100));
    QVERIFY(port.lineLost());
    QVERIFY(!port.errorString().isEmpty());
    // A new line on a new open starts clean.
    line = std::make_unique<SimulatedInstrument>();
    QVERIFY(port.open(line->portName(), 9600));
    QVERIFY(!port.lineLost());
    QVERIFY(port.descriptor() >= 0);
    port.close();
    QCOMPARE(port.descriptor(), -1);
}

void TestSerialPort::writesToTheLine()
{
    SimulatedInstrument line;
    Ux::SerialPort port;
    QVERIFY(port.open(line.portName(), 115200));
    // Raw: no CR/LF mapping and no XON/XOFF taken out on the way.
    const QByteArray bytes("\r\n\x11\x13\x03\x7f", 6);
    QCOMPARE(port.write(bytes), 6);
    QCOMPARE(port.write(bytes.constData(), 2), 2);
    QVERIFY(line.waitForReceived(8));
    QCOMPARE(line.received(), bytes + bytes.left(2));
}

void TestSerialPort::listsExtraPorts()
{
    SimulatedInstrument first;
    SimulatedInstrument second;
    const QByteArray extra = QFile::encodeName(first.portName() + ":/dev/ttyPelvaneMissing0::"
                                               + second.portName() + ":" + first.portName());
    qputenv(Ux::SerialPort::ExtraPortsVariable, extra);
    const Ux::SerialPortInfoList ports = Ux::SerialPort::enumeratePorts();
    qunsetenv(Ux::SerialPort::ExtraPortsVariable);

    QStringList names;
    for (const Ux::SerialPortInfo& info : ports)
        names << info.portName;
    QCOMPARE(names.count(first.portName()), 1);
    QCOMPARE(names.count(second.portName()), 1);
    QVERIFY(!names.contains(QStringLiteral("/dev/ttyPelvaneMissing0")));
    QVERIFY(names.indexOf(first.portName()) < names.indexOf(second.portName()));
    const Ux::SerialPortInfo& info = ports.at(names.indexOf(first.portName()));
    QCOMPARE(info.friendName, first.portName());
    QCOMPARE(info.vendorId, 0);
}

PELVANE_TEST_MAIN(TestSerialPort)
#include "TestSerialPort.moc"
