#include "certificates/HtmlPrinter.h"

#include <QAbstractTextDocumentLayout>
#include <QDate>
#include <QFile>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextFrame>
#include <QWidget>
#include <cstdio>

namespace {
const double kInchPerMm = 0.039370147;

// The PDF writer does not report failed writes. A whole file ends with the
// offset of its cross-reference table and "%%EOF"; a file cut short by a full
// disk lacks that end, or names a table it does not hold.
bool isWholePdf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = file.size();
    const qint64 tailSize = qMin<qint64>(size, 1024);
    if (!file.seek(size - tailSize))
        return false;
    const QByteArray tail = file.read(tailSize).trimmed();
    const qsizetype at = tail.lastIndexOf("startxref");
    if (!tail.endsWith("%%EOF") || at < 0)
        return false;
    const qsizetype from = at + qsizetype(sizeof("startxref")) - 1;
    bool ok = false;
    const qint64 offset = tail.mid(from, tail.size() - 5 - from).trimmed().toLongLong(&ok);
    return ok && offset > 0 && offset < size && file.seek(offset) && file.read(4) == "xref";
}
} // namespace

HtmlPrinter::HtmlPrinter(QObject* parent)
    : QObject(parent), m_parentWidget(qobject_cast<QWidget*>(parent)),
      m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    m_printer->setFullPage(true);
    m_printer->setPageOrientation(QPageLayout::Portrait);
    m_printer->setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    m_printer->setPageSize(QPageSize(usesLetter(QLocale::system().territory()) ? QPageSize::Letter
                                                                                 : QPageSize::A4));
}

HtmlPrinter::~HtmlPrinter() = default;

bool HtmlPrinter::usesLetter(int territory)
{
    switch (territory) {
    case QLocale::AnyTerritory:
    case QLocale::Canada:
    case QLocale::UnitedStates:
    case QLocale::UnitedStatesOutlyingIslands:
        return true;
    default:
        return false;
    }
}

void HtmlPrinter::setHtml(const QString& html)
{
    // Set up for our own printer first, so that the text is laid out once,
    // as it goes in, for the page that previews, prints and PDFs use.
    prepareLayout(m_printer.get());
    m_document.setHtml(html);
}

// Every change of these lays the whole document out again: each is made
// only when it changes something.
void HtmlPrinter::prepareLayout(QPaintDevice* device)
{
    if (!m_document.useDesignMetrics())
        m_document.setUseDesignMetrics(true);
    // The root frame's margin, which every document made by setHtml takes.
    if (m_document.documentMargin() != 0.0)
        m_document.setDocumentMargin(0.0);
    QAbstractTextDocumentLayout* layout = m_document.documentLayout();
    const bool newDevice = layout->paintDevice() != device;
    if (newDevice)
        layout->setPaintDevice(device);
    const QSizeF size = bodyRect(device).size();
    if (newDevice || m_document.pageSize() != size)
        m_document.setPageSize(size);
}

void HtmlPrinter::setHeaderHeight(double mm)
{
    const double limit = m_printer->pageLayout().fullRect(QPageLayout::Millimeter).height() / 8.0;
    m_headerHeight = (mm > 0.0 && mm <= limit) ? mm : 0.0;
}

void HtmlPrinter::setFooterHeight(double mm)
{
    const double limit = m_printer->pageLayout().fullRect(QPageLayout::Millimeter).height() / 8.0;
    m_footerHeight = (mm > 0.0 && mm <= limit) ? mm : 0.0;
}

double HtmlPrinter::mmX(const QPaintDevice* device, double mm) const
{
    return mm * kInchPerMm * device->logicalDpiX();
}

double HtmlPrinter::mmY(const QPaintDevice* device, double mm) const
{
    return mm * kInchPerMm * device->logicalDpiY();
}

double HtmlPrinter::pointsY(const QPaintDevice* device, double points) const
{
    return points * device->logicalDpiY() / 72.0;
}

// The paper of our own printer in the units of the device painted on, so
// that a preview shows the page the printer will print. With a full-page
// printer the painter's origin is the paper's corner, so the margins are
// applied once, by the rectangles below.
QRectF HtmlPrinter::pageRect(const QPaintDevice* device) const
{
    const QRectF paper = m_printer->paperRect(QPrinter::DevicePixel);
    return QRectF(0, 0, paper.width() * device->logicalDpiX() / m_printer->logicalDpiX(),
                  paper.height() * device->logicalDpiY() / m_printer->logicalDpiY());
}

QRectF HtmlPrinter::headerRect(const QPaintDevice* device) const
{
    QRectF r = pageRect(device).adjusted(mmX(device, m_margins.left()), mmY(device, m_margins.top()),
                                         -mmX(device, m_margins.right()), 0);
    r.setBottom(r.top() + mmY(device, m_headerHeight));
    return r;
}

QRectF HtmlPrinter::footerRect(const QPaintDevice* device) const
{
    QRectF r = pageRect(device).adjusted(mmX(device, m_margins.left()), 0, -mmX(device, m_margins.right()),
                                         -mmY(device, m_margins.bottom()));
    r.setTop(r.bottom() - mmY(device, m_footerHeight));
    return r;
}

QRectF HtmlPrinter::bodyRect(const QPaintDevice* device) const
{
    QRectF r = pageRect(device).adjusted(mmX(device, m_margins.left()), mmY(device, m_margins.top()),
                                         -mmX(device, m_margins.right()), -mmY(device, m_margins.bottom()));
    if (m_headerHeight > 0)
        r.setTop(r.top() + mmY(device, m_headerHeight + m_spacing));
    if (m_footerHeight > 0)
        r.setBottom(r.bottom() - mmY(device, m_footerHeight + m_spacing));
    return r;
}

QString HtmlPrinter::pageText(const QString& html, int page) const
{
    const QDate today = QDate::currentDate();
    const QString date = m_dateFormat.isEmpty() ? QLocale().toString(today, QLocale::ShortFormat)
                                                : QLocale().toString(today, m_dateFormat);
    QString text = html;
    text.replace(QStringLiteral("&page;"), QString::number(page));
    text.replace(QStringLiteral("&date;"), date);
    return text;
}

bool HtmlPrinter::print()
{
    m_printer->setOutputFormat(QPrinter::NativeFormat);
    m_printer->setOutputFileName(QString());
    QPrintDialog dialog(m_printer.get(), m_parentWidget);
    dialog.setWindowTitle(tr("Print Document"));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    return print(m_printer.get());
}

bool HtmlPrinter::printToPdf(const QString& fileName)
{
    if (fileName.isEmpty())
        return false;
    // Written beside its place and moved there only when whole, so that no
    // file cut short ever carries the name.
    const QString partial = fileName + QStringLiteral(".part");
    m_printer->setOutputFormat(QPrinter::PdfFormat);
    m_printer->setOutputFileName(partial);
    const bool printed = print(m_printer.get());
    // Later prints and previews must not write over this file.
    m_printer->setOutputFileName(QString());
    m_printer->setOutputFormat(QPrinter::NativeFormat);
    if (printed && isWholePdf(partial)
        && std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(fileName).constData()) == 0)
        return true;
    QFile::remove(partial);
    return false;
}

bool HtmlPrinter::print(QPrinter* target)
{
    if (!target)
        return false;
    if (target != m_printer.get()) {
        target->setFullPage(true);
        target->setPageSize(m_printer->pageLayout().pageSize());
        target->setPageOrientation(m_printer->pageLayout().orientation());
        target->setPageMargins(m_printer->pageLayout().margins(QPageLayout::Millimeter), QPageLayout::Millimeter);
    }

    prepareLayout(target);

    int documentCopies = 1;
    int pageCopies = 1;
    if (target->collateCopies())
        documentCopies = target->copyCount();
    else
        pageCopies = target->copyCount();

    int from = target->fromPage();
    int to = target->toPage();
    if (from == 0 && to == 0) {
        from = 1;
        to = m_document.pageCount();
    }
    QList<int> pages;
    for (int page = from; page <= to; ++page)
        pages.append(page);
    if (target->pageOrder() == QPrinter::LastPageFirst)
        std::reverse(pages.begin(), pages.end());

    QPainter painter;
    if (!painter.begin(target))
        return false;
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    bool first = true;
    for (int copy = 0; copy < documentCopies; ++copy) {
        for (int page : pages) {
            for (int pageCopy = 0; pageCopy < pageCopies; ++pageCopy) {
                if (target->printerState() == QPrinter::Aborted || target->printerState() == QPrinter::Error) {
                    painter.end();
                    return false;
                }
                if (!first)
                    target->newPage();
                first = false;
                paintPage(painter, target, page);
            }
        }
    }
    const bool ok = painter.end();
    return ok && target->printerState() != QPrinter::Error && target->printerState() != QPrinter::Aborted;
}

void HtmlPrinter::paintBand(QPainter& painter, QPrinter* target, const QString& html, const QRectF& rect,
                            bool alignBottom)
{
    QTextDocument band;
    band.setUseDesignMetrics(true);
    band.documentLayout()->setPaintDevice(target);
    band.setHtml(html);
    band.setPageSize(rect.size());
    QTextFrameFormat rootFormat = band.rootFrame()->frameFormat();
    rootFormat.setMargin(0);
    band.rootFrame()->setFrameFormat(rootFormat);
    const double textHeight = band.documentLayout()->documentSize().height();
    painter.save();
    if (alignBottom) {
        painter.translate(rect.left(), rect.top() + rect.height() - textHeight);
        band.drawContents(&painter, QRectF(0, 0, rect.width(), textHeight));
    } else {
        painter.translate(rect.topLeft());
        band.drawContents(&painter, QRectF(0, 0, rect.width(), rect.height()));
    }
    painter.restore();
}

void HtmlPrinter::paintPage(QPainter& painter, QPrinter* target, int page)
{
    if (m_headerHeight > 0) {
        const QRectF rect = headerRect(target);
        if (m_headerRuleWidth > 0) {
            const double width = pointsY(target, m_headerRuleWidth);
            const double y = rect.bottom() + pointsY(target, 1 + m_headerRuleWidth / 2);
            painter.setPen(QPen(Qt::black, width, Qt::SolidLine));
            painter.drawLine(QPointF(rect.left(), y), QPointF(rect.right(), y));
        }
        paintBand(painter, target, pageText(m_headerHtml, page), rect, true);
    }
    if (m_footerHeight > 0) {
        const QRectF rect = footerRect(target);
        if (m_footerRuleWidth > 0) {
            const double width = pointsY(target, m_footerRuleWidth);
            const double y = rect.top() - pointsY(target, 1 + m_footerRuleWidth / 2);
            painter.setPen(QPen(Qt::black, width, Qt::SolidLine));
            painter.drawLine(QPointF(rect.left(), y), QPointF(rect.right(), y));
        }
        paintBand(painter, target, pageText(m_footerHtml, page), rect, false);
    }
    const QRectF body = bodyRect(target);
    painter.save();
    painter.translate(body.left(), body.top() - (page - 1) * body.height());
    m_document.drawContents(&painter, QRectF(0, (page - 1) * body.height(), body.width(), body.height()));
    painter.restore();
}
