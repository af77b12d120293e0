#pragma once

#include <QDialog>
#include <memory>

namespace Ui { class DialogLanguage; }

// Asks for the program's language on the first start, from the translation
// files that ship with it.
class DialogLanguage : public QDialog
{
    Q_OBJECT
public:
    explicit DialogLanguage(QWidget* parent = nullptr);
    ~DialogLanguage() override;

    // The path of the chosen translation file.
    QString selectedFile() const;

private:
    std::unique_ptr<Ui::DialogLanguage> ui;
};
