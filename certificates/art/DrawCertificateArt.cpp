// Draws the two pictures that certificates use beside the program:
//   pelvane_drawcertificateart <output folder>
// writes <folder>/blank.png, shown where no logo or signature was chosen,
// and <folder>/tavisk.jpg, the maker's mark in every page footer.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <cstdio>

namespace {

const QColor kBlue(52, 101, 164);
const QColor kLightBlue(114, 159, 207);
const QColor kInk(32, 74, 135);

QImage blank()
{
    // Wide rather than square: it stands in for logos, which mostly are.
    QImage image(120, 40, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

QImage footerMark()
{
    const int h = 60;
    const int w = 240;
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // The same tile with a tester trace as the window icon.
    const QRectF tile(4, 4, h - 8, h - 8);
    QLinearGradient g(tile.topLeft(), tile.bottomLeft());
    g.setColorAt(0, kLightBlue);
    g.setColorAt(1, kBlue.darker(130));
    p.setPen(QPen(kBlue.darker(140), 1.5));
    p.setBrush(g);
    p.drawRoundedRect(tile, 9, 9);
    const qreal s = tile.width() / 32.0;
    p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPolygonF trace;
    for (const QPointF& pt : {QPointF(3, 17), QPointF(9, 17), QPointF(12, 8), QPointF(16, 24), QPointF(19, 13),
                              QPointF(21, 17), QPointF(29, 17)})
        trace << tile.topLeft() + pt * s;
    p.drawPolyline(trace);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(34);
    font.setBold(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    p.setFont(font);
    p.setPen(kInk);
    p.drawText(QRectF(h + 6, 0, w - h - 6, h), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("TAVISK"));
    return image;
}

bool save(const QImage& image, const QString& path, const char* format, int quality)
{
    if (image.save(path, format, quality))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    bool ok = save(blank(), out + QStringLiteral("/blank.png"), "PNG", -1);
    ok &= save(footerMark(), out + QStringLiteral("/tavisk.jpg"), "JPG", 92);
    return ok ? 0 : 1;
}
