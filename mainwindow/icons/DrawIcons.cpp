// Draws the program's icons, splash picture and window icon with plain
// shapes, so that every image the program shows is our own. Run by the build:
//   pelvane_drawicons <output folder>
// writes <folder>/icons/*.png, icons/tavisk.ico, images/splash.jpg and the
// programs' menu icons hicolor/<size>x<size>/apps/{pelvane,portwell}.png.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>
#include <functional>
#include <map>

namespace {

const QColor kInk(40, 48, 60);
const QColor kBlue(52, 101, 164);
const QColor kLightBlue(114, 159, 207);
const QColor kGreen(78, 154, 6);
const QColor kRed(204, 0, 0);
const QColor kYellow(237, 212, 0);
const QColor kOrange(245, 121, 0);
const QColor kGrey(136, 138, 133);
const QColor kPaper(250, 250, 245);
const QColor kBrown(143, 89, 2);

// Everything is drawn on a 32 x 32 grid and scaled to the icon's size.
using Drawing = std::function<void(QPainter&)>;

QPen pen(const QColor& colour, qreal width = 1.5)
{
    return QPen(colour.darker(140), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void cylinder(QPainter& p, const QRectF& r, const QColor& colour)
{
    const qreal capH = r.height() * 0.28;
    QPainterPath body;
    body.moveTo(r.left(), r.top() + capH / 2);
    body.lineTo(r.left(), r.bottom() - capH / 2);
    body.arcTo(QRectF(r.left(), r.bottom() - capH, r.width(), capH), 180, 180);
    body.lineTo(r.right(), r.top() + capH / 2);
    body.arcTo(QRectF(r.left(), r.top(), r.width(), capH), 0, -180);
    QLinearGradient g(r.topLeft(), r.topRight());
    g.setColorAt(0, colour.darker(115));
    g.setColorAt(0.4, colour.lighter(130));
    g.setColorAt(1, colour.darker(125));
    p.setPen(pen(colour));
    p.setBrush(g);
    p.drawPath(body);
    p.setBrush(colour.lighter(150));
    p.drawEllipse(QRectF(r.left(), r.top(), r.width(), capH));
    p.setBrush(Qt::NoBrush);
    for (int band = 1; band <= 2; ++band) {
        const qreal y = r.top() + capH / 2 + band * (r.height() - capH) / 3;
        p.drawArc(QRectF(r.left(), y - capH / 2, r.width(), capH), 180 * 16, 180 * 16);
    }
}

void database(QPainter& p)
{
    cylinder(p, QRectF(6, 3, 20, 26), kLightBlue);
}

void badgePlus(QPainter& p, const QPointF& c, qreal r, const QColor& colour)
{
    p.setPen(pen(colour, 1));
    p.setBrush(colour);
    p.drawEllipse(c, r, r);
    p.setPen(QPen(Qt::white, r * 0.45, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(c.x() - r * 0.55, c.y()), QPointF(c.x() + r * 0.55, c.y()));
    p.drawLine(QPointF(c.x(), c.y() - r * 0.55), QPointF(c.x(), c.y() + r * 0.55));
}

void badgeCross(QPainter& p, const QPointF& c, qreal r)
{
    p.setPen(pen(kRed, 1));
    p.setBrush(kRed);
    p.drawEllipse(c, r, r);
    p.setPen(QPen(Qt::white, r * 0.4, Qt::SolidLine, Qt::RoundCap));
    const qreal d = r * 0.45;
    p.drawLine(QPointF(c.x() - d, c.y() - d), QPointF(c.x() + d, c.y() + d));
    p.drawLine(QPointF(c.x() + d, c.y() - d), QPointF(c.x() - d, c.y() + d));
}

void arrow(QPainter& p, const QPointF& from, const QPointF& to, const QColor& colour, qreal width)
{
    QLineF line(from, to);
    const qreal head = width * 2.2;
    QLineF back(to, from);
    back.setLength(head);
    const QPointF base = back.p2();
    QLineF normal = back.normalVector();
    normal.setLength(head * 0.9);
    const QPointF side = normal.p2() - normal.p1();
    QPainterPath path;
    QLineF shaft(from, base);
    QLineF sn = shaft.normalVector();
    sn.setLength(width / 2);
    const QPointF half = sn.p2() - sn.p1();
    path.moveTo(from + half);
    path.lineTo(base + half);
    path.lineTo(base + side);
    path.lineTo(to);
    path.lineTo(base - side);
    path.lineTo(base - half);
    path.lineTo(from - half);
    path.closeSubpath();
    p.setPen(pen(colour, 1.2));
    p.setBrush(colour);
    p.drawPath(path);
}

void page(QPainter& p, const QRectF& r)
{
    QPainterPath path;
    const qreal fold = r.width() * 0.3;
    path.moveTo(r.topLeft());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.bottomRight());
    path.lineTo(r.bottomLeft());
    path.closeSubpath();
    p.setPen(pen(kGrey));
    p.setBrush(kPaper);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
    p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
    p.setPen(QPen(kGrey.lighter(120), 1));
    for (qreal y = r.top() + fold + 3; y < r.bottom() - 3; y += 3.5)
        p.drawLine(QPointF(r.left() + 3, y), QPointF(r.right() - 3, y));
}

void folder(QPainter& p, bool open)
{
    p.setPen(pen(kOrange));
    p.setBrush(kOrange.lighter(110));
    QPainterPath back;
    back.moveTo(3, 8);
    back.lineTo(12, 8);
    back.lineTo(14, 10);
    back.lineTo(28, 10);
    back.lineTo(28, 27);
    back.lineTo(3, 27);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(kYellow);
    QPolygonF front;
    if (open)
        front << QPointF(7, 14) << QPointF(31, 14) << QPointF(27, 27) << QPointF(3, 27);
    else
        front << QPointF(3, 13) << QPointF(28, 13) << QPointF(28, 27) << QPointF(3, 27);
    p.drawPolygon(front);
}

void person(QPainter& p, const QRectF& r, const QColor& colour)
{
    p.setPen(pen(colour));
    p.setBrush(QColor(252, 233, 196));
    const qreal headR = r.width() * 0.2;
    p.drawEllipse(QPointF(r.center().x(), r.top() + headR + 1), headR, headR);
    p.setBrush(colour);
    QPainterPath body;
    const qreal top = r.top() + headR * 2 + 2;
    body.moveTo(r.left() + r.width() * 0.12, r.bottom());
    body.cubicTo(r.left() + r.width() * 0.12, top, r.right() - r.width() * 0.12, top,
                 r.right() - r.width() * 0.12, r.bottom());
    body.closeSubpath();
    p.drawPath(body);
}

void building(QPainter& p, const QRectF& r)
{
    p.setPen(pen(kGrey));
    p.setBrush(QColor(211, 215, 207));
    p.drawRect(r);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    const qreal w = r.width() / 7, h = r.height() / 9;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawRect(QRectF(r.left() + w * (1 + 2 * col), r.top() + h * (1 + 2 * row), w, h));
    p.setBrush(kBrown);
    p.drawRect(QRectF(r.center().x() - w / 2, r.bottom() - h * 2, w, h * 2));
}

void door(QPainter& p, const QRectF& r, bool open)
{
    p.setPen(pen(kBrown));
    p.setBrush(kBrown.darker(160));
    p.drawRect(r);
    p.setBrush(kBrown.lighter(140));
    if (open) {
        QPolygonF leaf;
        leaf << r.topLeft() << QPointF(r.left() + r.width() * 0.65, r.top() + r.height() * 0.12)
             << QPointF(r.left() + r.width() * 0.65, r.bottom() + r.height() * 0.05) << r.bottomLeft();
        p.drawPolygon(leaf);
        p.setBrush(kYellow);
        p.drawEllipse(QPointF(r.left() + r.width() * 0.5, r.center().y()), 1.2, 1.2);
    } else {
        p.drawRect(r.adjusted(1.5, 1.5, -1.5, 0));
        p.setBrush(kYellow);
        p.drawEllipse(QPointF(r.right() - r.width() * 0.25, r.center().y()), 1.2, 1.2);
    }
}

void magnifier(QPainter& p, const QPointF& c, qreal r)
{
    p.setPen(QPen(kInk, r * 0.45, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(c.x() + r * 0.7, c.y() + r * 0.7), QPointF(c.x() + r * 1.7, c.y() + r * 1.7));
    p.setPen(pen(kGrey, r * 0.25));
    QRadialGradient g(c, r);
    g.setColorAt(0, Qt::white);
    g.setColorAt(1, kLightBlue.lighter(130));
    p.setBrush(g);
    p.drawEllipse(c, r, r);
}

void triangleWarning(QPainter& p, const QRectF& r)
{
    QPolygonF tri;
    tri << QPointF(r.center().x(), r.top()) << r.bottomRight() << r.bottomLeft();
    p.setPen(pen(kOrange, r.width() * 0.06));
    p.setBrush(kYellow);
    p.drawPolygon(tri);
    p.setPen(QPen(kInk, r.width() * 0.1, Qt::SolidLine, Qt::RoundCap));
    const qreal x = r.center().x();
    p.drawLine(QPointF(x, r.top() + r.height() * 0.35), QPointF(x, r.top() + r.height() * 0.68));
    p.drawPoint(QPointF(x, r.top() + r.height() * 0.84));
}

void information(QPainter& p, const QRectF& r)
{
    p.setPen(pen(kBlue, r.width() * 0.05));
    p.setBrush(kBlue);
    p.drawEllipse(r);
    p.setPen(QPen(Qt::white, r.width() * 0.12, Qt::SolidLine, Qt::RoundCap));
    const qreal x = r.center().x();
    p.drawPoint(QPointF(x, r.top() + r.height() * 0.28));
    p.drawLine(QPointF(x, r.top() + r.height() * 0.46), QPointF(x, r.top() + r.height() * 0.75));
}

void bigCross(QPainter& p, const QRectF& r)
{
    badgeCross(p, r.center(), r.width() / 2);
}

void flag(QPainter& p, const QRectF& r, const QColor& colour)
{
    p.setPen(QPen(kInk, r.width() * 0.08, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(r.left() + r.width() * 0.2, r.top()), QPointF(r.left() + r.width() * 0.2, r.bottom()));
    QPainterPath cloth;
    const qreal l = r.left() + r.width() * 0.22;
    cloth.moveTo(l, r.top() + r.height() * 0.05);
    cloth.cubicTo(r.left() + r.width() * 0.5, r.top() - r.height() * 0.05, r.left() + r.width() * 0.7,
                  r.top() + r.height() * 0.2, r.right(), r.top() + r.height() * 0.08);
    cloth.lineTo(r.right(), r.top() + r.height() * 0.5);
    cloth.cubicTo(r.left() + r.width() * 0.7, r.top() + r.height() * 0.62, r.left() + r.width() * 0.5,
                  r.top() + r.height() * 0.4, l, r.top() + r.height() * 0.5);
    cloth.closeSubpath();
    p.setPen(pen(colour, r.width() * 0.04));
    p.setBrush(colour);
    p.drawPath(cloth);
}

void missing(QPainter& p, const QRectF& r)
{
    p.setPen(QPen(kGrey, r.width() * 0.08, Qt::DashLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(r.adjusted(r.width() * 0.08, r.width() * 0.08, -r.width() * 0.08, -r.width() * 0.08));
    p.setPen(QPen(kGrey, r.width() * 0.1, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(r.left() + r.width() * 0.32, r.center().y()),
               QPointF(r.right() - r.width() * 0.32, r.center().y()));
}

void bin(QPainter& p, const QRectF& r, const QColor& colour)
{
    p.setPen(pen(colour));
    p.setBrush(colour.lighter(140));
    QPolygonF body;
    body << QPointF(r.left() + 2, r.top() + 5) << QPointF(r.right() - 2, r.top() + 5)
         << QPointF(r.right() - 4, r.bottom()) << QPointF(r.left() + 4, r.bottom());
    p.drawPolygon(body);
    p.drawRoundedRect(QRectF(r.left(), r.top() + 2, r.width(), 3), 1, 1);
    p.drawLine(QPointF(r.center().x() - 2, r.top() + 2), QPointF(r.center().x() - 2, r.top()));
    p.drawLine(QPointF(r.center().x() - 2, r.top()), QPointF(r.center().x() + 2, r.top()));
    p.drawLine(QPointF(r.center().x() + 2, r.top()), QPointF(r.center().x() + 2, r.top() + 2));
    for (int i = -1; i <= 1; ++i)
        p.drawLine(QPointF(r.center().x() + i * 4, r.top() + 9), QPointF(r.center().x() + i * 3.4, r.bottom() - 3));
}

void sequenceList(QPainter& p, const QRectF& r)
{
    p.setPen(pen(kGrey));
    p.setBrush(kPaper);
    p.drawRoundedRect(r, 2, 2);
    const qreal step = r.height() / 5;
    for (int i = 0; i < 4; ++i) {
        const qreal y = r.top() + step * (i + 1);
        p.setPen(Qt::NoPen);
        p.setBrush(i == 1 ? kOrange : kGreen);
        p.drawEllipse(QPointF(r.left() + step * 0.8, y), step * 0.28, step * 0.28);
        p.setPen(QPen(kInk, step * 0.22, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(r.left() + step * 1.5, y), QPointF(r.right() - step * (0.6 + (i % 2)), y));
    }
}

void tester(QPainter& p)
{
    p.setPen(pen(kInk));
    p.setBrush(QColor(85, 87, 83));
    p.drawRoundedRect(QRectF(3, 6, 26, 22), 3, 3);
    p.setBrush(QColor(138, 226, 52));
    p.drawRect(QRectF(6, 9, 14, 9));
    p.setPen(QPen(kInk, 1));
    p.drawPolyline(QPolygonF() << QPointF(7, 15) << QPointF(10, 15) << QPointF(12, 11) << QPointF(14, 17)
                               << QPointF(16, 13) << QPointF(19, 13));
    p.setPen(pen(kInk, 1));
    p.setBrush(kRed);
    p.drawEllipse(QPointF(24.5, 11), 2, 2);
    p.setBrush(kYellow);
    p.drawEllipse(QPointF(24.5, 17), 2, 2);
    p.setBrush(kLightBlue);
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(6 + i * 5, 21, 3.5, 3.5));
    p.setPen(QPen(kInk, 1.5));
    p.drawLine(QPointF(10, 6), QPointF(8, 2));
    p.drawLine(QPointF(22, 6), QPointF(24, 2));
}

void certificate(QPainter& p)
{
    page(p, QRectF(5, 2, 20, 26));
    p.setPen(pen(kRed, 1));
    p.setBrush(kRed);
    QPolygonF ribbon;
    ribbon << QPointF(21, 24) << QPointF(19, 31) << QPointF(22, 29) << QPointF(24, 31) << QPointF(26, 31)
           << QPointF(28, 29) << QPointF(30, 31) << QPointF(27, 24);
    p.drawPolygon(ribbon);
    p.setBrush(kYellow);
    p.setPen(pen(kOrange, 1));
    p.drawEllipse(QPointF(24, 21), 5, 5);
}

void comparison(QPainter& p)
{
    p.setPen(pen(kBlue));
    p.setBrush(kLightBlue);
    p.drawRect(QRectF(3, 12, 7, 17));
    p.setBrush(kBlue);
    p.drawRect(QRectF(12, 6, 7, 23));
    triangleWarning(p, QRectF(16, 15, 15, 14));
}

void toggle(QPainter& p, bool plus)
{
    p.setPen(pen(kGrey));
    QLinearGradient g(0, 8, 0, 24);
    g.setColorAt(0, Qt::white);
    g.setColorAt(1, QColor(211, 215, 207));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(8, 8, 16, 16), 3, 3);
    p.setPen(QPen(kInk, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 16), QPointF(20, 16));
    if (plus)
        p.drawLine(QPointF(16, 12), QPointF(16, 20));
}

void zoom(QPainter& p, int kind)
{
    magnifier(p, QPointF(13, 13), 9);
    p.setPen(QPen(kInk, 2.2, Qt::SolidLine, Qt::RoundCap));
    if (kind == 2) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kInk, 1.6));
        p.drawRect(QRectF(8.5, 9.5, 9, 7));
        return;
    }
    p.drawLine(QPointF(8.5, 13), QPointF(17.5, 13));
    if (kind == 0)
        p.drawLine(QPointF(13, 8.5), QPointF(13, 17.5));
}

void skipped(QPainter& p)
{
    p.setPen(QPen(kGrey, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath hop;
    hop.moveTo(4, 24);
    hop.cubicTo(8, 4, 20, 4, 24, 18);
    p.drawPath(hop);
    arrow(p, QPointF(22, 13), QPointF(25.5, 23), kGrey, 2.5);
    p.setPen(Qt::NoPen);
    p.setBrush(kGrey);
    p.drawEllipse(QPointF(14, 26), 2.5, 2.5);
}

std::map<QString, Drawing> drawings()
{
    std::map<QString, Drawing> d;
    d["database"] = database;
    d["database_connect"] = [](QPainter& p) {
        cylinder(p, QRectF(2, 3, 18, 24), kLightBlue);
        p.setPen(QPen(kInk, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(20, 21), QPointF(24, 21));
        p.setPen(pen(kGrey, 1.2));
        p.setBrush(QColor(211, 215, 207));
        p.drawRoundedRect(QRectF(23, 16, 7, 10), 2, 2);
        p.setPen(QPen(kInk, 1.6));
        p.drawLine(QPointF(30, 18.5), QPointF(31.5, 18.5));
        p.drawLine(QPointF(30, 23.5), QPointF(31.5, 23.5));
    };
    d["database_import"] = [](QPainter& p) {
        cylinder(p, QRectF(10, 6, 19, 24), kLightBlue);
        arrow(p, QPointF(1, 10), QPointF(16, 18), kGreen, 4);
    };
    d["database_export"] = [](QPainter& p) {
        cylinder(p, QRectF(2, 6, 19, 24), kLightBlue);
        arrow(p, QPointF(13, 18), QPointF(30, 8), kBlue, 4);
    };
    d["new"] = [](QPainter& p) {
        page(p, QRectF(5, 2, 20, 27));
        badgePlus(p, QPointF(24, 24), 6.5, kGreen);
    };
    d["open"] = [](QPainter& p) { folder(p, true); };
    d["add"] = [](QPainter& p) { badgePlus(p, QPointF(16, 16), 13, kGreen); };
    d["delete"] = [](QPainter& p) { badgeCross(p, QPointF(16, 16), 13); };
    d["restore"] = [](QPainter& p) {
        bin(p, QRectF(3, 6, 18, 23), kGrey);
        arrow(p, QPointF(24, 30), QPointF(24, 4), kGreen, 4.5);
    };
    d["recycled"] = [](QPainter& p) { bin(p, QRectF(6, 3, 20, 26), kGreen); };
    d["client"] = [](QPainter& p) { person(p, QRectF(6, 2, 20, 27), kBlue); };
    d["client_delete"] = [](QPainter& p) {
        person(p, QRectF(2, 2, 20, 27), kBlue);
        badgeCross(p, QPointF(24, 24), 6.5);
    };
    d["building"] = [](QPainter& p) { building(p, QRectF(6, 3, 20, 27)); };
    d["building_delete"] = [](QPainter& p) {
        building(p, QRectF(2, 3, 20, 27));
        badgeCross(p, QPointF(24, 24), 6.5);
    };
    d["door_open"] = [](QPainter& p) { door(p, QRectF(8, 3, 16, 26), true); };
    d["door_open_delete"] = [](QPainter& p) {
        door(p, QRectF(4, 3, 16, 26), true);
        badgeCross(p, QPointF(24, 24), 6.5);
    };
    d["find"] = [](QPainter& p) { magnifier(p, QPointF(13, 13), 9); };
    d["cert"] = certificate;
    d["comparison_alerts"] = comparison;
    d["sequences"] = [](QPainter& p) { sequenceList(p, QRectF(4, 3, 24, 26)); };
    d["sequences_large"] = d["sequences"];
    d["download"] = [](QPainter& p) {
        tester(p);
        arrow(p, QPointF(26, 14), QPointF(26, 31), kGreen, 4.5);
    };
    d["upload"] = [](QPainter& p) {
        tester(p);
        arrow(p, QPointF(26, 31), QPointF(26, 14), kBlue, 4.5);
    };
    d["tester"] = tester;
    d["exclamation"] = [](QPainter& p) { triangleWarning(p, QRectF(2, 3, 28, 26)); };
    d["error_large"] = d["exclamation"];
    d["information"] = [](QPainter& p) { information(p, QRectF(3, 3, 26, 26)); };
    d["information_large"] = d["information"];
    d["cross_large"] = [](QPainter& p) { bigCross(p, QRectF(3, 3, 26, 26)); };
    d["flag_green_large"] = [](QPainter& p) { flag(p, QRectF(4, 3, 24, 26), kGreen); };
    d["missing_large"] = [](QPainter& p) { missing(p, QRectF(3, 3, 26, 26)); };
    d["skipped"] = skipped;
    d["bullet_toggle_plus"] = [](QPainter& p) { toggle(p, true); };
    d["bullet_toggle_minus"] = [](QPainter& p) { toggle(p, false); };
    d["zoom_in"] = [](QPainter& p) { zoom(p, 0); };
    d["zoom_out"] = [](QPainter& p) { zoom(p, 1); };
    d["zoom_fit"] = [](QPainter& p) { zoom(p, 2); };
    return d;
}

QImage render(const Drawing& draw, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    draw(p);
    return image;
}

// The window icon: a heart-shaped tester trace on a blue tile.
void logo(QPainter& p)
{
    QLinearGradient g(0, 0, 0, 32);
    g.setColorAt(0, kLightBlue);
    g.setColorAt(1, kBlue.darker(130));
    p.setPen(pen(kBlue, 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
    p.setPen(QPen(Qt::white, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF() << QPointF(4, 18) << QPointF(10, 18) << QPointF(13, 9) << QPointF(17, 25)
                               << QPointF(20, 14) << QPointF(22, 18) << QPointF(28, 18));
}

// portwell's menu icon: a chip taking an upward arrow, on a green tile.
void portwellLogo(QPainter& p)
{
    QLinearGradient g(0, 0, 0, 32);
    g.setColorAt(0, kGreen.lighter(140));
    g.setColorAt(1, kGreen.darker(130));
    p.setPen(pen(kGreen, 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
    p.setPen(QPen(kPaper, 1.6, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 4; ++i) {
        const qreal x = 10.5 + i * 3.7;
        p.drawLine(QPointF(x, 17), QPointF(x, 15));
        p.drawLine(QPointF(x, 27), QPointF(x, 29));
    }
    p.setPen(pen(kInk, 1));
    p.setBrush(kInk);
    p.drawRoundedRect(QRectF(8, 17, 16, 10), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF() << QPointF(16, 3) << QPointF(23, 10) << QPointF(19, 10) << QPointF(19, 14)
                              << QPointF(13, 14) << QPointF(13, 10) << QPointF(9, 10));
}

QImage splash()
{
    const int w = 400, h = 327;
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, w, h);
    g.setColorAt(0, QColor(32, 74, 135));
    g.setColorAt(1, QColor(11, 32, 64));
    p.fillRect(image.rect(), g);
    // A light band at the foot, where the about box writes its credit line in dark text.
    p.fillRect(QRect(0, h - 40, w, 40), QColor(238, 238, 236));
    p.fillRect(QRect(0, h - 42, w, 2), QColor(114, 159, 207));
    // A faint trace across the picture, as an instrument draws it.
    p.setPen(QPen(QColor(114, 159, 207, 90), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPolygonF trace;
    for (int x = 0; x <= w; x += 4) {
        const int phase = x % 100;
        qreal y = 230;
        if (phase > 40 && phase < 48)
            y -= (phase - 40) * 12;
        else if (phase >= 48 && phase < 58)
            y += (phase - 53) * 10 - 46;
        trace << QPointF(x, y);
    }
    p.drawPolyline(trace);
    p.save();
    p.translate(20, 20);
    p.scale(1.5, 1.5);
    logo(p);
    p.restore();
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(34);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(78, 18, 300, 52), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Pelvane"));
    font.setPixelSize(14);
    font.setBold(false);
    p.setFont(font);
    p.setPen(QColor(211, 215, 207));
    p.drawText(QRectF(22, 140, 360, 60), Qt::AlignLeft | Qt::TextWordWrap,
               QStringLiteral("Medical electrical equipment register, test sequences and results"));
    return image;
}

bool save(const QImage& image, const QString& path, const char* format)
{
    if (image.save(path, format))
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
    QDir().mkpath(out + QStringLiteral("/icons"));
    QDir().mkpath(out + QStringLiteral("/images"));
    bool ok = true;
    for (const auto& [name, draw] : drawings()) {
        const int size = name.endsWith(QStringLiteral("_large")) ? 48 : 32;
        ok &= save(render(draw, size), QStringLiteral("%1/icons/%2.png").arg(out, name), "PNG");
    }
    ok &= save(render(logo, 32), out + QStringLiteral("/icons/tavisk.ico"), "ICO");
    ok &= save(splash(), out + QStringLiteral("/images/splash.jpg"), "JPG");
    // The programs' menu icons, in the sizes desktops ask the icon theme for.
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/hicolor/%2x%2/apps").arg(out).arg(size);
        QDir().mkpath(folder);
        ok &= save(render(logo, size), folder + QStringLiteral("/pelvane.png"), "PNG");
        ok &= save(render(portwellLogo, size), folder + QStringLiteral("/portwell.png"), "PNG");
    }
    return ok ? 0 : 1;
}
