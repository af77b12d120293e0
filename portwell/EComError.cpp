#include "portwell/EComError.h"

#include <cstring>

EComError::EComError(int code, const QString& message)
    : std::runtime_error(message.toStdString()), m_code(code), m_message(message)
{
}

EComError EComError::fromErrno(int code)
{
    return EComError(code, QString::fromLocal8Bit(std::strerror(code)));
}
