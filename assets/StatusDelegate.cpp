#include "assets/StatusDelegate.h"

#include "ux/CodeTables.h"

#include <QPainter>
#include <QPixmap>

// The icons live in a static library, so their resource must be registered
// explicitly; this has to happen outside any namespace.
static void initStatusIcons()
{
    Q_INIT_RESOURCE(statusicons);
}

StatusDelegate::StatusDelegate(QObject* parent) : QStyledItemDelegate(parent)
{
    static const bool registered = (initStatusIcons(), true);
    Q_UNUSED(registered);
}

const QPixmap& StatusDelegate::pixmap(int status)
{
    // Loaded on first use and kept for the life of the program; never freed,
    // so that no pixmap outlives the application object's destruction.
    static const QPixmap* const pass = new QPixmap(QStringLiteral(":/icons/icons/flag_green.png"));
    static const QPixmap* const fail = new QPixmap(QStringLiteral(":/icons/icons/cross.png"));
    static const QPixmap* const alert = new QPixmap(QStringLiteral(":/icons/icons/error.png"));
    static const QPixmap* const other = new QPixmap(QStringLiteral(":/icons/icons/missing.png"));
    switch (status) {
    case Ux::StatusPass:
        return *pass;
    case Ux::StatusFail:
        return *fail;
    case Ux::StatusAlert:
        return *alert;
    default:
        return *other;
    }
}

void StatusDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QPixmap& icon = pixmap(index.data(Qt::DisplayRole).toInt());

    if (option.state & QStyle::State_Selected) {
        if (option.state & QStyle::State_Active)
            painter->fillRect(option.rect, option.palette.highlight());
        else
            painter->fillRect(option.rect, option.palette.color(QPalette::Inactive, QPalette::Highlight));
    }

    const QRect& r = option.rect;
    const QSize size = icon.deviceIndependentSize().toSize();
    int x = r.left() + (r.width() - size.width()) / 2;
    if (option.decorationAlignment & Qt::AlignLeft)
        x = r.left();
    else if (option.decorationAlignment & Qt::AlignRight)
        x = r.right() + 1 - size.width();
    int y = r.top() + (r.height() - size.height()) / 2;
    if (option.decorationAlignment & Qt::AlignTop)
        y = r.top();
    else if (option.decorationAlignment & Qt::AlignBottom)
        y = r.bottom() + 1 - size.height();
    painter->drawPixmap(x, y, icon);
}

QSize StatusDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    return QSize(20, 20);
}
