#include "certificates/CertificateImageCopier.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <QUrl>
#include <algorithm>

namespace {

QString unescapeAttribute(const QString& value)
{
    if (!value.contains(QLatin1Char('&')))
        return value;
    return QTextDocumentFragment::fromHtml(value).toPlainText();
}

} // namespace

namespace {

QStringList sorted(const QSet<QString>& sources)
{
    QStringList list(sources.begin(), sources.end());
    std::sort(list.begin(), list.end());
    return list;
}

} // namespace

QStringList CertificateImageCopier::unresolved() const
{
    return sorted(m_unresolved);
}

QStringList CertificateImageCopier::uncopied() const
{
    return sorted(m_uncopied);
}

QString CertificateImageCopier::copyOf(const QString& source, const QString& imagesFolder)
{
    if (source.startsWith(QStringLiteral("data:"), Qt::CaseInsensitive))
        return QString(); // the picture is inside the page already

    QString path = source;
    const QUrl url(source);
    // A one-letter scheme is a drive letter, not a scheme.
    if (url.scheme().size() > 1) {
        if (!url.isLocalFile()) {
            m_unresolved.insert(source);
            return QString();
        }
        path = url.toLocalFile();
    }
    const QFileInfo file(path);
    if (path.isEmpty() || !file.isFile()) {
        m_unresolved.insert(source);
        return QString();
    }
    if (!QDir().mkpath(imagesFolder)) {
        m_uncopied.insert(source);
        return QString();
    }
    const QString target = imagesFolder + file.fileName();
    // A picture of the same name copied before (for an earlier certificate,
    // or from another folder) is kept and shared.
    if (!QFileInfo::exists(target) && !QFile::copy(file.absoluteFilePath(), target)) {
        QFile::remove(target);
        m_uncopied.insert(source);
        return QString();
    }
    return QFileInfo(target).absoluteFilePath();
}

QString CertificateImageCopier::relocate(const QString& html, const QString& outputPath)
{
    const QString absoluteOutput = QFileInfo(outputPath).absoluteFilePath();
    const QString imagesFolder = absoluteOutput.left(absoluteOutput.lastIndexOf(QLatin1Char('/')) + 1)
                                 + QStringLiteral("images/");

    static const QRegularExpression imgTag(QStringLiteral("<img\\b[^>]*>"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression srcAttribute(
        QStringLiteral("(\\s)src\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s\"'>]+))"),
        QRegularExpression::CaseInsensitiveOption);

    QString out;
    qsizetype from = 0;
    auto tags = imgTag.globalMatch(html);
    while (tags.hasNext()) {
        const QRegularExpressionMatch tag = tags.next();
        out += html.mid(from, tag.capturedStart() - from);
        from = tag.capturedEnd();
        QString text = tag.captured(0);
        const QRegularExpressionMatch src = srcAttribute.match(text);
        if (!src.hasMatch()) {
            out += text;
            continue;
        }
        int group = 2;
        while (group < 4 && src.capturedStart(group) < 0)
            ++group;
        const QString source = unescapeAttribute(src.captured(group));
        const QString copy = copyOf(source, imagesFolder);
        if (!copy.isEmpty()) {
            const QString value = QUrl::fromLocalFile(copy).toString(QUrl::FullyEncoded).toHtmlEscaped();
            const QString quote = group == 3 ? QStringLiteral("'") : QStringLiteral("\"");
            text.replace(src.capturedStart(0), src.capturedLength(0),
                         src.captured(1) + QStringLiteral("src=") + quote + value + quote);
        }
        out += text;
    }
    out += html.mid(from);
    return out;
}
