#pragma once

#include <QDialog>
#include <memory>

namespace Ui { class DialogImportV1Database; }

// Asks for a first-version database file and what to take from it. It opens
// no database itself: the caller attaches the file once this is accepted.
class DialogImportV1Database : public QDialog
{
    Q_OBJECT
public:
    explicit DialogImportV1Database(QWidget* parent = nullptr);
    ~DialogImportV1Database() override;

    QString fileName() const;
    bool importAssets() const;
    bool importResults() const;

    void restoreState(const QByteArray& state);
    QByteArray saveState() const;

    static const QString settingsKey;

public slots:
    void onBrowsePressed();
    void onFileNameTextChanged(const QString& text);
    void done(int result) override;

private:
    std::unique_ptr<Ui::DialogImportV1Database> ui;
    QString m_rememberedPath;
};
