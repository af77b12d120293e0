#pragma once

#include <QDialog>
#include <memory>

namespace Ui { class DialogErrorMessage; }

class DialogErrorMessage : public QDialog
{
    Q_OBJECT
public:
    DialogErrorMessage(const QString& text, int severity, QWidget* parent = nullptr);
    ~DialogErrorMessage() override;

private:
    std::unique_ptr<Ui::DialogErrorMessage> ui;
};
