#include "certificates/DialogSaveCertificate.h"

#include "certificates/MacroMarker.h"

#include "ui_DialogSaveCertificate.h"

#include <QDataStream>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QSettings>

DialogSaveCertificate::DialogSaveCertificate(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::DialogSaveCertificate>())
{
    ui->setupUi(this);

    ui->macroTable->setColumnCount(1);
    ui->macroTable->setHorizontalHeaderLabels(
        {tr("Description", "Column header name for describing the placeholders")});
    ui->macroTable->setRowCount(MacroMarker::Count);
    for (int row = 0; row < MacroMarker::Count; ++row) {
        ui->macroTable->setVerticalHeaderItem(row, new QTableWidgetItem(MacroMarker::tag(row)));
        ui->macroTable->setItem(row, 0, new QTableWidgetItem(MacroMarker::description(row)));
    }
    ui->macroTable->horizontalHeader()->setStretchLastSection(true);

    const QVariant stored = QSettings().value(QLatin1String(SettingsKey));
    if (stored.isValid() && !stored.isNull()) {
        QDataStream in(stored.toByteArray());
        QByteArray geometry;
        QString directory;
        QString fileName;
        qint32 type = 0;
        in >> geometry >> directory >> fileName >> type;
        if (in.status() == QDataStream::Ok) {
            restoreGeometry(geometry);
            ui->directory->setText(directory);
            ui->fileName->setText(fileName);
            if (type >= 0 && type < ui->fileType->count())
                ui->fileType->setCurrentIndex(type);
        }
    }

    connect(ui->browseBtn, &QPushButton::pressed, this, &DialogSaveCertificate::browseDirectory);
    connect(ui->insertBtn, &QPushButton::pressed, this, &DialogSaveCertificate::insertMacro);
}

DialogSaveCertificate::~DialogSaveCertificate()
{
    QByteArray state;
    QDataStream out(&state, QIODevice::WriteOnly);
    out << saveGeometry() << ui->directory->text() << ui->fileName->text() << qint32(ui->fileType->currentIndex());
    QSettings().setValue(QLatin1String(SettingsKey), state);
}

QString DialogSaveCertificate::fullPath() const
{
    return QStringLiteral("%1/%2").arg(ui->directory->text(), ui->fileName->text());
}

int DialogSaveCertificate::fileType() const
{
    return ui->fileType->currentIndex();
}

void DialogSaveCertificate::browseDirectory()
{
    const QString chosen = QFileDialog::getExistingDirectory(this, tr("Select Location for PDF File(s)"),
                                                             ui->directory->text());
    if (!chosen.isNull())
        ui->directory->setText(chosen);
}

void DialogSaveCertificate::insertMacro()
{
    const QList<QTableWidgetItem*> selected = ui->macroTable->selectedItems();
    if (selected.isEmpty())
        return;
    const QTableWidgetItem* header = ui->macroTable->verticalHeaderItem(selected.first()->row());
    if (header)
        ui->fileName->insert(header->text());
}

void DialogSaveCertificate::accept()
{
    if (ui->fileName->text().isEmpty()) {
        QMessageBox box(QMessageBox::Critical, QString(),
                        tr("There is a problem with the file name. Please re-check its validity.",
                           "Error message shown when saving multiple certificates"),
                        QMessageBox::Ok);
        box.exec();
        return;
    }
    // Without a folder the files would land wherever the program happens to
    // run from, or at the root of the file system.
    if (ui->directory->text().trimmed().isEmpty()) {
        QMessageBox box(QMessageBox::Critical, QString(),
                        tr("There is a problem with the directory. Please choose where the certificates are saved.",
                           "Error message shown when saving multiple certificates without a directory"),
                        QMessageBox::Ok);
        box.exec();
        return;
    }
    QDialog::accept();
}
