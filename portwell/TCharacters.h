#pragma once

class TCustomComPort;

// Special characters of a port; a change reaches an open port at once.
class TCharacters
{
public:
    explicit TCharacters(TCustomComPort* port) : m_port(port) {}

    char XOn() const { return m_xon; }
    void SetXOn(char value);
    char XOff() const { return m_xoff; }
    void SetXOff(char value);
    char Error() const { return m_error; }
    void SetError(char value);
    char Eof() const { return m_eof; }
    void SetEof(char value);
    char Event() const { return m_event; }
    void SetEvent(char value);

private:
    TCustomComPort* m_port;
    char m_xon = 17;
    char m_xoff = 19;
    char m_error = 0;
    char m_eof = 0;
    char m_event = 0;
};
