#include "certificates/DialogCertificateGenerator.h"

#include "certificates/CertificateFields.h"
#include "certificates/CertificateFill.h"
#include "certificates/DefaultCertificateTemplate.h"
#include "certificates/DialogSaveCertificate.h"
#include "certificates/HtmlPrinter.h"
#include "certificates/MacroMarker.h"
#include "core/AppPaths.h"
#include "database/DatabaseAction.h"
#include "database/DialogProgress.h"

#include "ui_DialogCertificateGenerator.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QSaveFile>
#include <QSettings>
#include <QToolBar>

namespace F = CertificateFields;

namespace {
const int kRedrawMs = 1000;
const int kSaveStepMs = 100;
} // namespace

DialogCertificateGenerator::DialogCertificateGenerator(const QList<int>& assetIds, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::DialogCertificateGenerator>()), m_assetIds(assetIds),
      m_today(QDate::currentDate())
{
    ui->setupUi(this);
    m_redrawTimer.setInterval(kRedrawMs);

    DefaultCertificateTemplate::installIfEmpty(templatesFolder());
    scanTemplateFolders();

    connect(ui->pageSetupBtn, &QPushButton::pressed, this, &DialogCertificateGenerator::pageSetup);
    connect(ui->saveBtn, &QPushButton::pressed, this, &DialogCertificateGenerator::save);
    connect(ui->printBtn, &QPushButton::pressed, this, &DialogCertificateGenerator::print);
    connect(ui->cancelBtn, &QPushButton::pressed, this, &DialogCertificateGenerator::reject);
    connect(ui->browseLogoBtn, &QPushButton::pressed, this, &DialogCertificateGenerator::browseLogo);
    connect(ui->browseSignatureBtn, &QPushButton::pressed, this, &DialogCertificateGenerator::browseSignature);
    connect(ui->dataFormatsHelpBtn, &QPushButton::pressed, this, &DialogCertificateGenerator::showDataFormatsHelp);

    restoreState();
    connectFields();
    createPreview();

    // Without an asset there is no certificate to print or save.
    ui->saveBtn->setEnabled(!m_assetIds.isEmpty());
    ui->printBtn->setEnabled(!m_assetIds.isEmpty());

    connect(&m_redrawTimer, &QTimer::timeout, this, &DialogCertificateGenerator::redrawPreview);
    templateChanged(ui->templateFolder->currentIndex());
    redrawPreview();
}

DialogCertificateGenerator::~DialogCertificateGenerator()
{
    saveState();
    if (m_progress)
        delete m_progress.data();
}

QString DialogCertificateGenerator::templatesFolder()
{
    return QStringLiteral("%1/Certificates/Templates").arg(dataFolder());
}

void DialogCertificateGenerator::scanTemplateFolders()
{
    ui->templateFolder->clear();
    const QDir folder(templatesFolder());
    const QFileInfoList entries =
        folder.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : entries) {
        ui->templateFolder->addItem(
            entry.fileName(),
            QUrl::fromLocalFile(QStringLiteral("%1/%2").arg(entry.absoluteFilePath(), QStringLiteral("template.html"))));
    }
    const QString preferred = QStringLiteral("_default (%1)").arg(QLocale().name().left(2));
    const int index = ui->templateFolder->findText(preferred, Qt::MatchExactly);
    if (index >= 0)
        ui->templateFolder->setCurrentIndex(index);
}

void DialogCertificateGenerator::restoreState()
{
    const QVariant stored = QSettings().value(QLatin1String(SettingsKey));
    if (!stored.isValid() || stored.isNull())
        return;
    QDataStream in(stored.toByteArray());
    QString texts[19];
    for (QString& text : texts)
        in >> text;
    if (in.status() != QDataStream::Ok)
        return;

    int current = 0;
    for (int i = 0; i < ui->templateFolder->count(); ++i) {
        if (ui->templateFolder->itemData(i).toUrl().toString() == texts[0]) {
            current = i;
            break;
        }
    }
    if (ui->templateFolder->count() > 0)
        ui->templateFolder->setCurrentIndex(current);
    ui->headerTitle->setText(texts[1]);
    ui->testCompanyName->setText(texts[2]);
    ui->testCompanyAddress1->setText(texts[3]);
    ui->testCompanyAddress2->setText(texts[4]);
    ui->testCompanyAddress3->setText(texts[5]);
    ui->testCompanyPostCode->setText(texts[6]);
    if (QFileInfo(texts[7]).isFile())
        ui->testCompanyLogo->setText(texts[7]);
    ui->clientDetailsName->setText(texts[8]);
    ui->clientDetailsAddress1->setText(texts[9]);
    ui->clientDetailsAddress2->setText(texts[10]);
    ui->clientDetailsAddress3->setText(texts[11]);
    ui->clientDetailsPostCode->setText(texts[12]);
    ui->testDateFormat->setText(texts[13]);
    ui->retestDateFormat->setText(texts[14]);
    if (QFileInfo(texts[15]).isFile())
        ui->signatureImage->setText(texts[15]);
    m_lastLogoPath = texts[16];
    m_lastSignaturePath = texts[17];
    ui->todaysDateFormat->setText(texts[18]);
}

void DialogCertificateGenerator::saveState() const
{
    QByteArray state;
    QDataStream out(&state, QIODevice::WriteOnly);
    out << ui->templateFolder->currentData().toUrl().toString() << ui->headerTitle->text()
        << ui->testCompanyName->text() << ui->testCompanyAddress1->text() << ui->testCompanyAddress2->text()
        << ui->testCompanyAddress3->text() << ui->testCompanyPostCode->text() << ui->testCompanyLogo->text()
        << ui->clientDetailsName->text() << ui->clientDetailsAddress1->text() << ui->clientDetailsAddress2->text()
        << ui->clientDetailsAddress3->text() << ui->clientDetailsPostCode->text() << ui->testDateFormat->text()
        << ui->retestDateFormat->text() << ui->signatureImage->text() << m_lastLogoPath << m_lastSignaturePath
        << ui->todaysDateFormat->text();
    QSettings().setValue(QLatin1String(SettingsKey), state);
}

void DialogCertificateGenerator::connectFields()
{
    using D = DialogCertificateGenerator;
    connect(ui->templateFolder, &QComboBox::currentIndexChanged, this, &D::templateChanged);
    const std::pair<QLineEdit*, void (D::*)()> edits[] = {
        {ui->headerTitle, &D::headerTitleChanged},
        {ui->testCompanyName, &D::testCompanyNameChanged},
        {ui->testCompanyAddress1, &D::testCompanyAddress1Changed},
        {ui->testCompanyAddress2, &D::testCompanyAddress2Changed},
        {ui->testCompanyAddress3, &D::testCompanyAddress3Changed},
        {ui->testCompanyPostCode, &D::testCompanyPostCodeChanged},
        {ui->testCompanyLogo, &D::testCompanyLogoChanged},
        {ui->clientDetailsName, &D::clientDetailsNameChanged},
        {ui->clientDetailsAddress1, &D::clientDetailsAddress1Changed},
        {ui->clientDetailsAddress2, &D::clientDetailsAddress2Changed},
        {ui->clientDetailsAddress3, &D::clientDetailsAddress3Changed},
        {ui->clientDetailsPostCode, &D::clientDetailsPostCodeChanged},
        {ui->testDateFormat, &D::testDateFormatChanged},
        {ui->retestDateFormat, &D::retestDateFormatChanged},
        {ui->todaysDateFormat, &D::todaysDateFormatChanged},
        {ui->signatureImage, &D::signatureImageChanged},
    };
    for (const auto& [edit, slot] : edits)
        connect(edit, &QLineEdit::editingFinished, this, slot);
}

void DialogCertificateGenerator::createPreview()
{
    m_printer = std::make_unique<HtmlPrinter>();
    m_printer->setHeaderHeight(0.0);
    m_printer->setFooterHeight(10.0);
    m_printer->setDateFormat(QStringLiteral("MM-dd-yyyy"));
    m_printer->setFooterHtml(
        QStringLiteral("<table width=\"100%\" style=\"font-family: Arial; font-size: 8pt; color: #000000;\"><tr>"
                       "<td align=\"left\" valign=\"top\"><img src=\"%3\" height=\"15\"></td>"
                       "<td align=\"center\" valign=\"top\">%1</td>"
                       "<td align=\"right\" valign=\"top\">%2 &page;</td></tr></table>")
            .arg(tr("Certificate produced with Tavisk Pelvane", "Message added to the footer of every certificate page"),
                 tr("Page", "Word shown before the page number on certificates"),
                 CertificateFill::escape(CertificateFill::shippedPicture(F::FooterImage))));

    m_preview = new QPrintPreviewWidget(m_printer->printer(), ui->preview);
    ui->previewLayout->addWidget(m_preview);
    connect(m_preview, &QPrintPreviewWidget::paintRequested, m_printer.get(),
            qOverload<QPrinter*>(&HtmlPrinter::print));

    auto* tools = new QToolBar(ui->preview);
    tools->setOrientation(Qt::Vertical);
    QAction* in = tools->addAction(QIcon(QStringLiteral(":/icons/icons/zoom_in.png")),
                                   tr("Zoom In", "Increases the size of the certificate preview"));
    QAction* out = tools->addAction(QIcon(QStringLiteral(":/icons/icons/zoom_out.png")),
                                    tr("Zoom Out", "Decreases the size of the certificate preview"));
    QAction* fit = tools->addAction(QIcon(QStringLiteral(":/icons/icons/zoom_fit.png")),
                                    tr("Fit in View", "Sets the size of the certificate preview to the window size"));
    connect(in, &QAction::triggered, this, &DialogCertificateGenerator::zoomIn);
    connect(out, &QAction::triggered, this, &DialogCertificateGenerator::zoomOut);
    connect(fit, &QAction::triggered, this, &DialogCertificateGenerator::fitInView);
    ui->previewLayout->addWidget(tools);
}

void DialogCertificateGenerator::fillTemplate(CertificateTemplate& target, int assetId)
{
    CertificateFormTexts texts;
    texts.headerTitle = ui->headerTitle->text();
    texts.testCompanyName = ui->testCompanyName->text();
    texts.testCompanyAddress1 = ui->testCompanyAddress1->text();
    texts.testCompanyAddress2 = ui->testCompanyAddress2->text();
    texts.testCompanyAddress3 = ui->testCompanyAddress3->text();
    texts.testCompanyPostCode = ui->testCompanyPostCode->text();
    texts.testCompanyLogo = ui->testCompanyLogo->text();
    texts.clientDetailsName = ui->clientDetailsName->text();
    texts.clientDetailsAddress1 = ui->clientDetailsAddress1->text();
    texts.clientDetailsAddress2 = ui->clientDetailsAddress2->text();
    texts.clientDetailsAddress3 = ui->clientDetailsAddress3->text();
    texts.clientDetailsPostCode = ui->clientDetailsPostCode->text();
    texts.testDateFormat = ui->testDateFormat->text();
    texts.retestDateFormat = ui->retestDateFormat->text();
    texts.todaysDateFormat = ui->todaysDateFormat->text();
    texts.signatureImage = ui->signatureImage->text();
    const CertificateFill::Dates dates = CertificateFill::fill(target, assetId, texts, m_today);
    m_testDate = dates.testDate;
    m_retestDate = dates.retestDate;
}

QString DialogCertificateGenerator::formatValue(const QLocale& locale, int testId, double value)
{
    return CertificateFill::formatValue(locale, testId, value);
}

void DialogCertificateGenerator::templateChanged(int index)
{
    if (m_assetIds.isEmpty()) {
        m_previewTemplate.loadText(QString());
    } else {
        m_previewTemplate.load(ui->templateFolder->itemData(index).toUrl());
        fillTemplate(m_previewTemplate, m_assetIds.first());
    }
    modified(true);
}

void DialogCertificateGenerator::modified(bool)
{
    m_dirty = true;
    m_redrawTimer.start();
}

void DialogCertificateGenerator::setPreviewValue(const QString& name, const QString& value)
{
    m_previewTemplate.setValue(name, value);
    modified(true);
}

void DialogCertificateGenerator::headerTitleChanged()
{
    setPreviewValue(F::HeaderTitle, CertificateFill::escape(ui->headerTitle->text()));
}

void DialogCertificateGenerator::testCompanyNameChanged()
{
    setPreviewValue(F::TestCompanyName, CertificateFill::escape(ui->testCompanyName->text()));
}

void DialogCertificateGenerator::testCompanyAddress1Changed()
{
    setPreviewValue(F::TestCompanyAddress1, CertificateFill::escape(ui->testCompanyAddress1->text()));
}

void DialogCertificateGenerator::testCompanyAddress2Changed()
{
    setPreviewValue(F::TestCompanyAddress2, CertificateFill::escape(ui->testCompanyAddress2->text()));
}

void DialogCertificateGenerator::testCompanyAddress3Changed()
{
    setPreviewValue(F::TestCompanyAddress3, CertificateFill::escape(ui->testCompanyAddress3->text()));
}

void DialogCertificateGenerator::testCompanyPostCodeChanged()
{
    setPreviewValue(F::TestCompanyPostCode, CertificateFill::escape(ui->testCompanyPostCode->text()));
}

void DialogCertificateGenerator::testCompanyLogoChanged()
{
    setPreviewValue(F::TestCompanyLogo, CertificateFill::escape(CertificateFill::imageOrBlank(ui->testCompanyLogo->text())));
}

void DialogCertificateGenerator::clientDetailsNameChanged()
{
    setPreviewValue(F::ClientDetailsName, CertificateFill::escape(ui->clientDetailsName->text()));
}

void DialogCertificateGenerator::clientDetailsAddress1Changed()
{
    setPreviewValue(F::ClientDetailsAddress1, CertificateFill::escape(ui->clientDetailsAddress1->text()));
}

void DialogCertificateGenerator::clientDetailsAddress2Changed()
{
    setPreviewValue(F::ClientDetailsAddress2, CertificateFill::escape(ui->clientDetailsAddress2->text()));
}

void DialogCertificateGenerator::clientDetailsAddress3Changed()
{
    setPreviewValue(F::ClientDetailsAddress3, CertificateFill::escape(ui->clientDetailsAddress3->text()));
}

void DialogCertificateGenerator::clientDetailsPostCodeChanged()
{
    setPreviewValue(F::ClientDetailsPostCode, CertificateFill::escape(ui->clientDetailsPostCode->text()));
}

void DialogCertificateGenerator::signatureImageChanged()
{
    setPreviewValue(F::TesterSignatureImage,
                    CertificateFill::escape(CertificateFill::imageOrBlank(ui->signatureImage->text())));
}

void DialogCertificateGenerator::testDateFormatChanged()
{
    setPreviewValue(F::TestDate, CertificateFill::escape(m_testDate.toString(ui->testDateFormat->text())));
}

void DialogCertificateGenerator::retestDateFormatChanged()
{
    setPreviewValue(F::RetestDate, CertificateFill::escape(m_retestDate.toString(ui->retestDateFormat->text())));
}

void DialogCertificateGenerator::todaysDateFormatChanged()
{
    setPreviewValue(F::TesterSignatureDate, CertificateFill::escape(m_today.toString(ui->todaysDateFormat->text())));
}

void DialogCertificateGenerator::redrawPreview()
{
    if (!m_dirty)
        return;
    m_dirty = false;
    m_redrawTimer.stop();
    m_previewHtml = m_previewTemplate.render();
    m_printer->setHtml(m_previewHtml);
    m_preview->updatePreview();
}

void DialogCertificateGenerator::zoomIn()
{
    m_preview->zoomIn(1.2);
}

void DialogCertificateGenerator::zoomOut()
{
    m_preview->zoomOut(1.2);
}

void DialogCertificateGenerator::fitInView()
{
    m_preview->fitInView();
}

void DialogCertificateGenerator::print()
{
    if (m_assetIds.isEmpty())
        return;
    redrawPreview();
    m_printer->print();
}

void DialogCertificateGenerator::pageSetup()
{
    m_printer->printer()->setOutputFormat(QPrinter::NativeFormat);
    QPageSetupDialog dialog(m_printer->printer(), this);
    if (dialog.exec() == QDialog::Accepted)
        m_preview->updatePreview();
}

void DialogCertificateGenerator::showDataFormatsHelp()
{
    QMessageBox box(QMessageBox::Information, tr("Date Formats Explained", "Date format help window title"),
                    tr("d   \tThe day as a number without a leading zero (1 to 31)\n"
                       "dd  \tThe day as a number with a leading zero (01 to 31)\n"
                       "ddd \tThe abbreviated localized day name (e.g. 'Mon' to 'Sun')\n"
                       "dddd\tThe long localized day name (e.g. 'Monday' to 'Sunday')\n"
                       "M   \tThe month as a number without a leading zero (1 to 12)\n"
                       "MM  \tThe month as a number with a leading zero (01 to 12)\n"
                       "MMM \tThe abbreviated localized month name (e.g. 'Jan' to 'Dec')\n"
                       "MMMM\tThe long localized month name (e.g. 'January' to 'December')\n"
                       "yy  \tThe year as a two digit number (00 to 99)\n"
                       "yyyy\tThe year as a four digit number",
                       "Explaination of date format"),
                    QMessageBox::Ok, this);
    box.exec();
}

void DialogCertificateGenerator::browseLogo()
{
    const QString chosen = QFileDialog::getOpenFileName(this, tr("Select Logo Image", "Title in open logo dialog"),
                                                        m_lastLogoPath,
                                                        tr("Images (*.jpg *.jpeg *.png *.bmp)", "Describes image types supported"));
    if (chosen.isEmpty())
        return;
    m_lastLogoPath = chosen;
    ui->testCompanyLogo->setText(chosen);
    testCompanyLogoChanged();
}

void DialogCertificateGenerator::browseSignature()
{
    const QString chosen = QFileDialog::getOpenFileName(this, tr("Select Signature Image", "Title in open signature dialog"),
                                                        m_lastSignaturePath,
                                                        tr("Images (*.jpg *.jpeg *.png *.bmp)", "Describes image types supported"));
    if (chosen.isEmpty())
        return;
    m_lastSignaturePath = chosen;
    ui->signatureImage->setText(chosen);
    signatureImageChanged();
}

void DialogCertificateGenerator::save()
{
    if (m_assetIds.isEmpty() || m_progress)
        return;
    DialogSaveCertificate dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_progress = new DialogProgress(QStringLiteral("Generating Certificates..."), this);
    m_progress->setModal(true);
    m_progress->show();
    connect(m_progress.data(), &DialogProgress::progressAbortRequest, this, &DialogCertificateGenerator::abortSave);
    QTimer::singleShot(kSaveStepMs, this, &DialogCertificateGenerator::saveNextCertificate);
    m_nextIndex = 0;
    m_pathPattern = dialog.fullPath();
    m_runTemplateUrl = ui->templateFolder->currentData().toUrl();
    m_pdf = dialog.fileType() == 0;
    m_unwritten.clear();
    m_images = CertificateImageCopier();
}

QString DialogCertificateGenerator::uniqueFileName(const QString& basePath) const
{
    const QString extension = m_pdf ? QStringLiteral(".pdf") : QStringLiteral(".html");
    QString name = basePath + extension;
    for (int counter = 2; QFileInfo::exists(name); ++counter)
        name = QStringLiteral("%1 (%2)%3").arg(basePath).arg(counter).arg(extension);
    return name;
}

bool DialogCertificateGenerator::writeCertificate(CertificateTemplate& certificate, const QString& fileName)
{
    if (m_pdf) {
        m_printer->setHtml(certificate.render());
        const bool written = m_printer->printToPdf(fileName);
        if (!written)
            QFile::remove(fileName);
        return written;
    }
    // Written beside its place and renamed only when whole.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = m_images.relocate(certificate.render(), fileName).toUtf8();
    if (file.write(bytes) != bytes.size())
        file.cancelWriting();
    return file.commit();
}

void DialogCertificateGenerator::saveNextCertificate()
{
    if (!m_progress || m_nextIndex >= m_assetIds.size())
        return;
    const int assetId = m_assetIds.at(m_nextIndex);
    CertificateTemplate certificate;
    certificate.load(m_runTemplateUrl);
    // A certificate is never written with what could not be read.
    QString basePath;
    QString why;
    if (!DatabaseAction::attempt(
            [&] {
                fillTemplate(certificate, assetId);
                basePath = MacroMarker::expand(m_pathPattern, assetId, m_nextIndex);
            },
            &why)) {
        DatabaseAction::tell(this,
                             tr("%n certificate(s) not saved.", "the rest of a save run, from the one that could not "
                                                                "be read", int(m_assetIds.size() - m_nextIndex)),
                             why);
        finishSave();
        return;
    }

    const qsizetype slash = basePath.lastIndexOf(QLatin1Char('/'));
    if (slash > 0)
        QDir().mkpath(basePath.left(slash));
    const QString fileName = uniqueFileName(basePath);
    if (!writeCertificate(certificate, fileName))
        m_unwritten.append(QDir::toNativeSeparators(fileName));

    ++m_nextIndex;
    m_progress->updateProgress(float(m_nextIndex) / float(m_assetIds.size()));
    if (m_nextIndex >= m_assetIds.size()) {
        finishSave();
        return;
    }
    QTimer::singleShot(kSaveStepMs, this, &DialogCertificateGenerator::saveNextCertificate);
}

void DialogCertificateGenerator::finishSave()
{
    if (m_progress) {
        m_progress->abort();
        m_progress->deleteLater();
        m_progress = nullptr;
    }
    // The printer serves the preview and Print again, laid out once now
    // rather than after every certificate of the run.
    if (m_pdf)
        m_printer->setHtml(m_previewHtml);
    // The dates of the preview's asset, not of the last certificate saved.
    if (!m_assetIds.isEmpty()) {
        CertificateTemplate scratch;
        fillTemplate(scratch, m_assetIds.first());
    }
    reportSaveProblems();
}

void DialogCertificateGenerator::abortSave()
{
    finishSave();
}

void DialogCertificateGenerator::reportSaveProblems()
{
    QStringList parts;
    if (!m_unwritten.isEmpty())
        parts << tr("These certificates could not be written:\n%1", "Listed after a save run")
                     .arg(m_unwritten.join(QLatin1Char('\n')));
    const QStringList images = m_images.unresolved();
    if (!images.isEmpty())
        parts << tr("These images could not be found and were not copied beside the certificates:\n%1",
                    "Listed after a save run of HTML certificates")
                     .arg(images.join(QLatin1Char('\n')));
    const QStringList uncopied = m_images.uncopied();
    if (!uncopied.isEmpty())
        parts << tr("These images could not be copied beside the certificates:\n%1",
                    "Listed after a save run of HTML certificates")
                     .arg(uncopied.join(QLatin1Char('\n')));
    m_unwritten.clear();
    m_images = CertificateImageCopier();
    if (parts.isEmpty())
        return;
    QMessageBox box(QMessageBox::Warning, windowTitle(), parts.join(QStringLiteral("\n\n")), QMessageBox::Ok, this);
    box.exec();
}
