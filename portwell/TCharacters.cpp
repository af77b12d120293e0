#include "portwell/TCharacters.h"

#include "portwell/TCustomComPort.h"

void TCharacters::SetXOn(char value)
{
    m_xon = value;
    m_port->ApplySettings();
}

void TCharacters::SetXOff(char value)
{
    m_xoff = value;
    m_port->ApplySettings();
}

void TCharacters::SetError(char value)
{
    m_error = value;
    m_port->ApplySettings();
}

void TCharacters::SetEof(char value)
{
    m_eof = value;
    m_port->ApplySettings();
}

void TCharacters::SetEvent(char value)
{
    m_event = value;
    m_port->ApplySettings();
}
