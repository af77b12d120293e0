#include "portwell/TAboutBox.h"

#include "portwell/LanguageTables.h"

#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

using LanguageTables::GetLangString;

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(489, 197);
    setModal(false);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);

    auto* productPicture = new QLabel(panel);
    productPicture->setObjectName(QStringLiteral("ProgramIcon"));
    productPicture->setPixmap(picture());
    auto* productName = new QLabel(QStringLiteral("Portwell Utility"), panel);
    productName->setObjectName(QStringLiteral("ProductName"));
    productName->setAlignment(Qt::AlignCenter);
    QFont big = productName->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    productName->setFont(big);
    auto* versionLabel = new QLabel(GetLangString(17, 0), panel);
    versionLabel->setObjectName(QStringLiteral("VersionLabel"));
    auto* version = new QLabel(QStringLiteral("1.03"), panel);
    version->setObjectName(QStringLiteral("Version"));
    auto* copyright = new QLabel(GetLangString(18, 0), panel);
    copyright->setObjectName(QStringLiteral("Copyright"));

    auto* grid = new QGridLayout(panel);
    grid->addWidget(productPicture, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(productName, 0, 1, 1, 2);
    grid->addWidget(versionLabel, 1, 1);
    grid->addWidget(version, 1, 2);
    grid->addWidget(copyright, 2, 1, 1, 2);
    grid->setColumnStretch(2, 1);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel, 1);
    layout->addWidget(ok, 0, Qt::AlignHCenter);

    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QPixmap TAboutBox::picture()
{
    // Our own drawing: a plug on a cable with a data arrow.
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(40, 60, 90), 2));
    painter.setBrush(QColor(90, 130, 190));
    painter.drawRoundedRect(QRectF(8, 20, 30, 24), 4, 4);
    painter.setBrush(QColor(220, 220, 225));
    for (int i = 0; i < 3; ++i)
        painter.drawRect(QRectF(38, 24 + i * 7, 10, 3));
    painter.setPen(QPen(QColor(40, 60, 90), 3));
    QPainterPath cable;
    cable.moveTo(8, 32);
    cable.cubicTo(0, 32, 4, 56, 20, 56);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(cable);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(230, 120, 30));
    painter.drawPolygon(QPolygonF({QPointF(34, 6), QPointF(54, 6), QPointF(54, 0), QPointF(63, 10),
                                   QPointF(54, 20), QPointF(54, 14), QPointF(34, 14)}));
    return pixmap;
}
