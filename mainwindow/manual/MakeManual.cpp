// Turns the user manual's Markdown source into the PDF that ships beside the
// program: make_manual <source.md> <folder with the drawn icons> <output.pdf>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextStream>
#include <QUrl>
#include <cstdio>

namespace {

// Headings in the program's blue, body text in a plain sans-serif face.
void styleDocument(QTextDocument& document)
{
    QFont body(QStringLiteral("DejaVu Sans"));
    body.setPointSizeF(10.5);
    document.setDefaultFont(body);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        // Icons stand in the line at the height of the text around them.
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat image = fragment.charFormat().toImageFormat();
            image.setWidth(15);
            image.setHeight(15);
            image.setVerticalAlignment(QTextCharFormat::AlignMiddle);
            QTextCursor cursor(&document);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(image);
        }
        const int level = block.blockFormat().headingLevel();
        if (level == 0)
            continue;
        QTextCursor cursor(block);
        QTextBlockFormat format = block.blockFormat();
        format.setTopMargin(level == 1 ? 0 : 14);
        format.setBottomMargin(6);
        cursor.setBlockFormat(format);
        cursor.select(QTextCursor::BlockUnderCursor);
        QTextCharFormat chars;
        chars.setForeground(QColor(0x1f, 0x4e, 0x8c));
        chars.setFontPointSize(level == 1 ? 22 : level == 2 ? 15 : 12);
        chars.setFontWeight(QFont::Bold);
        cursor.mergeCharFormat(chars);
    }
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <source.md> <art folder> <output.pdf>\n", argv[0]);
        return 2;
    }
    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const QString markdown = QString::fromUtf8(source.readAll());

    QTextDocument document;
    document.setMarkdown(markdown);
    // Pictures named "icons/x.png" are the icons drawn for the program. They
    // go in after the text: setting the text drops every resource.
    const QDir art(QString::fromLocal8Bit(argv[2]));
    for (const QString& name : art.entryList({QStringLiteral("*.png")}, QDir::Files)) {
        QImage icon(art.filePath(name));
        if (!icon.isNull())
            document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("icons/") + name), icon);
    }
    styleDocument(document);

    QPdfWriter writer(QString::fromLocal8Bit(argv[3]));
    writer.setTitle(QStringLiteral("Tavisk Pelvane User Manual"));
    writer.setCreator(QStringLiteral("Tavisk Pelvane"));
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 18, 20, 18),
                                     QPageLayout::Millimeter));
    document.print(&writer);
    if (!QFileInfo::exists(QString::fromLocal8Bit(argv[3]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
