#pragma once

#include <QDialog>

class QComboBox;
class QSpinBox;
class TCustomComPort;

// The port's configuration dialog: one choice per line setting, filled from
// the port's properties, with the names of their values.
class ComPortConfigDialog : public QDialog
{
    Q_OBJECT
public:
    ComPortConfigDialog(TCustomComPort* port, QWidget* parent = nullptr);

    // Hands the choices back to the port; an open port takes them at once.
    void apply();

private:
    QComboBox* addChoice(const char* label, const QMetaEnum& values, int current);

    TCustomComPort* m_port;
    QComboBox* m_baudRate;
    QSpinBox* m_customBaudRate;
    QComboBox* m_dataBits;
    QComboBox* m_parity;
    QComboBox* m_stopBits;
    QComboBox* m_dtr;
    QComboBox* m_rts;
    QComboBox* m_xonxoff;
};
