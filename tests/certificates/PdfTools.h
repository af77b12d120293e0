#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

// poppler's command-line tools, to read back what a test printed to PDF.
namespace PdfTools {

inline QString run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(30000))
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline int pageCount(const QString& pdf)
{
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(run(QStringLiteral("pdfinfo"), {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// "595.28 x 841.89" for A4, "612 x 792" for Letter.
inline QString pageSize(const QString& pdf)
{
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+ x [\\d.]+) pts"))
                                          .match(run(QStringLiteral("pdfinfo"), {pdf}));
    return m.hasMatch() ? m.captured(1) : QString();
}

// The text of one page (from 1), or of every page when page is 0.
inline QString text(const QString& pdf, int page = 0)
{
    QStringList args{QStringLiteral("-layout")};
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l") << QString::number(page);
    args << pdf << QStringLiteral("-");
    return run(QStringLiteral("pdftotext"), args);
}

// The top edge, in points from the top of its page, of the first word equal
// to word on the first page; -1 when there is none.
inline double wordTop(const QString& pdf, const QString& word)
{
    const QString xhtml = run(QStringLiteral("pdftotext"),
                              {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                               QStringLiteral("1"), pdf, QStringLiteral("-")});
    const QRegularExpression re(QStringLiteral("<word xMin=\"[\\d.]+\" yMin=\"([\\d.]+)\"[^>]*>%1</word>")
                                    .arg(QRegularExpression::escape(word)));
    const QRegularExpressionMatch m = re.match(xhtml);
    return m.hasMatch() ? m.captured(1).toDouble() : -1.0;
}

} // namespace PdfTools
