#pragma once

class TCustomComPort;

// Queue sizes asked for a port. The terminal driver keeps queues of a size
// of its own, so these are kept for the configuration only.
class TBufferSizes
{
public:
    explicit TBufferSizes(TCustomComPort*) {}

    int Input() const { return m_input; }
    void SetInput(int value) { m_input = value; }
    int Output() const { return m_output; }
    void SetOutput(int value) { m_output = value; }

private:
    int m_input = 4096;
    int m_output = 2048;
};
