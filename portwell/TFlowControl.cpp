#include "portwell/TFlowControl.h"

#include "portwell/TCustomComPort.h"

void TFlowControl::SetDTRControl(ComPortTypes::TDTRControl value)
{
    m_dtr = value;
    m_port->ApplySettings();
}

void TFlowControl::SetRTSControl(ComPortTypes::TRTSControl value)
{
    m_rts = value;
    m_port->ApplySettings();
}

void TFlowControl::SetXOnXOff(ComPortTypes::TXOnXOffControl value)
{
    m_xonxoff = value;
    m_port->ApplySettings();
}
