#pragma once

#include "certificates/CertificateImageCopier.h"
#include "certificates/CertificateTemplate.h"

#include <QDate>
#include <QDialog>
#include <QList>
#include <QLocale>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <memory>

#include "database/DialogProgress.h"
class HtmlPrinter;
class QPrintPreviewWidget;

namespace Ui { class DialogCertificateGenerator; }

// Turns the selected assets into test certificates: the user picks a
// template, types the company's and the client's details, and sees a live
// preview of the first asset's certificate, which can be printed; or saves
// one PDF or HTML file per asset.
class DialogCertificateGenerator : public QDialog
{
    Q_OBJECT
public:
    static constexpr const char* SettingsKey = "win/Certificates";

    DialogCertificateGenerator(const QList<int>& assetIds, QWidget* parent = nullptr);
    ~DialogCertificateGenerator() override;

    // Fills target with the form's texts and the asset's data, and keeps the
    // asset's test and retest dates for the date-format fields.
    void fillTemplate(CertificateTemplate& target, int assetId);
    static QString formatValue(const QLocale& locale, int testId, double value);

    // The folder that holds one sub-folder per template.
    static QString templatesFolder();

    HtmlPrinter* htmlPrinter() const { return m_printer.get(); }
    QPrintPreviewWidget* previewWidget() const { return m_preview; }
    QString previewHtml() const { return m_previewHtml; }
    bool isDirty() const { return m_dirty; }
    bool saveRunning() const { return m_progress != nullptr; }
    DialogProgress* progressDialog() const { return m_progress; }

public slots:
    void pageSetup();
    void save();
    void print();
    void browseLogo();
    void browseSignature();
    void zoomIn();
    void zoomOut();
    void fitInView();
    void templateChanged(int index);
    void headerTitleChanged();
    void testCompanyNameChanged();
    void testCompanyAddress1Changed();
    void testCompanyAddress2Changed();
    void testCompanyAddress3Changed();
    void testCompanyPostCodeChanged();
    void testCompanyLogoChanged();
    void clientDetailsNameChanged();
    void clientDetailsAddress1Changed();
    void clientDetailsAddress2Changed();
    void clientDetailsAddress3Changed();
    void clientDetailsPostCodeChanged();
    void testDateFormatChanged();
    void retestDateFormatChanged();
    void todaysDateFormatChanged();
    void signatureImageChanged();
    void showDataFormatsHelp();
    void modified(bool);
    void redrawPreview();
    void saveNextCertificate();
    void abortSave();

private:
    void scanTemplateFolders();
    void restoreState();
    void saveState() const;
    void connectFields();
    void createPreview();
    void setPreviewValue(const QString& name, const QString& value);
    // Writes one certificate; false when the file could not be written.
    bool writeCertificate(CertificateTemplate& certificate, const QString& fileName);
    QString uniqueFileName(const QString& basePath) const;
    void finishSave();
    void reportSaveProblems();

    std::unique_ptr<Ui::DialogCertificateGenerator> ui;
    QList<int> m_assetIds;
    CertificateTemplate m_previewTemplate;
    QString m_previewHtml;
    bool m_dirty = true;
    QTimer m_redrawTimer;
    std::unique_ptr<HtmlPrinter> m_printer;
    QPrintPreviewWidget* m_preview = nullptr;
    QDate m_today;
    QDate m_testDate;
    QDate m_retestDate;
    QString m_lastLogoPath;
    QString m_lastSignaturePath;

    // The save run.
    QString m_pathPattern;
    QUrl m_runTemplateUrl;
    int m_nextIndex = 0;
    bool m_pdf = true;
    QPointer<DialogProgress> m_progress;
    QStringList m_unwritten;
    CertificateImageCopier m_images;
};
