#include "ux/SerialPort.h"

#include "ux/PerformanceTimer.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <QSet>

#include <cerrno>
#include <cstring>
#include <algorithm>
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace Ux {

namespace {

bool speedFor(unsigned baudRate, speed_t* speed)
{
    static const struct { unsigned rate; speed_t speed; } table[] = {
        {50, B50},         {75, B75},         {110, B110},         {134, B134},
        {150, B150},       {200, B200},       {300, B300},         {600, B600},
        {1200, B1200},     {1800, B1800},     {2400, B2400},       {4800, B4800},
        {9600, B9600},     {19200, B19200},   {38400, B38400},     {57600, B57600},
        {115200, B115200}, {230400, B230400}, {460800, B460800},   {500000, B500000},
        {576000, B576000}, {921600, B921600}, {1000000, B1000000}, {1152000, B1152000},
        {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
        {3500000, B3500000}, {4000000, B4000000},
    };
    for (const auto& entry : table) {
        if (entry.rate == baudRate) {
            *speed = entry.speed;
            return true;
        }
    }
    return false;
}

} // namespace

SerialPort::SerialPort() : QObject(nullptr)
{
    std::memset(&m_settings, 0, sizeof m_settings);
}

SerialPort::~SerialPort()
{
    close();
}

bool SerialPort::fail(const char* step)
{
    m_lastError = errno;
    qDebug() << "SerialPort:" << step << "failed with error" << m_lastError;
    close();
    return false;
}

bool SerialPort::open(const QString& name, unsigned baudRate)
{
    m_buffer.clear();
    close();
    m_lineLost = false;

    const QByteArray path = QFile::encodeName(name);
    {
        PerformanceTimer timer(QStringLiteral("CreateFile"));
        m_fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    }
    if (m_fd < 0) {
        m_lastError = errno;
        qDebug() << "SerialPort::open" << name << "failed with error" << m_lastError;
        return false;
    }
    if (!::isatty(m_fd)) {
        errno = ENOTTY;
        return fail("isatty");
    }
    // Nobody else may open the device while the transfer runs.
    if (::ioctl(m_fd, TIOCEXCL) != 0)
        return fail("TIOCEXCL");
    // Whatever the device received before this transfer belongs to no packet.
    if (::tcflush(m_fd, TCIOFLUSH) != 0)
        return fail("tcflush");

    m_timeouts = Timeouts();
    adjustTimeouts(&m_timeouts);

    if (::tcgetattr(m_fd, &m_settings) != 0)
        return fail("tcgetattr");

    speed_t speed = B9600;
    if (baudRate != 0 && !speedFor(baudRate, &speed)) {
        errno = EINVAL;
        return fail("baud rate");
    }
    // Raw bytes both ways: no echo, no signals, no line editing, no CR/LF
    // mapping, no XON/XOFF; 8 data bits, no parity, one stop bit, no
    // hardware handshake; reads return at once with what is there.
    m_settings.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON
                            | IXOFF | IXANY | INPCK | IMAXBEL);
    m_settings.c_oflag &= ~OPOST;
    m_settings.c_lflag &= ~(ECHO | ECHONL | ECHOE | ECHOK | ICANON | ISIG | IEXTEN);
    m_settings.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    m_settings.c_cflag |= CS8 | CREAD | CLOCAL;
    m_settings.c_cc[VMIN] = 0;
    m_settings.c_cc[VTIME] = 0;
    m_settings.c_cc[VSTART] = 0x11;
    m_settings.c_cc[VSTOP] = 0x13;
    ::cfsetispeed(&m_settings, speed);
    ::cfsetospeed(&m_settings, speed);

    adjustSettings();

    if (baudRate != 0) {
        if (::tcsetattr(m_fd, TCSANOW, &m_settings) != 0)
            return fail("tcsetattr");
        // DTR and RTS on; a device without modem lines (a pseudo-terminal)
        // has nothing to raise.
        int lines = TIOCM_DTR | TIOCM_RTS;
        if (::ioctl(m_fd, TIOCMBIS, &lines) != 0 && errno != ENOTTY && errno != EINVAL)
            return fail("TIOCMBIS");
    }
    return true;
}

bool SerialPort::isOpen() const
{
    return m_fd >= 0;
}

bool SerialPort::read(unsigned maxCount)
{
    if (m_fd < 0 || maxCount == 0)
        return false;
    QByteArray block(static_cast<qsizetype>(maxCount), Qt::Uninitialized);
    const ssize_t got = ::read(m_fd, block.data(), maxCount);
    if (got <= 0) {
        if (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            m_lastError = errno;
            m_lineLost = true;
        } else if (got == 0) {
            // An empty line and a hung-up one both read nothing; only the
            // hung-up one reports it when asked.
            pollfd pfd{m_fd, POLLIN, 0};
            if (::poll(&pfd, 1, 0) > 0 && (pfd.revents & (POLLHUP | POLLERR | POLLNVAL))) {
                m_lastError = EIO;
                m_lineLost = true;
            }
        }
        return false;
    }
    m_buffer.append(block.constData(), static_cast<qsizetype>(got));
    emit readyRead();
    return true;
}

void SerialPort::readAll(QByteArray& bytes)
{
    bytes = m_buffer;
    qDebug().noquote() << QStringLiteral("::ReadFile(..., %1, %2")
                    .arg(QString::fromLatin1(m_buffer.toHex()))
                    .arg(m_buffer.size());
    m_buffer.clear();
}

int SerialPort::write(const QByteArray& bytes)
{
    return write(bytes.constData(), static_cast<int>(bytes.size()));
}

int SerialPort::write(const char* data, int count)
{
    if (m_fd < 0) {
        m_lastError = EBADF;
        return 0;
    }
    if (count <= 0)
        return 0;
    const qint64 limitMs =
        qint64(m_timeouts.writeConstantMs) + qint64(m_timeouts.writeMsPerByte) * count;
    QElapsedTimer clock;
    clock.start();
    int written = 0;
    while (written < count) {
        const ssize_t n = ::write(m_fd, data + written, static_cast<size_t>(count - written));
        if (n > 0) {
            written += static_cast<int>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            m_lastError = errno;
            break;
        }
        const qint64 left = limitMs - clock.elapsed();
        if (left <= 0) {
            m_lastError = ETIMEDOUT;
            break;
        }
        pollfd pfd{m_fd, POLLOUT, 0};
        ::poll(&pfd, 1, static_cast<int>(left));
    }
    return written;
}

void SerialPort::close()
{
    if (m_fd < 0)
        return;
    // The exclusive flag stays on the device while any other descriptor
    // holds it open; clear it so that the port can be opened again.
    ::ioctl(m_fd, TIOCNXCL);
    ::close(m_fd);
    m_fd = -1;
}

bool SerialPort::accessDenied() const
{
    return m_lastError == EACCES || m_lastError == EPERM;
}

SerialPort::DeviceGroup SerialPort::deviceGroup(const QString& device)
{
    DeviceGroup result;
    struct stat info {};
    if (::stat(QFile::encodeName(device).constData(), &info) != 0)
        return result;
    const group* entry = ::getgrgid(info.st_gid);
    result.name = entry ? QString::fromLocal8Bit(entry->gr_name) : QString::number(info.st_gid);
    result.groupMayUse = (info.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
    std::vector<gid_t> held(size_t(std::max(0, ::getgroups(0, nullptr))));
    held.resize(size_t(std::max(0, ::getgroups(int(held.size()), held.data()))));
    held.push_back(::getegid());
    result.held = std::find(held.begin(), held.end(), info.st_gid) != held.end();
    if (const passwd* user = ::getpwuid(::geteuid())) {
        int count = 0;
        ::getgrouplist(user->pw_name, user->pw_gid, nullptr, &count);
        std::vector<gid_t> listed(size_t(std::max(count, 0)));
        if (::getgrouplist(user->pw_name, user->pw_gid, listed.data(), &count) >= 0)
            result.listed = std::find(listed.begin(), listed.end(), info.st_gid) != listed.end();
    }
    return result;
}

QString SerialPort::errorString() const
{
    return QString::fromLocal8Bit(std::strerror(m_lastError));
}

void SerialPort::adjustTimeouts(Timeouts*)
{
}

void SerialPort::adjustSettings()
{
}

SerialPortInfoList SerialPort::enumeratePorts()
{
    SerialPortInfoList ports;
    QSet<QString> seen;
    const auto available = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& port : available) {
        SerialPortInfo info;
        info.portName = port.systemLocation();
        info.physName = port.portName();
        info.friendName = port.description().isEmpty()
                              ? port.portName()
                              : QStringLiteral("%1 (%2)").arg(port.description(), port.portName());
        info.enumName = port.manufacturer();
        if (port.hasVendorIdentifier())
            info.vendorId = port.vendorIdentifier();
        if (port.hasProductIdentifier())
            info.productId = port.productIdentifier();
        seen.insert(info.portName);
        ports.append(info);
    }

    const QString extra = qEnvironmentVariable(ExtraPortsVariable);
    const QStringList paths = extra.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& path : paths) {
        if (seen.contains(path) || !QFileInfo::exists(path))
            continue;
        SerialPortInfo info;
        info.portName = path;
        info.physName = QFileInfo(path).fileName();
        info.friendName = path;
        seen.insert(path);
        ports.append(info);
    }
    return ports;
}

} // namespace Ux
