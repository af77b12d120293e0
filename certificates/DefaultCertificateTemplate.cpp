#include "certificates/DefaultCertificateTemplate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

static void initCertificateResources()
{
    // The resource lives in a static library, whose initialiser nobody
    // would otherwise reference.
    Q_INIT_RESOURCE(certificatetemplates);
}

QByteArray DefaultCertificateTemplate::text()
{
    initCertificateResources();
    QFile file(QStringLiteral(":/certificates/templates/%1/template.html").arg(folderName()));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

bool DefaultCertificateTemplate::installIfEmpty(const QString& templatesFolder)
{
    const QDir folder(templatesFolder);
    const QFileInfoList entries = folder.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        if (QFileInfo(entry.absoluteFilePath() + QStringLiteral("/template.html")).isFile())
            return false;
    }
    const QByteArray bytes = text();
    const QString target = QStringLiteral("%1/%2").arg(templatesFolder, folderName());
    if (bytes.isEmpty() || !QDir().mkpath(target))
        return false;
    // Written rather than copied: a copy of a resource would be read-only,
    // and users edit their templates.
    QSaveFile file(target + QStringLiteral("/template.html"));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(bytes);
    return file.commit();
}
