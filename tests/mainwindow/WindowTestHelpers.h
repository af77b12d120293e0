#pragma once

// Small helpers shared by the tests that drive the real main window.

#include "assets/AssetTableView.h"
#include "database/SqlQuery.h"
#include "sequences/DialogTestSequenceElementTypes.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QToolBox>
#include <QVariant>
#include <QtTest>

// The first column of the first row a statement gives on the current
// connection, or an invalid value when it gives none.
inline QVariant scalar(const QString& statement)
{
    SqlQuery query;
    query.exec(statement);
    return query.next() ? query.value(0) : QVariant();
}

// A stored blob as lower-case hex, to compare with the bytes a test expects.
inline QString storedHex(const QString& statement)
{
    return QString::fromLatin1(scalar(statement).toByteArray().toHex());
}

inline QPushButton* button(QWidget* in, const char* name)
{
    return in->findChild<QPushButton*>(QLatin1String(name));
}

// Clicks a button as a user would; a missing or disabled one fails the test.
inline void press(QPushButton* b)
{
    QVERIFY(b);
    QVERIFY2(b->isEnabled(), qPrintable(b->objectName()));
    QTest::mouseClick(b, Qt::LeftButton);
}

// Clicks the asset's row in the asset list as a user would; an asset the
// list does not show fails the test.
inline void clickAssetRow(AssetTableView* table, int assetId, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QAbstractItemModel* model = table->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->index(row, AssetTableView::IdColumn).data().toInt() != assetId)
            continue;
        const QModelIndex cell = model->index(row, AssetTableView::NameColumn);
        table->scrollTo(cell);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, modifiers, table->visualRect(cell).center());
        return;
    }
    QFAIL(qPrintable(QStringLiteral("asset %1 is not listed").arg(assetId)));
}

// In the element-type dialog, opens the page that offers the element id,
// clicks it and presses OK; false when no page offers it.
inline bool chooseElementType(QWidget* dialog, int id)
{
    auto* types = qobject_cast<DialogTestSequenceElementTypes*>(dialog);
    if (!types)
        return false;
    for (QListWidget* choices : types->lists()) {
        for (int row = 0; row < choices->count(); ++row) {
            QListWidgetItem* item = choices->item(row);
            if (item->data(Qt::UserRole).toInt() != id || item->isHidden())
                continue;
            dialog->findChild<QToolBox*>()->setCurrentWidget(choices->parentWidget());
            choices->scrollToItem(item);
            QTest::mouseClick(choices->viewport(), Qt::LeftButton, Qt::NoModifier,
                              choices->visualItemRect(item).center());
            press(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok));
            return true;
        }
    }
    return false;
}
