#pragma once

class TCustomComPort;

// Read and write time-outs in milliseconds. A read may take ReadMultiplier
// per byte plus ReadConstant in all, with at most ReadInterval between two
// bytes; a write WriteMultiplier per byte plus WriteConstant. The port reads
// them at every call, so a change counts from the next read or write.
class TTimeouts
{
public:
    explicit TTimeouts(TCustomComPort*) {}

    int ReadInterval() const { return m_readInterval; }
    void SetReadInterval(int value) { m_readInterval = value; }
    int ReadMultiplier() const { return m_readMultiplier; }
    void SetReadMultiplier(int value) { m_readMultiplier = value; }
    int ReadConstant() const { return m_readConstant; }
    void SetReadConstant(int value) { m_readConstant = value; }
    int WriteMultiplier() const { return m_writeMultiplier; }
    void SetWriteMultiplier(int value) { m_writeMultiplier = value; }
    int WriteConstant() const { return m_writeConstant; }
    void SetWriteConstant(int value) { m_writeConstant = value; }

private:
    int m_readInterval = 0;
    int m_readMultiplier = 0;
    int m_readConstant = 0;
    int m_writeMultiplier = 0;
    int m_writeConstant = 0;
};
