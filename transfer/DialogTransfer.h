#pragma once

#include <QDialog>
#include <memory>

namespace Ui { class DialogTransfer; }

// Asks for the serial port and the baud rate before a download or an upload.
// The last choice is kept for the program run (every change at once, even if
// the dialog is cancelled) and across runs in the setting "win/DialogTransfer".
class DialogTransfer : public QDialog
{
    Q_OBJECT
public:
    // The caller sets the title; mode (0 download, 1 upload) changes nothing.
    explicit DialogTransfer(QWidget* parent = nullptr, int mode = 0);
    ~DialogTransfer() override;

    // The system name of the chosen port; empty when none is chosen.
    QString portName() const;
    int baudRate() const;

    static constexpr const char* SettingsKey = "win/DialogTransfer";

public slots:
    void populateComPorts();
    void currentComPortChanged(int index);
    void baudRateChanged(int index);

private:
    std::unique_ptr<Ui::DialogTransfer> ui;
};
