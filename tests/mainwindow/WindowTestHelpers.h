#pragma once

// Small helpers shared by the tests that drive the real main window.

#include "assets/AssetTableView.h"
#include "database/ConnectionSettings.h"
#include "database/PagedQueryModel.h"
#include "database/SqlQuery.h"
#include "sequences/DialogTestSequenceElementTypes.h"
#include "support/SimulatedInstrument.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolBox>

#include <functional>
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

inline bool listRead(AssetTableView* table)
{
    auto* paged = qobject_cast<PagedQueryModel*>(table->model());
    return QTest::qWaitFor([paged] { return !paged || !paged->isReading(); }, 10000);
}

// Clicks the asset's row in the asset list as a user would; an asset the
// list does not show fails the test.
inline void clickAssetRow(AssetTableView* table, int assetId, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QAbstractItemModel* model = table->model();
    // A server's rows come in from a thread of their own.
    auto* paged = qobject_cast<PagedQueryModel*>(model);
    QTRY_VERIFY(!paged || !paged->isReading());
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

// In the connection dialog, fills the MySQL tab with server as a user
// types it; the caller then presses its connect button.
inline void fillMySqlTab(QWidget* dialog, const ConnectionSettings& server, bool create)
{
    dialog->findChild<QTabWidget*>(QStringLiteral("tabWidget"))->setCurrentIndex(2);
    dialog->findChild<QComboBox*>(QStringLiteral("myHostName"))->setEditText(server.host);
    dialog->findChild<QComboBox*>(QStringLiteral("myDatabaseName"))->setEditText(server.databaseName);
    dialog->findChild<QComboBox*>(QStringLiteral("myUserName"))->setEditText(server.userName);
    dialog->findChild<QLineEdit*>(QStringLiteral("myPassword"))->setText(server.password);
    dialog->findChild<QCheckBox*>(QStringLiteral("myCreateNewDb"))->setChecked(create);
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

// Plays the instrument's part of a download: sends records in packets
// numbered from 4, each once the previous one was acknowledged. Returns how
// many were acknowledged.
inline int sendAcknowledged(SimulatedInstrument& instrument, const QList<QByteArray>& records)
{
    int acked = 0;
    for (int i = 0; i < records.size(); ++i) {
        const int before = int(instrument.seenOfKind(SimulatedInstrument::Seen::Ack).size());
        if (!instrument.sendPacket(quint8(4 + i), records.at(i))
            || !instrument.waitUntil(
                [&] { return instrument.seenOfKind(SimulatedInstrument::Seen::Ack).size() > before; }, 3000))
            break;
        ++acked;
    }
    return acked;
}

// Answers the port choice before a download with port, and runs send once
// the download's own dialog is up: the dialog answerer leaves that one
// alone, so that the instrument can talk to it.
inline void choosePortThenSend(QWidget* portDialog, const QString& port, QObject* context,
                               std::function<void()> send)
{
    auto* ports = portDialog->findChild<QComboBox*>(QStringLiteral("comPorts"));
    ports->addItem(port, port);
    ports->setCurrentIndex(ports->count() - 1);
    auto* poll = new QTimer(context);
    QObject::connect(poll, &QTimer::timeout, context, [poll, send = std::move(send)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->inherits("Download") || !modal->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        send();
    });
    poll->start(1);
    qobject_cast<QDialog*>(portDialog)->accept();
}
