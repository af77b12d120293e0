#pragma once

#include <QString>

#include <stdexcept>

// A failed serial call: the system's error code (errno; 0 for the port's
// own refusals such as an operation on a closed port) and its text.
class EComError : public std::runtime_error
{
public:
    EComError(int code, const QString& message);

    // The failure of the last system call, from errno.
    static EComError fromErrno(int code);

    // The system refused this user the device: the text names the device and
    // says what lifts the refusal, from the device's group and the user's.
    static EComError fromAccessDenied(int code, const QString& device);
    bool AccessDenied() const;

    // The device went away under the open port (an adapter pulled out): the
    // text names it and gives the system's reason.
    static EComError fromDeviceLost(int code, const QString& device);
    bool DeviceLost() const { return m_deviceLost; }

    int ErrorCode() const { return m_code; }
    QString Message() const { return m_message; }

private:
    int m_code;
    QString m_message;
    bool m_deviceLost = false;
};
