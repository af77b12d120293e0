#include "portwell/ShowException.h"

#include "portwell/TCustomComPort.h"

#include <QApplication>
#include <QMessageBox>

void ShowException(const std::exception& error)
{
    if (dynamic_cast<const TCustomComPort::EAbort*>(&error))
        return;
    QString text = QString::fromLocal8Bit(error.what());
    if (const auto* comError = dynamic_cast<const EComError*>(&error))
        text = comError->Message();
    QWidget* parent = QApplication::activeWindow();
    QMessageBox::critical(parent, QApplication::applicationDisplayName(), text);
}
