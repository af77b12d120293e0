#pragma once

#include <QThread>

class TCustomComPort;

// Waits on the port's device for communication events and hands them to the
// port, which delivers them on its own thread. It ends when the port marks
// it terminated and wakes it, or when the device goes away.
class TComThread : public QThread
{
    Q_OBJECT
public:
    TComThread(TCustomComPort* port, quint64 generation);

protected:
    void run() override;

private:
    TCustomComPort* m_port;
    quint64 m_generation;
};
