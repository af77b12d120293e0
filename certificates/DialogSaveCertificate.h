#pragma once

#include <QDialog>
#include <memory>

namespace Ui { class DialogSaveCertificate; }

// Asks where a batch of certificates goes: a folder, a file-name pattern with
// tags that name each asset's file, and PDF or HTML. Remembers the choice.
class DialogSaveCertificate : public QDialog
{
    Q_OBJECT
public:
    static constexpr const char* SettingsKey = "win/DialogSaveCertificate";

    explicit DialogSaveCertificate(QWidget* parent = nullptr);
    ~DialogSaveCertificate() override;

    // "<directory>/<file-name pattern>", the pattern the generator expands.
    QString fullPath() const;
    // 0 PDF, 1 HTML.
    int fileType() const;

public slots:
    void browseDirectory();
    void insertMacro();
    void accept() override;

private:
    std::unique_ptr<Ui::DialogSaveCertificate> ui;
};
