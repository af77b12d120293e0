#pragma once

#include "ux/SerialPortInfo.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <termios.h>

namespace Ux {

// One serial device driven with plain calls: opened raw with 8 data bits, no
// parity, one stop bit and no flow control, read without waiting, written with
// a bounded wait. The transfers poll it from a zero-interval timer in the GUI
// thread; each read that brings bytes emits readyRead().
class SerialPort : public QObject
{
    Q_OBJECT
public:
    // A write may wait writeConstantMs plus writeMsPerByte for each byte.
    struct Timeouts
    {
        int writeConstantMs = 1000;
        int writeMsPerByte = 1;
    };

    // Colon-separated device paths added to enumeratePorts(), for virtual
    // ports that the system listing does not show.
    static constexpr const char* ExtraPortsVariable = "PELVANE_EXTRA_SERIAL_PORTS";

    SerialPort();
    ~SerialPort() override;

    // Opens the device path as given (never shortened). Baud rate 0 keeps the
    // line settings the device already has; an unknown rate fails.
    bool open(const QString& name, unsigned baudRate);
    bool isOpen() const;
    // One read without waiting of at most maxCount bytes; true when bytes
    // arrived, after readyRead() was emitted.
    bool read(unsigned maxCount);
    // True once a read found the device gone: a read error, or a hang-up
    // (a USB adapter pulled, the far side of a pseudo-terminal closed).
    // Cleared by open().
    bool lineLost() const { return m_lineLost; }
    // The open device's descriptor, for waiting on it; -1 when closed.
    int descriptor() const { return m_fd; }
    // Hands over the bytes read so far and empties the receive buffer.
    void readAll(QByteArray& bytes);
    // Writes all bytes within the write time-out; returns the count written.
    int write(const QByteArray& bytes);
    int write(const char* data, int count);
    void close();
    // The system's text for the last failure of this port.
    QString errorString() const;
    // True when the last failure was the system refusing this user the
    // device (on Debian the serial devices belong to the group "dialout").
    bool accessDenied() const;

    // What decides who may use a device, for explaining a refusal: its
    // group, whether its mode lets that group read and write it, whether
    // this process holds the group, and whether the user is listed in it
    // (listed but not held: added since the session began).
    struct DeviceGroup
    {
        QString name;
        bool groupMayUse = false;
        bool held = false;
        bool listed = false;
    };
    static DeviceGroup deviceGroup(const QString& device);

    static SerialPortInfoList enumeratePorts();

signals:
    void readyRead();

protected:
    // Hooks called by open() just before the time-outs and the line settings
    // take effect, so that a subclass can change them.
    virtual void adjustTimeouts(Timeouts* timeouts);
    virtual void adjustSettings();
    termios& settings() { return m_settings; }

private:
    bool fail(const char* step);

    int m_fd = -1;
    termios m_settings;
    Timeouts m_timeouts;
    QByteArray m_buffer;
    int m_lastError = 0;
    bool m_lineLost = false;
};

} // namespace Ux
