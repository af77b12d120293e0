#pragma once

#include <QMarginsF>
#include <QObject>
#include <QRectF>
#include <QString>
#include <QTextDocument>
#include <memory>

class QPaintDevice;
class QPainter;
class QPrinter;
class QWidget;

// Lays one HTML document out on printed pages with an optional HTML header
// and footer on every page, in which "&page;" and "&date;" stand for the page
// number and today's date, and sends it to a printer, a PDF file or a print
// preview.
class HtmlPrinter : public QObject
{
    Q_OBJECT
public:
    explicit HtmlPrinter(QObject* parent = nullptr);
    ~HtmlPrinter() override;

    QPrinter* printer() const { return m_printer.get(); }
    const QTextDocument* document() const { return &m_document; }

    void setHtml(const QString& html);
    // Heights in millimetres; a header or footer taller than an eighth of
    // the paper, or not above 0, is dropped (stored as 0).
    void setHeaderHeight(double mm);
    void setFooterHeight(double mm);
    double headerHeight() const { return m_headerHeight; }
    double footerHeight() const { return m_footerHeight; }
    void setHeaderHtml(const QString& html) { m_headerHtml = html; }
    void setFooterHtml(const QString& html) { m_footerHtml = html; }
    QString footerHtml() const { return m_footerHtml; }
    // Empty: the locale's short date format.
    void setDateFormat(const QString& format) { m_dateFormat = format; }

    // The paper the system locale uses: Letter in North America (and for a
    // locale without a country), A4 elsewhere.
    static bool usesLetter(int territory);

    // The header or footer text of page n, with its placeholders filled.
    QString pageText(const QString& html, int page) const;

    // With a print dialog; false when it was cancelled or printing failed.
    bool print();
    // False when the file could not be written whole, and then no file is
    // left; an empty name does nothing.
    bool printToPdf(const QString& fileName);

public slots:
    // Paints the requested pages on target; print previews call it.
    bool print(QPrinter* target);

private:
    void prepareLayout(QPaintDevice* device);
    QRectF pageRect(const QPaintDevice* device) const;
    QRectF headerRect(const QPaintDevice* device) const;
    QRectF footerRect(const QPaintDevice* device) const;
    QRectF bodyRect(const QPaintDevice* device) const;
    double mmX(const QPaintDevice* device, double mm) const;
    double mmY(const QPaintDevice* device, double mm) const;
    double pointsY(const QPaintDevice* device, double points) const;
    void paintPage(QPainter& painter, QPrinter* target, int page);
    void paintBand(QPainter& painter, QPrinter* target, const QString& html, const QRectF& rect, bool alignBottom);

    QWidget* m_parentWidget = nullptr;
    std::unique_ptr<QPrinter> m_printer;
    QTextDocument m_document;
    QMarginsF m_margins{10.0, 10.0, 10.0, 10.0};
    double m_spacing = 5.0;
    double m_headerHeight = 0.0;
    double m_headerRuleWidth = 0.5;
    QString m_headerHtml;
    double m_footerHeight = 0.0;
    double m_footerRuleWidth = 0.5;
    QString m_footerHtml;
    QString m_dateFormat;
};
