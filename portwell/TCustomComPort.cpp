#include "portwell/TCustomComPort.h"

#include "portwell/ComPortConfigDialog.h"
#include "portwell/CustomLineSpeed.h"
#include "portwell/ShowException.h"
#include "portwell/TComThread.h"

#include <QFile>
#include <QFileInfo>
#include <QSerialPortInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

using namespace ComPortTypes;

namespace {

const QString ClosedPortText = QStringLiteral("Can't perform this operation on a closed port");
const QString OpenPortText = QStringLiteral("Can't perform this operation on an open port");
const QString ThreadText = QStringLiteral("Can't create thread");
const QString TimeoutText = QStringLiteral("Timeout");
const QString DeviceFolder = QStringLiteral("/dev/");

bool speedFor(int rate, speed_t* speed)
{
    static const struct { int rate; speed_t speed; } table[] = {
        {50, B50},       {75, B75},       {110, B110},       {150, B150},       {300, B300},
        {600, B600},     {1200, B1200},   {1800, B1800},     {2400, B2400},     {4800, B4800},
        {9600, B9600},   {19200, B19200}, {38400, B38400},   {57600, B57600},   {115200, B115200},
        {230400, B230400}, {460800, B460800}, {921600, B921600},
    };
    for (const auto& entry : table) {
        if (entry.rate == rate) {
            *speed = entry.speed;
            return true;
        }
    }
    return false;
}

int rateOf(TBaudRate rate, int custom)
{
    static const int rates[] = {0,     50,    75,    110,   150,   300,    600,    1200,   1800,
                                2000,  2400,  3600,  4800,  7200,  9600,   10400,  14400,  15625,
                                19200, 28800, 38400, 56000, 57600, 115200, 128000, 256000};
    if (rate == brCustom)
        return custom;
    return rates[rate];
}

int niceFor(TPriorityClass priority)
{
    switch (priority) {
    case pcIdle: return 19;
    case pcHigh: return -10;
    case pcRealTime: return -20;
    default: return 0;
    }
}

} // namespace

TCustomComPort::TCustomComPort(QObject* parent)
    : QObject(parent), m_flowControl(this), m_characters(this), m_bufferSizes(this), m_timeouts(this)
{
}

TCustomComPort::~TCustomComPort()
{
    if (m_fd < 0)
        return;
    stopThread();
    closeDevice();
}

// --- errors ---------------------------------------------------------------

void TCustomComPort::raise(const EComError& error)
{
    if (m_onError) {
        bool silent = false;
        m_onError(error, silent);
        if (silent)
            throw EAbort();
    }
    throw error;
}

void TCustomComPort::raiseErrno(int code)
{
    raise(EComError::fromErrno(code));
}

void TCustomComPort::check(bool ok)
{
    if (!ok)
        raiseErrno(errno);
}

void TCustomComPort::requireOpen() const
{
    if (m_fd < 0)
        const_cast<TCustomComPort*>(this)->raise(EComError(0, ClosedPortText));
}

void TCustomComPort::requireClosed() const
{
    if (m_fd >= 0)
        const_cast<TCustomComPort*>(this)->raise(EComError(0, OpenPortText));
}

// --- properties -------------------------------------------------------------

void TCustomComPort::SetBaudRate(TBaudRate value)
{
    m_baudRate = value;
    ApplySettings();
}

void TCustomComPort::SetCustomBaudRate(int value)
{
    m_customBaudRate = value;
    m_baudRate = brCustom;
    ApplySettings();
}

void TCustomComPort::SetDataBits(TDataBits value)
{
    m_dataBits = value;
    ApplySettings();
}

void TCustomComPort::SetParity(TParity value)
{
    m_parity = value;
    ApplySettings();
}

void TCustomComPort::SetStopBits(TStopBits value)
{
    m_stopBits = value;
    ApplySettings();
}

void TCustomComPort::SetOptions(TComOptions value)
{
    m_options = value;
    ApplySettings();
}

void TCustomComPort::SetPriorityClass(TPriorityClass value)
{
    requireClosed();
    m_priorityClass = value;
}

void TCustomComPort::SetSynchronizeEvents(bool value)
{
    requireClosed();
    m_synchronizeEvents = value;
}

void TCustomComPort::SetDeviceName(const QString& value)
{
    requireClosed();
    m_deviceName = value;
}

void TCustomComPort::SetActive(bool value)
{
    if (value)
        Open();
    else
        Close();
}

void TCustomComPort::ApplySettings()
{
    if (m_fd < 0)
        return;
    termios tio;
    check(::tcgetattr(m_fd, &tio) == 0);

    // Bytes pass unchanged both ways whatever else is set: the device is a
    // line to an instrument, not a terminal.
    tio.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXANY | IMAXBEL);
    tio.c_oflag &= ~OPOST;
    tio.c_lflag &= ~(ECHO | ECHONL | ECHOE | ECHOK | ICANON | ISIG | IEXTEN);
    tio.c_cflag |= CREAD | CLOCAL;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;

    const int rate = m_baudRate == brDefault ? 0 : rateOf(m_baudRate, m_customBaudRate);
    if (rate < 0 || (m_baudRate != brDefault && rate == 0))
        raiseErrno(EINVAL);
    speed_t speed = B9600;
    const bool standard = rate > 0 && speedFor(rate, &speed);
    if (standard) {
        ::cfsetispeed(&tio, speed);
        ::cfsetospeed(&tio, speed);
    }
    if (m_dataBits != dbDefault) {
        static const tcflag_t sizes[] = {0, 0, CS5, CS6, CS7, CS8};
        if (m_dataBits == db4)
            raiseErrno(EINVAL);
        tio.c_cflag = (tio.c_cflag & ~CSIZE) | sizes[m_dataBits];
    }
    if (m_parity != paDefault) {
        tio.c_cflag &= ~(PARENB | PARODD | CMSPAR);
        switch (m_parity) {
        case paOdd: tio.c_cflag |= PARENB | PARODD; break;
        case paEven: tio.c_cflag |= PARENB; break;
        case paMark: tio.c_cflag |= PARENB | PARODD | CMSPAR; break;
        case paSpace: tio.c_cflag |= PARENB | CMSPAR; break;
        default: break;
        }
    }
    if (m_stopBits == sb1)
        tio.c_cflag &= ~CSTOPB;
    else if (m_stopBits == sb1_5 || m_stopBits == sb2)
        tio.c_cflag |= CSTOPB;

    if (m_options & opCheckParity)
        tio.c_iflag |= INPCK;
    else
        tio.c_iflag &= ~INPCK;
    if ((m_options & opOutputCTSFlow) || m_flowControl.RTSControl() == rcHandshake)
        tio.c_cflag |= CRTSCTS;
    else
        tio.c_cflag &= ~CRTSCTS;

    switch (m_flowControl.XOnXOff()) {
    case xcDisable: tio.c_iflag &= ~(IXON | IXOFF); break;
    case xcInput: tio.c_iflag = (tio.c_iflag & ~IXON) | IXOFF; break;
    case xcOutput: tio.c_iflag = (tio.c_iflag & ~IXOFF) | IXON; break;
    case xcInputOutput: tio.c_iflag |= IXON | IXOFF; break;
    default: break;
    }
    tio.c_cc[VSTART] = static_cast<cc_t>(m_characters.XOn());
    tio.c_cc[VSTOP] = static_cast<cc_t>(m_characters.XOff());

    check(::tcsetattr(m_fd, TCSANOW, &tio) == 0);
    if (rate > 0 && !standard)
        check(CustomLineSpeed::set(m_fd, rate));

    // A pseudo-terminal has no modem lines to drive.
    auto lines = [this](int bits, bool set) {
        if (::ioctl(m_fd, set ? TIOCMBIS : TIOCMBIC, &bits) != 0 && errno != ENOTTY
            && errno != EINVAL)
            raiseErrno(errno);
    };
    switch (m_flowControl.DTRControl()) {
    case dcDisable: lines(TIOCM_DTR, false); break;
    case dcEnable:
    case dcHandshake: lines(TIOCM_DTR, true); break;
    default: break;
    }
    switch (m_flowControl.RTSControl()) {
    case rcDisable: lines(TIOCM_RTS, false); break;
    case rcEnable:
    case rcHandshake:
    case rcToggle: lines(TIOCM_RTS, true); break;
    default: break;
    }
}

// --- open and close -----------------------------------------------------------

void TCustomComPort::Open()
{
    if (m_fd >= 0)
        return;
    if (m_beforeOpen)
        m_beforeOpen();
    try {
        if (m_priorityClass != pcDefault) {
            errno = 0;
            m_savedNice = ::getpriority(PRIO_PROCESS, 0);
            m_niceSaved = errno == 0;
            // A raised priority needs privileges the tool rarely has; the
            // port works the same without it.
            ::setpriority(PRIO_PROCESS, 0, niceFor(m_priorityClass));
        }
        check(::pipe2(m_wakePipe, O_CLOEXEC | O_NONBLOCK) == 0);
        const QByteArray path = QFile::encodeName(m_deviceName);
        m_fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (m_fd < 0) {
            const int code = errno;
            if (code == EACCES || code == EPERM)
                raise(EComError::fromAccessDenied(code, m_deviceName));
            raiseErrno(code);
        }
        ++m_generation;
        if (!::isatty(m_fd))
            raiseErrno(ENOTTY);
        // No other program may open the device while we hold it.
        check(::ioctl(m_fd, TIOCEXCL) == 0);
        check(::tcflush(m_fd, TCIOFLUSH) == 0);
        ApplySettings();
        {
            QMutexLocker lock(&m_mutex);
            m_writeQueue.clear();
            m_writeRequested = m_writeDone = 0;
            m_writeFailed = false;
            m_deliveryPending = false;
        }
        m_txPending = false;
        takeLineErrors();
        m_eventCounters = m_counters;
        applyEventMask();
    } catch (...) {
        stopThread();
        closeDevice();
        throw;
    }
    if (m_afterOpen)
        m_afterOpen();
}

void TCustomComPort::Close()
{
    if (m_fd < 0)
        return;
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(this, [this] { RunGuarded([this] { Close(); }); },
                                  Qt::QueuedConnection);
        return;
    }
    if (m_beforeClose)
        m_beforeClose();
    stopThread();
    closeDevice();
    if (m_afterClose)
        m_afterClose();
}

void TCustomComPort::closeDevice()
{
    if (m_fd >= 0) {
        // The exclusive mark stays on the device while any descriptor holds
        // it; clear it so that the port can be opened again.
        ::ioctl(m_fd, TIOCNXCL);
        ::close(m_fd);
        m_fd = -1;
        ++m_generation;
    }
    for (int& end : m_wakePipe) {
        if (end >= 0)
            ::close(end);
        end = -1;
    }
    {
        QMutexLocker lock(&m_mutex);
        m_writeQueue.clear();
        m_writeRequested = m_writeDone = 0;
        m_writeFailed = false;
    }
    if (m_niceSaved) {
        ::setpriority(PRIO_PROCESS, 0, m_savedNice);
        m_niceSaved = false;
    }
}

// --- the event thread -----------------------------------------------------------

unsigned TCustomComPort::handlerMask() const
{
    unsigned mask = 0;
    if (m_onBreak) mask |= evBreak;
    if (m_onCTSChange) mask |= evCTS;
    if (m_onDSRChange) mask |= evDSR;
    if (m_onLineError) mask |= evError;
    if (m_onEvent1) mask |= evEvent1;
    if (m_onEvent2) mask |= evEvent2;
    if (m_onPrinterError) mask |= evPrinterError;
    if (m_onRing) mask |= evRing;
    if (m_onRLSDChange) mask |= evRLSD;
    if (m_onRx80PercFull) mask |= evRx80PercFull;
    if (m_onRxChar) mask |= evRxChar;
    if (m_onRxFlag) mask |= evRxFlag;
    if (m_onTxEmpty) mask |= evTxEmpty;
    return mask;
}

void TCustomComPort::applyEventMask()
{
    const unsigned mask = handlerMask();
    m_eventMask = mask;
    if (m_fd < 0)
        return;
    if (mask == 0) {
        stopThread();
        return;
    }
    if (!m_thread)
        startThread();
}

bool TCustomComPort::EventThreadRunning() const
{
    return m_thread && m_thread->isRunning();
}

void TCustomComPort::startThread()
{
    m_terminated = false;
    m_thread = new TComThread(this, m_generation);
    m_thread->start(m_threadPriority);
    if (!m_thread->isRunning() && !m_thread->isFinished()) {
        delete m_thread;
        m_thread = nullptr;
        raise(EComError(0, ThreadText));
    }
}

void TCustomComPort::stopThread()
{
    if (!m_thread)
        return;
    m_terminated = true;
    const char wake = 1;
    if (m_wakePipe[1] >= 0)
        [[maybe_unused]] auto ignored = ::write(m_wakePipe[1], &wake, 1);
    {
        QMutexLocker lock(&m_mutex);
        m_changed.wakeAll();
    }
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    QMutexLocker lock(&m_mutex);
    m_deliveryPending = false;
}

void TCustomComPort::deliverFromThread(unsigned events, quint64 generation)
{
    if (!m_synchronizeEvents) {
        deliver(events, generation);
        return;
    }
    {
        QMutexLocker lock(&m_mutex);
        m_deliveryPending = true;
    }
    QMetaObject::invokeMethod(this, [this, events, generation] { deliver(events, generation); },
                              Qt::QueuedConnection);
    // Like a synchronised call: the next wait starts once the handlers ran,
    // so that they see the state the events announced.
    QMutexLocker lock(&m_mutex);
    while (m_deliveryPending && !m_terminated.load())
        m_changed.wait(&m_mutex);
}

void TCustomComPort::deliver(unsigned events, quint64 generation)
{
    auto done = [this] {
        QMutexLocker lock(&m_mutex);
        m_deliveryPending = false;
        m_changed.wakeAll();
    };
    if (generation != m_generation || m_fd < 0) {
        done();
        return;
    }
    // A handler may close the port; what follows belongs to that session.
    auto live = [this, generation] { return generation == m_generation && m_fd >= 0; };
    try {
        auto call = [&](unsigned bit, const TNotifyEvent& handler) {
            if ((events & bit) && handler && live())
                handler();
        };
        call(evBreak, m_onBreak);
        call(evCTS, m_onCTSChange);
        call(evDSR, m_onDSRChange);
        if ((events & evError) && m_onLineError && live())
            m_onLineError(takeLineErrors());
        call(evEvent1, m_onEvent1);
        call(evEvent2, m_onEvent2);
        call(evPrinterError, m_onPrinterError);
        call(evRing, m_onRing);
        call(evRLSD, m_onRLSDChange);
        call(evRx80PercFull, m_onRx80PercFull);
        call(evRxChar, m_onRxChar);
        call(evRxFlag, m_onRxFlag);
        call(evTxEmpty, m_onTxEmpty);
    } catch (const std::exception& error) {
        done();
        ShowException(error);
        return;
    }
    done();
}

void TCustomComPort::errorFromThread(int code, bool deviceGone, quint64 generation)
{
    QMetaObject::invokeMethod(
        this, [this, code, deviceGone, generation] { threadError(code, deviceGone, generation); },
        Qt::QueuedConnection);
}

void TCustomComPort::threadError(int code, bool deviceGone, quint64 generation)
{
    if (generation != m_generation || m_fd < 0)
        return;
    // Closed first, so that nothing acts on the dead device while the error
    // is on the screen.
    if (!deviceGone) {
        RunGuarded([this, code] { raiseErrno(code); });
        return;
    }
    RunGuarded([this] { Close(); });
    RunGuarded([this, code] { raise(EComError::fromDeviceLost(code, m_deviceName)); });
}

unsigned TCustomComPort::lineEventsSince()
{
    serial_icounter_struct now;
    if (::ioctl(m_fd, TIOCGICOUNT, &now) != 0)
        return 0;
    unsigned found = 0;
    if (now.brk != m_eventCounters.brk)
        found |= evBreak;
    if (now.frame != m_eventCounters.frame || now.overrun != m_eventCounters.overrun
        || now.parity != m_eventCounters.parity || now.buf_overrun != m_eventCounters.bufOverrun)
        found |= evError;
    m_eventCounters.brk = now.brk;
    m_eventCounters.frame = now.frame;
    m_eventCounters.overrun = now.overrun;
    m_eventCounters.parity = now.parity;
    m_eventCounters.bufOverrun = now.buf_overrun;
    return found;
}

TComLineErrors TCustomComPort::takeLineErrors()
{
    TComLineErrors errors;
    serial_icounter_struct now;
    if (m_fd < 0 || ::ioctl(m_fd, TIOCGICOUNT, &now) != 0)
        return errors;
    QMutexLocker lock(&m_mutex);
    if (m_countersKnown) {
        if (now.brk != m_counters.brk) errors |= leBreak;
        if (now.frame != m_counters.frame) errors |= leFrame;
        if (now.overrun != m_counters.overrun) errors |= leOverrun;
        if (now.parity != m_counters.parity) errors |= leParity;
        if (now.buf_overrun != m_counters.bufOverrun) errors |= leRxOverflow;
    }
    m_counters.brk = now.brk;
    m_counters.frame = now.frame;
    m_counters.overrun = now.overrun;
    m_counters.parity = now.parity;
    m_counters.bufOverrun = now.buf_overrun;
    m_countersKnown = true;
    return errors;
}

void TCustomComPort::checkLineErrors()
{
    const TComLineErrors errors = takeLineErrors();
    if (errors && m_onLineError)
        m_onLineError(errors);
}

void TCustomComPort::ClearLineErrors()
{
    requireOpen();
    takeLineErrors();
}

// --- reading ----------------------------------------------------------------------

int TCustomComPort::Read(char* buffer, int count, bool wait)
{
    requireOpen();
    if (m_beforeRead)
        m_beforeRead(buffer, wait, count);
    int got = 0;
    if (count > 0) {
        const qint64 totalMs = qint64(m_timeouts.ReadMultiplier()) * count + m_timeouts.ReadConstant();
        const int intervalMs = m_timeouts.ReadInterval();
        QDeadlineTimer total = totalMs > 0 ? QDeadlineTimer(totalMs) : QDeadlineTimer::Forever;
        for (;;) {
            const ssize_t n = ::read(m_fd, buffer + got, size_t(count - got));
            if (n > 0) {
                got += int(n);
                ++m_readCount;
                if (got == count)
                    break;
                continue;
            }
            if (n < 0 && errno != EAGAIN && errno != EINTR)
                raiseErrno(errno);
            if (!wait || total.hasExpired())
                break;
            qint64 waitMs = total.remainingTime();
            if (got > 0 && intervalMs > 0 && (waitMs < 0 || intervalMs < waitMs))
                waitMs = intervalMs;
            pollfd pfd{m_fd, POLLIN, 0};
            const int ready = ::poll(&pfd, 1, int(waitMs));
            if (ready == 0 && (got > 0 && intervalMs > 0))
                break;
            if (ready > 0 && (pfd.revents & (POLLHUP | POLLERR | POLLNVAL)) && !(pfd.revents & POLLIN))
                raiseErrno(EIO);
        }
        if (wait && got < count)
            raise(EComError(ETIMEDOUT, TimeoutText));
    }
    checkLineErrors();
    if (m_afterRead)
        m_afterRead(buffer, wait, got);
    return got;
}

QByteArray TCustomComPort::ReadString()
{
    const int count = InputCount();
    QByteArray text(count, Qt::Uninitialized);
    if (count > 0)
        text.resize(Read(text.data(), count, true));
    return text;
}

QByteArray TCustomComPort::ReadUntil(char stop)
{
    QByteArray text;
    char c;
    do {
        c = ReadChar();
        text.append(c);
    } while (c != stop);
    text.chop(1);
    return text;
}

QByteArray TCustomComPort::ReadLine()
{
    return ReadUntil('\r');
}

char TCustomComPort::ReadChar()
{
    char c = 0;
    Read(&c, 1, true);
    return c;
}

quint8 TCustomComPort::ReadByte()
{
    return static_cast<quint8>(ReadChar());
}

quint16 TCustomComPort::ReadWord()
{
    quint16 value = 0;
    Read(reinterpret_cast<char*>(&value), 2, true);
    return value;
}

quint32 TCustomComPort::ReadDWord()
{
    quint32 value = 0;
    Read(reinterpret_cast<char*>(&value), 4, true);
    return value;
}

int TCustomComPort::InputCount()
{
    requireOpen();
    checkLineErrors();
    int count = 0;
    check(::ioctl(m_fd, FIONREAD, &count) == 0);
    return count;
}

int TCustomComPort::OutputCount()
{
    requireOpen();
    checkLineErrors();
    int count = 0;
    check(::ioctl(m_fd, TIOCOUTQ, &count) == 0);
    QMutexLocker lock(&m_mutex);
    return count + int(m_writeRequested - m_writeDone);
}

// --- writing ------------------------------------------------------------------------

int TCustomComPort::writeDeadlineMs(int count) const
{
    const qint64 ms = qint64(m_timeouts.WriteMultiplier()) * count + m_timeouts.WriteConstant();
    if (ms > 0)
        return int(qMin<qint64>(ms, INT_MAX));
    // Without a time-out of its own a write may take twice as long as the
    // line needs for it, and a little more; a device that takes nothing
    // must not hold the tool for ever.
    int rate = rateOf(m_baudRate, m_customBaudRate);
    if (rate <= 0)
        rate = 9600;
    return int(qMin<qint64>(qint64(count) * 10 * 1000 * 2 / rate + 2000, INT_MAX));
}

bool TCustomComPort::drainWriteQueue()
{
    QMutexLocker lock(&m_mutex);
    while (m_writeDone < m_writeRequested && !m_writeFailed) {
        const ssize_t n = ::write(m_fd, m_writeQueue.constData() + m_writeDone,
                                  size_t(m_writeRequested - m_writeDone));
        if (n > 0) {
            m_writeDone += n;
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            m_writeFailed = true;
            m_writeError = errno;
            break;
        }
        if (m_writeDeadline.hasExpired()) {
            m_writeFailed = true;
            m_writeError = ETIMEDOUT;
        }
        break;
    }
    const bool done = m_writeDone >= m_writeRequested || m_writeFailed;
    if (done)
        m_changed.wakeAll();
    return done;
}

void TCustomComPort::finishPreviousWrite()
{
    // The caller drains the queue itself: the event thread may be waiting
    // for this very thread to deliver its events.
    while (!drainWriteQueue()) {
        qint64 left;
        {
            QMutexLocker lock(&m_mutex);
            left = m_writeDeadline.remainingTime();
        }
        pollfd pfd{m_fd, POLLOUT, 0};
        ::poll(&pfd, 1, int(qBound<qint64>(qint64(0), left, qint64(50))));
    }
    int error = 0;
    {
        QMutexLocker lock(&m_mutex);
        if (m_writeFailed)
            error = m_writeError;
        m_writeQueue.clear();
        m_writeRequested = m_writeDone = 0;
        m_writeFailed = false;
    }
    if (error != 0 && deviceHungUp()) {
        // Gone under the write: closed first, as when the event thread finds
        // it gone, so that this is the one report of the loss.
        Close();
        raise(EComError::fromDeviceLost(error == ETIMEDOUT ? EIO : error, m_deviceName));
    }
    if (error == ETIMEDOUT)
        raise(EComError(ETIMEDOUT, TimeoutText));
    if (error != 0)
        raiseErrno(error);
}

bool TCustomComPort::deviceHungUp() const
{
    pollfd pfd{m_fd, POLLOUT, 0};
    return ::poll(&pfd, 1, 0) > 0 && (pfd.revents & (POLLHUP | POLLERR | POLLNVAL));
}

int TCustomComPort::Write(const char* buffer, int count, bool wait)
{
    requireOpen();
    if (m_beforeWrite)
        m_beforeWrite(buffer, wait, count);
    finishPreviousWrite();
    if (count > 0) {
        {
            QMutexLocker lock(&m_mutex);
            m_writeQueue = QByteArray(buffer, count);
            m_writeRequested = count;
            m_writeDone = 0;
            m_writeFailed = false;
            m_writeDeadline = QDeadlineTimer(writeDeadlineMs(count));
        }
        m_txPending = true;
        if (!drainWriteQueue()) {
            if (wait || !EventThreadRunning()) {
                finishPreviousWrite();
            } else {
                const char wake = 1;
                [[maybe_unused]] auto ignored = ::write(m_wakePipe[1], &wake, 1);
            }
        } else if (wait) {
            finishPreviousWrite();
        }
    }
    checkLineErrors();
    if (m_afterWrite)
        m_afterWrite(buffer, wait, count);
    return count;
}

void TCustomComPort::WriteString(const QByteArray& text)
{
    Write(text.constData(), int(text.size()), false);
}

void TCustomComPort::WriteChar(char value)
{
    Write(&value, 1, false);
}

void TCustomComPort::WriteByte(quint8 value)
{
    WriteChar(static_cast<char>(value));
}

void TCustomComPort::WriteWord(quint16 value)
{
    Write(reinterpret_cast<const char*>(&value), 2, false);
}

void TCustomComPort::WriteDWord(quint32 value)
{
    Write(reinterpret_cast<const char*>(&value), 4, false);
}

// --- device control -------------------------------------------------------------------

void TCustomComPort::purge(int queue)
{
    requireOpen();
    check(::tcflush(m_fd, queue) == 0);
}

void TCustomComPort::PurgeInput()
{
    purge(TCIFLUSH);
}

void TCustomComPort::PurgeOutput()
{
    AbortOutput();
    purge(TCOFLUSH);
}

void TCustomComPort::ClearInput()
{
    purge(TCIFLUSH);
}

void TCustomComPort::ClearOutput()
{
    purge(TCOFLUSH);
}

void TCustomComPort::AbortInput()
{
    // Reads complete within their call; there is never one to abort.
    requireOpen();
}

void TCustomComPort::AbortOutput()
{
    requireOpen();
    QMutexLocker lock(&m_mutex);
    m_writeQueue.clear();
    m_writeRequested = m_writeDone = 0;
    m_writeFailed = false;
    m_changed.wakeAll();
}

void TCustomComPort::Flush()
{
    requireOpen();
    finishPreviousWrite();
    check(::tcdrain(m_fd) == 0);
}

void TCustomComPort::TransmitChar(char value)
{
    requireOpen();
    const ssize_t n = ::write(m_fd, &value, 1);
    if (n < 0)
        raiseErrno(errno);
    if (n == 0)
        raise(EComError(ETIMEDOUT, TimeoutText));
}

void TCustomComPort::modemLines(int lines, bool set)
{
    requireOpen();
    check(::ioctl(m_fd, set ? TIOCMBIS : TIOCMBIC, &lines) == 0);
}

void TCustomComPort::SetBreak()
{
    requireOpen();
    check(::ioctl(m_fd, TIOCSBRK) == 0);
}

void TCustomComPort::ClearBreak()
{
    requireOpen();
    check(::ioctl(m_fd, TIOCCBRK) == 0);
}

void TCustomComPort::SetDTR() { modemLines(TIOCM_DTR, true); }
void TCustomComPort::ClearDTR() { modemLines(TIOCM_DTR, false); }
void TCustomComPort::SetRTS() { modemLines(TIOCM_RTS, true); }
void TCustomComPort::ClearRTS() { modemLines(TIOCM_RTS, false); }

void TCustomComPort::SetXOn()
{
    requireOpen();
    check(::tcflow(m_fd, TCOON) == 0);
}

void TCustomComPort::SetXOff()
{
    requireOpen();
    check(::tcflow(m_fd, TCOOFF) == 0);
}

TModemStatus TCustomComPort::GetModemStatus()
{
    requireOpen();
    int lines = 0;
    check(::ioctl(m_fd, TIOCMGET, &lines) == 0);
    TModemStatus status;
    if (lines & TIOCM_CTS) status |= msCTS;
    if (lines & TIOCM_DSR) status |= msDSR;
    if (lines & TIOCM_RNG) status |= msRing;
    if (lines & TIOCM_CAR) status |= msRLSD;
    return status;
}

bool TCustomComPort::ConfigDialog(QWidget* parent)
{
    ComPortConfigDialog dialog(this, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.apply();
    return true;
}

// --- names ---------------------------------------------------------------------------

QString TCustomComPort::ShortDeviceName() const
{
    return ShortDeviceName(m_deviceName);
}

QString TCustomComPort::ShortDeviceName(const QString& deviceName)
{
    return deviceName.startsWith(DeviceFolder) ? deviceName.mid(DeviceFolder.size()) : deviceName;
}

void TCustomComPort::EnumComDevicesFromRegistry(QStringList& list)
{
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& port : ports) {
        const QString name = ShortDeviceName(port.systemLocation());
        if (!list.contains(name))
            list.append(name);
    }
    const QStringList extra =
        qEnvironmentVariable(ExtraPortsVariable).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& path : extra) {
        const QString name = ShortDeviceName(path);
        if (QFileInfo::exists(path) && !list.contains(name))
            list.append(name);
    }
}
