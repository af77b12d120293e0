#include "portwell/EComError.h"

#include <cerrno>
#include <cstring>

EComError::EComError(int code, const QString& message)
    : std::runtime_error(message.toStdString()), m_code(code), m_message(message)
{
}

EComError EComError::fromErrno(int code)
{
    return EComError(code, QString::fromLocal8Bit(std::strerror(code)));
}

EComError EComError::fromAccessDenied(int code, const QString& device)
{
    return EComError(code, QStringLiteral("You may not use the serial port %1.\n\nOn this computer the serial ports "
                                          "belong to the group \"dialout\". Ask your administrator to add your "
                                          "user to that group (sudo adduser <user> dialout), then log out and "
                                          "log in again.")
                               .arg(device));
}

bool EComError::AccessDenied() const
{
    return m_code == EACCES || m_code == EPERM;
}

EComError EComError::fromDeviceLost(int code, const QString& device)
{
    EComError error(code, QStringLiteral("The serial port %1 was lost (%2).")
                              .arg(device, QString::fromLocal8Bit(std::strerror(code))));
    error.m_deviceLost = true;
    return error;
}
