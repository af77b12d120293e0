#include "mainwindow/DialogLanguage.h"

#include "mainwindow/TranslationEntry.h"

#include "ui_DialogLanguage.h"

#include <QFontMetrics>

DialogLanguage::DialogLanguage(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::DialogLanguage>())
{
    ui->setupUi(this);
    // The window manager writes the title, in bold, beside its icon and
    // buttons, and cuts it short where the dialog is only as wide as its
    // combo box.
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics title(bold);
    setMinimumWidth(qMax(minimumSizeHint().width(), title.horizontalAdvance(windowTitle()) + 8 * title.height()));
    for (const auto& entry : listTranslations(translationsFolder())) {
        ui->languageCombo->addItem(entry->languageName(), entry->path);
        if (entry->locale.language() == QLocale::English)
            ui->languageCombo->setCurrentIndex(ui->languageCombo->count() - 1);
    }
}

DialogLanguage::~DialogLanguage() = default;

QString DialogLanguage::selectedFile() const
{
    return ui->languageCombo->currentData().toString();
}
