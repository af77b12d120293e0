#pragma once

#include "portwell/ComPortTypes.h"

#include <QtGlobal>

class TCustomComPort;

// Handshake settings of a port; a change reaches an open port at once.
class TFlowControl
{
public:
    explicit TFlowControl(TCustomComPort* port) : m_port(port) {}

    ComPortTypes::TDTRControl DTRControl() const { return m_dtr; }
    void SetDTRControl(ComPortTypes::TDTRControl value);
    ComPortTypes::TRTSControl RTSControl() const { return m_rts; }
    void SetRTSControl(ComPortTypes::TRTSControl value);
    ComPortTypes::TXOnXOffControl XOnXOff() const { return m_xonxoff; }
    void SetXOnXOff(ComPortTypes::TXOnXOffControl value);
    // Kept for the device's receive queue thresholds; a terminal has none to set.
    quint16 XOnLimit() const { return m_xonLimit; }
    void SetXOnLimit(quint16 value) { m_xonLimit = value; }
    quint16 XOffLimit() const { return m_xoffLimit; }
    void SetXOffLimit(quint16 value) { m_xoffLimit = value; }

private:
    TCustomComPort* m_port;
    ComPortTypes::TDTRControl m_dtr = ComPortTypes::dcDefault;
    ComPortTypes::TRTSControl m_rts = ComPortTypes::rcDefault;
    ComPortTypes::TXOnXOffControl m_xonxoff = ComPortTypes::xcDefault;
    quint16 m_xonLimit = 0;
    quint16 m_xoffLimit = 0;
};
