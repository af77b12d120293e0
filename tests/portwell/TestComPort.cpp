#include "portwell/ComPortConfigDialog.h"
#include "portwell/CustomLineSpeed.h"
#include "portwell/TComPort.h"
#include "tests/portwell/ModalAnswerer.h"
#include "tests/portwell/PrivateConfigFolder.h"
#include "tests/portwell/PtyTester.h"

#include <QComboBox>
#include <QFormLayout>
#include <QElapsedTimer>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <termios.h>

using namespace ComPortTypes;

class TestComPort : public QObject
{
    Q_OBJECT
public:
    static void initMain() { usePrivateConfigFolder(); }
private slots:
    void propertiesReachTheTerminal();
    void defaultsLeaveTheTerminalAlone();
    void errorsCarryTheSystemCodeAndText();
    void openIsExclusive();
    void eventsArriveOnTheGuiThread();
    void vanishedDeviceIsReportedOnceAndClosed();
    void writeThatIsNotTakenTimesOut();
    void readsAndWritesCarryBytesUnchanged();
    void configurationDialogShowsAndAppliesTheProperties();
};

namespace {

termios settingsOf(const PtyTester& tester)
{
    termios tio;
    std::memset(&tio, 0, sizeof tio);
    ::tcgetattr(tester.slaveFd(), &tio);
    return tio;
}

// The pseudo-terminal driver keeps 8 data bits and no parity bit whatever
// is asked (only the odd and mark/space flags stay); the character format
// can only be read back as far as the driver keeps it.
tcflag_t keptFormat(const PtyTester& tester)
{
    termios tio = settingsOf(tester);
    const termios before = tio;
    tio.c_cflag = (tio.c_cflag & ~CSIZE) | CS7 | PARENB;
    ::tcsetattr(tester.slaveFd(), TCSANOW, &tio);
    const termios after = settingsOf(tester);
    ::tcsetattr(tester.slaveFd(), TCSANOW, &before);
    tcflag_t kept = PARODD | CMSPAR;
    if ((after.c_cflag & CSIZE) == CS7)
        kept |= CSIZE;
    if (after.c_cflag & PARENB)
        kept |= PARENB;
    return kept;
}

qint64 cpuMilliseconds()
{
    rusage usage;
    ::getrusage(RUSAGE_SELF, &usage);
    return (qint64(usage.ru_utime.tv_sec) + usage.ru_stime.tv_sec) * 1000
           + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000;
}

} // namespace

void TestComPort::propertiesReachTheTerminal()
{
    PtyTester tester;
    QVERIFY(tester.isValid());
    TComPort port;
    port.SetDeviceName(tester.slaveName());
    port.SetCustomBaudRate(57600);
    port.SetDataBits(db8);
    port.SetParity(paNone);
    port.SetStopBits(sb2);
    port.FlowControl().SetXOnXOff(xcInputOutput);
    port.Characters().SetXOn(0x21);
    port.Characters().SetXOff(0x22);
    port.SetOptions(opCheckParity);
    QCOMPARE(port.BaudRate(), brCustom);
    port.Open();

    termios tio = settingsOf(tester);
    QCOMPARE(::cfgetospeed(&tio), speed_t(B57600));
    QCOMPARE(::cfgetispeed(&tio), speed_t(B57600));
    QCOMPARE(tio.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR), tcflag_t(CS8));
    QVERIFY(tio.c_cflag & CSTOPB);
    QCOMPARE(tio.c_iflag & (IXON | IXOFF), tcflag_t(IXON | IXOFF));
    QVERIFY(tio.c_iflag & INPCK);
    QCOMPARE(int(tio.c_cc[VSTART]), 0x21);
    QCOMPARE(int(tio.c_cc[VSTOP]), 0x22);
    // Bytes must pass untouched: no echo, no line editing, no CR mapping.
    QVERIFY(!(tio.c_lflag & (ICANON | ECHO | ISIG)));
    QVERIFY(!(tio.c_iflag & (ICRNL | INLCR | IGNCR)));
    QVERIFY(!(tio.c_oflag & OPOST));

    // An open port takes a change at once.
    port.SetBaudRate(br9600);
    port.SetStopBits(sb1);
    port.FlowControl().SetXOnXOff(xcOutput);
    port.SetOptions({});
    tio = settingsOf(tester);
    QCOMPARE(::cfgetospeed(&tio), speed_t(B9600));
    QVERIFY(!(tio.c_cflag & CSTOPB));
    QCOMPARE(tio.c_iflag & (IXON | IXOFF), tcflag_t(IXON));
    QVERIFY(!(tio.c_iflag & INPCK));

    // Parity and character size: a pseudo-terminal keeps 8 data bits and
    // no parity bit (the system says so for the size); the odd and
    // mark/space flags that it keeps show the rest of the mapping.
    const tcflag_t format = keptFormat(tester);
    const struct { TParity parity; tcflag_t flags; } parities[] = {
        {paOdd, PARENB | PARODD}, {paEven, PARENB}, {paMark, PARENB | PARODD | CMSPAR},
        {paSpace, PARENB | CMSPAR}, {paNone, 0}};
    for (const auto& entry : parities) {
        try {
            port.SetParity(entry.parity);
        } catch (const EComError& error) {
            QCOMPARE(error.ErrorCode(), EINVAL);
            QVERIFY(!(format & PARENB));
        }
        QCOMPARE(settingsOf(tester).c_cflag & (PARENB | PARODD | CMSPAR) & format, entry.flags & format);
    }
    try {
        port.SetDataBits(db7);
        QVERIFY(format & CSIZE);
        QCOMPARE(settingsOf(tester).c_cflag & CSIZE, tcflag_t(CS7));
    } catch (const EComError& error) {
        QCOMPARE(error.ErrorCode(), EINVAL);
        QVERIFY(!(format & CSIZE));
    }
    port.SetDataBits(db8);

    // Rates without a terminal constant are set all the same.
    port.SetBaudRate(br56000);
    QCOMPARE(CustomLineSpeed::get(tester.slaveFd()), 56000);
    port.SetCustomBaudRate(31250);
    QCOMPARE(CustomLineSpeed::get(tester.slaveFd()), 31250);
    port.SetBaudRate(br9600);
    QCOMPARE(::cfgetospeed(&(tio = settingsOf(tester))), speed_t(B9600));
    QVERIFY_THROWS_EXCEPTION(EComError, port.SetCustomBaudRate(-5));

    // A closed port keeps a change until the next open.
    port.Close();
    port.SetBaudRate(br19200);
    QCOMPARE(::cfgetospeed(&(tio = settingsOf(tester))), speed_t(B9600));
    port.Open();
    QCOMPARE(::cfgetospeed(&(tio = settingsOf(tester))), speed_t(B19200));
}

void TestComPort::defaultsLeaveTheTerminalAlone()
{
    PtyTester tester;
    termios preset = settingsOf(tester);
    ::cfsetispeed(&preset, B4800);
    ::cfsetospeed(&preset, B4800);
    const tcflag_t format = keptFormat(tester);
    // Whatever of the character format the terminal keeps.
    const tcflag_t presetFormat = (CS6 | PARENB | PARODD) & format;
    preset.c_cflag = (preset.c_cflag & ~format) | presetFormat | CSTOPB;
    preset.c_iflag |= IXON;
    preset.c_cc[VSTART] = 17;
    preset.c_cc[VSTOP] = 19;
    ::tcsetattr(tester.slaveFd(), TCSANOW, &preset);

    TComPort port;
    port.SetDeviceName(tester.slaveName());
    port.SetBaudRate(brDefault);
    port.SetDataBits(dbDefault);
    port.SetParity(paDefault);
    port.SetStopBits(sbDefault);
    QCOMPARE(port.FlowControl().XOnXOff(), xcDefault);
    port.Open();

    const termios tio = settingsOf(tester);
    QCOMPARE(::cfgetospeed(&tio), speed_t(B4800));
    QCOMPARE(tio.c_cflag & format, presetFormat);
    QVERIFY(tio.c_cflag & CSTOPB);
    QCOMPARE(tio.c_iflag & (IXON | IXOFF), tcflag_t(IXON));
}

void TestComPort::errorsCarryTheSystemCodeAndText()
{
    QTemporaryDir folder;
    TComPort port;
    port.SetDeviceName(folder.filePath(QStringLiteral("no-such-device")));
    try {
        port.Open();
        QFAIL("opening a missing device succeeded");
    } catch (const EComError& error) {
        QCOMPARE(error.ErrorCode(), ENOENT);
        QCOMPARE(error.Message(), QString::fromLocal8Bit(std::strerror(ENOENT)));
    }
    QVERIFY(!port.Active());

    // A file is no terminal.
    QFile plain(folder.filePath(QStringLiteral("plain")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    port.SetDeviceName(plain.fileName());
    try {
        port.Open();
        QFAIL("opening a plain file succeeded");
    } catch (const EComError& error) {
        QCOMPARE(error.ErrorCode(), ENOTTY);
    }
    QVERIFY(!port.Active());

    char byte;
    try {
        port.Read(&byte, 1, true);
        QFAIL("read on a closed port succeeded");
    } catch (const EComError& error) {
        QCOMPARE(error.Message(), QStringLiteral("Can't perform this operation on a closed port"));
    }

    PtyTester tester;
    port.SetDeviceName(tester.slaveName());
    port.Open();
    try {
        port.SetDeviceName(QStringLiteral("/dev/null"));
        QFAIL("renaming an open port succeeded");
    } catch (const EComError& error) {
        QCOMPARE(error.Message(), QStringLiteral("Can't perform this operation on an open port"));
    }
    QCOMPARE(port.DeviceName(), tester.slaveName());

    // Four data bits have no terminal setting; the port says so with the
    // system's code and stays as it was.
    try {
        port.SetDataBits(db4);
        QFAIL("four data bits were taken");
    } catch (const EComError& error) {
        QCOMPARE(error.ErrorCode(), EINVAL);
    }

    // A handler may turn an error into a silent abort, having seen it.
    int seenCode = -1;
    port.SetOnError([&seenCode](const EComError& error, bool& silent) {
        seenCode = error.ErrorCode();
        silent = true;
    });
    port.Close();
    QVERIFY_THROWS_EXCEPTION(TCustomComPort::EAbort, port.ReadByte());
    QCOMPARE(seenCode, 0);
}

void TestComPort::openIsExclusive()
{
    PtyTester tester;
    TComPort port;
    port.SetDeviceName(tester.slaveName());
    port.Open();
    int exclusive = 0;
    QCOMPARE(::ioctl(tester.slaveFd(), TIOCGEXCL, &exclusive), 0);
    QCOMPARE(exclusive, 1);
    if (::geteuid() != 0) {
        TComPort second;
        second.SetDeviceName(tester.slaveName());
        try {
            second.Open();
            QFAIL("a second open of an exclusive port succeeded");
        } catch (const EComError& error) {
            QCOMPARE(error.ErrorCode(), EBUSY);
        }
    }
    port.Close();
    QCOMPARE(::ioctl(tester.slaveFd(), TIOCGEXCL, &exclusive), 0);
    QCOMPARE(exclusive, 0);
}

void TestComPort::eventsArriveOnTheGuiThread()
{
    PtyTester tester;
    TComPort port;
    port.SetDeviceName(tester.slaveName());
    port.Open();
    QVERIFY(!port.EventThreadRunning());

    QByteArray got;
    QList<QThread*> threads;
    port.SetOnRxChar([&] {
        threads.append(QThread::currentThread());
        got += port.ReadString();
    });
    QCOMPARE(port.EventMask(), 0x1u);
    QVERIFY(port.EventThreadRunning());

    tester.send("hello");
    QVERIFY(PtyTester::waitFor([&] { return got.size() >= 5; }));
    tester.send(QByteArray("\x00\x06\xff", 3));
    QVERIFY(PtyTester::waitFor([&] { return got.size() >= 8; }));
    QCOMPARE(got, QByteArray("hello\x00\x06\xff", 8));
    QVERIFY(!threads.isEmpty());
    for (QThread* thread : threads)
        QCOMPARE(thread, QThread::currentThread());

    // Input that nobody reads is announced once, not over and over.
    int announced = 0;
    port.SetOnRxChar([&] { ++announced; });
    tester.send("x");
    QVERIFY(PtyTester::waitFor([&] { return announced == 1; }));
    QTest::qWait(150);
    QCOMPARE(announced, 1);

    port.SetOnRxChar(nullptr);
    QCOMPARE(port.EventMask(), 0u);
    QVERIFY(!port.EventThreadRunning());

    // A port without handlers is read by its caller; the event thread is
    // not needed for that.
    QCOMPARE(port.InputCount(), 1);
    QCOMPARE(port.ReadChar(), 'x');
}

void TestComPort::vanishedDeviceIsReportedOnceAndClosed()
{
    ModalAnswerer answerer;
    PtyTester tester;
    TComPort port;
    port.SetDeviceName(tester.slaveName());
    int closes = 0;
    port.SetAfterClose([&closes] { ++closes; });
    port.SetOnRxChar([&port] { port.ReadString(); });
    port.Open();

    tester.vanish();
    QVERIFY(PtyTester::waitFor([&] { return answerer.count() > 0; }));
    QTest::qWait(200);
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.last().text, QStringLiteral("The serial port %1 was lost (%2).")
                                       .arg(tester.slaveName(), QString::fromLocal8Bit(std::strerror(EIO))));
    QVERIFY(!port.Active());
    QCOMPARE(closes, 1);
    QVERIFY(!port.EventThreadRunning());
}

void TestComPort::writeThatIsNotTakenTimesOut()
{
    PtyTester tester;
    tester.stopReading();
    TComPort port;
    port.SetDeviceName(tester.slaveName());
    port.SetOnRxChar([&port] { port.ReadString(); });
    port.Timeouts().SetWriteConstant(300);
    port.Open();

    const QByteArray big(4 * 1024 * 1024, 'A');
    QElapsedTimer clock;
    clock.start();
    try {
        port.Write(big.constData(), int(big.size()), true);
        QFAIL("a write the device could not take succeeded");
    } catch (const EComError& error) {
        QCOMPARE(error.Message(), QStringLiteral("Timeout"));
    }
    QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));

    // Without waiting the call returns with the bytes still queued: a call
    // that waited would have met the time-out above. The next write finds
    // the first one short.
    port.PurgeOutput();
    port.Write(big.constData(), int(big.size()), false);
    QVERIFY(port.OutputCount() > 0);
    // Waiting out the time of a write that the device does not take costs
    // the event thread next to nothing.
    const qint64 cpuBefore = cpuMilliseconds();
    QTest::qWait(900);
    QVERIFY2(cpuMilliseconds() - cpuBefore < 150, qPrintable(QString::number(cpuMilliseconds() - cpuBefore)));
    QVERIFY_THROWS_EXCEPTION(EComError, port.WriteByte(1));
}

void TestComPort::readsAndWritesCarryBytesUnchanged()
{
    PtyTester tester;
    TComPort port;
    port.SetDeviceName(tester.slaveName());
    port.Open();

    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    port.WriteString(all);
    port.WriteDWord(0x04030201);
    port.Flush();
    QVERIFY(tester.waitForBytes(260));
    QCOMPARE(tester.received(), all + QByteArray("\x01\x02\x03\x04"));

    tester.send(QByteArray("\x10\x20\x30\x40\x50\x60line\r", 11));
    QVERIFY(PtyTester::waitFor([&] { return port.InputCount() == 11; }));
    QCOMPARE(port.ReadWord(), quint16(0x2010));
    QCOMPARE(port.ReadDWord(), quint32(0x60504030));
    QCOMPARE(port.ReadLine(), QByteArray("line"));

    // A read that waits for more than comes ends with "Timeout" once its time is up.
    port.Timeouts().SetReadConstant(100);
    char buffer[4];
    tester.send("ab");
    try {
        port.Read(buffer, 4, true);
        QFAIL("a short read succeeded");
    } catch (const EComError& error) {
        QCOMPARE(error.Message(), QStringLiteral("Timeout"));
    }
    // Without waiting a read takes what is there.
    tester.send("cd");
    QVERIFY(PtyTester::waitFor([&] { return port.InputCount() == 2; }));
    QCOMPARE(port.Read(buffer, 4, false), 2);
    QCOMPARE(QByteArray(buffer, 2), QByteArray("cd"));
}

void TestComPort::configurationDialogShowsAndAppliesTheProperties()
{
    PtyTester tester;
    TComPort port;
    port.SetDeviceName(tester.slaveName());
    QCOMPARE(port.ShortDeviceName(), tester.shortName());
    QCOMPARE(TCustomComPort::ShortDeviceName(QStringLiteral("/tmp/ttyV0")), QStringLiteral("/tmp/ttyV0"));
    port.SetCustomBaudRate(57600);
    port.SetStopBits(sb2);
    port.Open();

    ComPortConfigDialog dialog(&port);
    auto* rate = dialog.findChild<QComboBox*>(QStringLiteral("BaudRate"));
    auto* stop = dialog.findChild<QComboBox*>(QStringLiteral("StopBits"));
    auto* custom = dialog.findChild<QSpinBox*>(QStringLiteral("CustomBaudRate"));
    QVERIFY(rate && stop && custom);
    // Each choice is captioned in the dialog itself.
    auto* form = dialog.findChild<QFormLayout*>();
    QVERIFY(form);
    for (QWidget* field : {static_cast<QWidget*>(rate), static_cast<QWidget*>(stop),
                           static_cast<QWidget*>(custom)}) {
        QWidget* caption = form->labelForField(field);
        QVERIFY(caption);
        QCOMPARE(caption->parentWidget(), &dialog);
    }
    // Every value of the property, named as users read it.
    QCOMPARE(rate->count(), int(brCustom) + 1);
    QCOMPARE(rate->itemText(0), QStringLiteral("Default"));
    QCOMPARE(rate->currentText(), QStringLiteral("Custom"));
    QCOMPARE(custom->value(), 57600);
    QVERIFY(custom->isEnabled());
    QCOMPARE(stop->currentText(), QStringLiteral("2"));
    QCOMPARE(stop->itemText(2), QStringLiteral("1.5"));

    rate->setCurrentIndex(rate->findText(QStringLiteral("19200")));
    QVERIFY(!custom->isEnabled());
    stop->setCurrentIndex(stop->findText(QStringLiteral("1")));
    dialog.apply();
    QCOMPARE(port.BaudRate(), br19200);
    termios tio = settingsOf(tester);
    QCOMPARE(::cfgetospeed(&tio), speed_t(B19200));
    QVERIFY(!(tio.c_cflag & CSTOPB));
}

QTEST_MAIN(TestComPort)
#include "TestComPort.moc"
