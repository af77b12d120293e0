#include "core/DialogErrorMessage.h"

#include "ui_DialogErrorMessage.h"

DialogErrorMessage::DialogErrorMessage(const QString& text, int severity, QWidget* parent)
    : QDialog(parent), ui(new Ui::DialogErrorMessage)
{
    ui->setupUi(this);
    ui->criticalErrorIcon->setVisible(severity == 2);
    ui->fatalErrorIcon->setVisible(severity == 3);
    if (severity == 3) {
        ui->errorInfo->setText(
            tr("A fatal error has occurred inside the application from which it cannot recover and "
               "must now terminate. It may be that some of the files that Pelvane relies upon are "
               "missing or have been corrupted.\n\nIf you experience this error message again "
               "please try re-installing Pelvane."));
    } else if (severity == 2) {
        ui->errorInfo->setText(
            tr("A critical error has occurred inside the application and the current task had to "
               "be aborted. It may be that some of the files that Pelvane relies upon are missing "
               "or have been corrupted.\n\nIf you experience this error message again please try "
               "re-installing Pelvane."));
    }
    ui->errorMessage->setPlainText(text);
}

DialogErrorMessage::~DialogErrorMessage() = default;
