#include "sequences/DialogEditGlobalTestSequence.h"

#include "ui_DialogEditGlobalTestSequence.h"
#include "ui_TestSequence.h"

#include "database/Database.h"
#include "database/DatabaseBusy.h"
#include "database/DatabaseTransaction.h"
#include "database/RowGone.h"
#include "database/SqlQuery.h"
#include "sequences/TestSequence.h"

#include <QDataStream>
#include <QIODevice>
#include <QMessageBox>
#include <QSettings>

DialogEditGlobalTestSequence::DialogEditGlobalTestSequence(int id, QWidget* parent)
    : QDialog(parent), m_id(id), ui(std::make_unique<Ui::DialogEditGlobalTestSequence>())
{
    ui->setupUi(this);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &DialogEditGlobalTestSequence::accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &DialogEditGlobalTestSequence::reject);
    connect(ui->equipmentClass, &QComboBox::currentIndexChanged, this,
            &DialogEditGlobalTestSequence::equipmentClassChanged);

    if (m_id == 0) {
        SqlQuery count;
        count.exec(QStringLiteral("SELECT COUNT(Id) FROM GlobalTestSequence"));
        ui->testSequence->form()->importBtn->setEnabled(count.next() && count.value(0).toInt() != 0);
    } else {
        SqlQuery query;
        query.prepare(QStringLiteral("SELECT Name,EquipmentClass,Data FROM GlobalTestSequence WHERE Id=:Id"));
        query.bindValue(QStringLiteral(":Id"), m_id);
        query.exec();
        if (query.next()) {
            ui->name->setText(query.value(0).toString());
            // The class reaches the sequence before any element is built.
            ui->equipmentClass->setCurrentIndex(query.value(1).toInt());
            ui->testSequence->setEquipmentClass(ui->equipmentClass->currentIndex());
            ui->testSequence->load(m_id, true);
        }
    }

    const QVariant stored = QSettings().value(QLatin1String(SettingsKey));
    if (stored.isValid() && !stored.isNull()) {
        QDataStream in(stored.toByteArray());
        QByteArray geometry;
        in >> geometry;
        restoreGeometry(geometry);
    }
}

DialogEditGlobalTestSequence::~DialogEditGlobalTestSequence()
{
    QByteArray state;
    QDataStream out(&state, QIODevice::WriteOnly);
    out << saveGeometry();
    QSettings().setValue(QLatin1String(SettingsKey), state);
}

TestSequence* DialogEditGlobalTestSequence::testSequence() const
{
    return ui->testSequence;
}

void DialogEditGlobalTestSequence::equipmentClassChanged(int)
{
    ui->testSequence->setEquipmentClass(ui->equipmentClass->currentIndex());
}

void DialogEditGlobalTestSequence::accept()
{
    // The check and the write under one lock: no namesake comes in between.
    bool taken = false;
    bool gone = false;
    int id = m_id;
    const bool written = DatabaseTransaction::run([&](DatabaseTransaction&) {
        gone = m_id != 0 && !RowGone::stored("GlobalTestSequence", m_id);
        if (gone)
            return;
        SqlQuery duplicate;
        duplicate.prepare(QStringLiteral("SELECT Id From GlobalTestSequence WHERE Name LIKE :Name AND Id<>:Id"));
        duplicate.bindValue(QStringLiteral(":Name"), ui->name->text());
        duplicate.bindValue(QStringLiteral(":Id"), m_id);
        duplicate.exec();
        taken = duplicate.next();
        duplicate.finish();
        if (taken)
            return;
        const int type = Database::instance()->type();
        SqlQuery write;
        if (m_id == 0) {
            write.prepareInsert(QStringLiteral("GlobalTestSequence"),
                                {QStringLiteral("Name"), QStringLiteral("EquipmentClass"), QStringLiteral("Data")}, type);
        } else {
            write.prepare(QStringLiteral("UPDATE GlobalTestSequence \t\t\t\t\t\tSET Name=:Name,EquipmentClass=:EquipmentClass,"
                                         "Data=:Data \t\t\t\t\t\tWHERE Id=:Id"));
            write.bindValue(QStringLiteral(":Id"), m_id);
        }
        write.bindValue(QStringLiteral(":Name"), ui->name->text());
        write.bindValue(QStringLiteral(":EquipmentClass"), ui->equipmentClass->currentIndex());
        write.bindValue(QStringLiteral(":Data"), ui->testSequence->data());
        write.exec();
        if (m_id == 0)
            id = write.lastInsertId(type);
    });
    if (!written) {
        DatabaseBusy::tell(this);
        return;
    }
    if (gone) {
        RowGone::tell(this, tr("The global test sequence"));
        return;
    }
    if (taken) {
        QMessageBox::information(this, QString(),
                                 tr("A global test sequence already exists with the same name. Please choose another."));
        return;
    }
    m_id = id;
    QDialog::accept();
}
