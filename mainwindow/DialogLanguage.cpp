#include "mainwindow/DialogLanguage.h"

#include "mainwindow/TranslationEntry.h"

#include "ui_DialogLanguage.h"

DialogLanguage::DialogLanguage(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::DialogLanguage>())
{
    ui->setupUi(this);
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
