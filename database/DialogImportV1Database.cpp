#include "database/DialogImportV1Database.h"

#include "ui_DialogImportV1Database.h"

#include <QDataStream>
#include <QFileDialog>
#include <QIODevice>
#include <QPushButton>
#include <QSettings>

const QString DialogImportV1Database::settingsKey = QStringLiteral("win/DialogImportV1Database");

DialogImportV1Database::DialogImportV1Database(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::DialogImportV1Database>())
{
    ui->setupUi(this);
    ui->buttonBox->button(QDialogButtonBox::Ok)->setEnabled(false);
    connect(ui->buttonBrowse, &QPushButton::pressed, this, &DialogImportV1Database::onBrowsePressed);
    connect(ui->lineEditFileName, &QLineEdit::textChanged, this, &DialogImportV1Database::onFileNameTextChanged);

    const QVariant state = QSettings().value(settingsKey);
    if (state.isValid() && !state.isNull())
        restoreState(state.toByteArray());
}

DialogImportV1Database::~DialogImportV1Database() = default;

QString DialogImportV1Database::fileName() const
{
    return ui->lineEditFileName->text();
}

bool DialogImportV1Database::importAssets() const
{
    return ui->checkBoxAssets->isChecked();
}

bool DialogImportV1Database::importResults() const
{
    return ui->checkBoxResults->isChecked();
}

void DialogImportV1Database::restoreState(const QByteArray& state)
{
    QDataStream in(state);
    in.setVersion(QDataStream::Qt_4_6);
    QByteArray geometry;
    QString path;
    in >> geometry >> path;
    if (in.status() != QDataStream::Ok)
        return;
    restoreGeometry(geometry);
    m_rememberedPath = path;
}

QByteArray DialogImportV1Database::saveState() const
{
    QByteArray state;
    QDataStream out(&state, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_4_6);
    out << saveGeometry() << m_rememberedPath;
    return state;
}

void DialogImportV1Database::onBrowsePressed()
{
    const QString chosen = QFileDialog::getOpenFileName(
        this, tr("Select SQL Server Database", "Message shown when importing a Pelvane version 1 database"),
        m_rememberedPath, tr("SQL Server Database (*.mdf)", "Types of SQL databases to be shown"));
    // The next browse starts where this one found its file.
    if (!chosen.isEmpty())
        m_rememberedPath = chosen;
    // Cancelling empties the field, which disables OK.
    ui->lineEditFileName->setText(chosen);
}

void DialogImportV1Database::onFileNameTextChanged(const QString& text)
{
    ui->buttonBox->button(QDialogButtonBox::Ok)->setEnabled(!text.isEmpty());
}

void DialogImportV1Database::done(int result)
{
    QSettings().setValue(settingsKey, saveState());
    QDialog::done(result);
}
