#include "AssetFixture.h"
#include "assets/AppliedPartTable.h"
#include "support/DialogAnswerer.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>
#include <QtTest>

namespace {
enum { MonitorA = 3, DeskLamp = 5 };

struct Part
{
    QString name;
    QString type;
    QString count;
};

QString storedParts(int assetId)
{
    SqlQuery query;
    query.exec(QString("SELECT Name,ConnectionClass,Connection,NumConnections FROM AppliedPart "
                       "WHERE AssetId=%1 ORDER BY Connection").arg(assetId));
    QStringList rows;
    while (query.next())
        rows << QString("%1/%2/%3/%4").arg(query.value(0).toString(), query.value(1).toString(),
                                            query.value(2).toString(), query.value(3).toString());
    return rows.join(' ');
}
} // namespace

class TestAppliedPartTable : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void loadsInStoredOrder();
    void savesNamedCompleteRowsWithTheirRowIndex();
    void tooManyConnectionsAreRefused();
    void duplicateNamesAreRefusedIgnoringCaseButNotEmptyNames();
    void moveDownWorksWithTenParts();
    void nameEditorHoldsWhatTheServerColumnsHold();

private:
    void fill(const QList<Part>& parts);
    QStringList names() const;
    void select(int row) { m_table->selectRow(row); }

    SqliteDatabase* m_db = nullptr;
    std::unique_ptr<AppliedPartTable> m_table;
    std::unique_ptr<DialogAnswerer> m_answerer;
};

void TestAppliedPartTable::init()
{
    m_db = newSeededDatabase();
    QVERIFY(m_db);
    m_table = std::make_unique<AppliedPartTable>();
    m_answerer = std::make_unique<DialogAnswerer>();
}

void TestAppliedPartTable::cleanup()
{
    m_answerer.reset();
    m_table.reset();
    Database::setInstance(nullptr);
}

// Types parts into the entry rows one after another, as a user would.
void TestAppliedPartTable::fill(const QList<Part>& parts)
{
    for (const Part& part : parts) {
        const int row = m_table->rowCount() - 1;
        const QString texts[] = {part.name, part.type, part.count};
        for (int column = 0; column < 3; ++column) {
            if (!texts[column].isNull())
                m_table->setItem(row, column, new QTableWidgetItem(texts[column]));
        }
    }
}

QStringList TestAppliedPartTable::names() const
{
    QStringList list;
    for (int row = 0; row < m_table->rowCount(); ++row)
        list << (m_table->item(row, 0) ? m_table->item(row, 0)->text() : QString("-"));
    return list;
}

void TestAppliedPartTable::loadsInStoredOrder()
{
    m_table->load(MonitorA, true);
    QCOMPARE(names(), (QStringList{"ECG", "SpO2", "-"}));
    QCOMPARE(m_table->item(0, 2)->text(), QString("3"));
    QCOMPARE(m_table->connectionCounts(), (QList<int>{3, 1}));

    // Saved again, the order holds.
    QVERIFY(m_table->save(MonitorA));
    QCOMPARE(storedParts(MonitorA), QString("ECG/3/0/3 SpO2/2/1/1"));
}

void TestAppliedPartTable::savesNamedCompleteRowsWithTheirRowIndex()
{
    m_table->load(DeskLamp, true);
    fill({{"Lead A", "2", "3"}, {QString(), "1", "5"}, {"No type", QString(), "1"}, {"Lead C", "3", "1"}});
    QVERIFY(m_table->save(DeskLamp));
    QCOMPARE(m_answerer->count(), 0);
    // The unnamed row is neither counted nor stored; rows after the skipped
    // ones keep their own row index.
    QCOMPARE(storedParts(DeskLamp), QString("Lead A/2/0/3 Lead C/3/3/1"));

    // A save replaces what was stored.
    m_table->load(DeskLamp, true);
    select(0);
    m_table->deleteRow();
    QVERIFY(m_table->save(DeskLamp));
    QCOMPARE(storedParts(DeskLamp), QString("Lead C/3/0/1"));
}

void TestAppliedPartTable::tooManyConnectionsAreRefused()
{
    m_table->load(MonitorA, true);
    fill({{"NIBP", "2", "7"}});
    QVERIFY(!m_table->save(MonitorA));
    QCOMPARE(m_answerer->count(), 1);
    QCOMPARE(m_answerer->last().text, QString("You have specified more connections than are available.\n"
                                               "Reduce the number of connections from 11 to 10."));
    QVERIFY(!m_answerer->last().duringWrite);
    QCOMPARE(m_answerer->last().icon, int(QMessageBox::NoIcon));
    QCOMPARE(storedParts(MonitorA), QString("ECG/3/1/3 SpO2/2/2/1"));
    QCOMPARE(names(), (QStringList{"ECG", "SpO2", "NIBP", "-"}));
}

void TestAppliedPartTable::duplicateNamesAreRefusedIgnoringCaseButNotEmptyNames()
{
    m_table->load(MonitorA, true);
    fill({{"ecg", "1", "1"}});
    QVERIFY(!m_table->save(MonitorA));
    QCOMPARE(m_answerer->last().text, QString("More than one applied part has the same name. Please ensure all "
                                               "applied parts have unique names."));
    QVERIFY(!m_answerer->last().duringWrite);
    QCOMPARE(storedParts(MonitorA), QString("ECG/3/1/3 SpO2/2/2/1"));

    // Rows without a name are never stored, so two of them do not clash.
    m_table->load(DeskLamp, true);
    fill({{"", "1", "1"}, {"Probe", "1", "1"}, {"", "2", "1"}});
    QVERIFY(m_table->save(DeskLamp));
    QCOMPARE(m_answerer->count(), 1);
    QCOMPARE(storedParts(DeskLamp), QString("Probe/1/1/1"));
}

void TestAppliedPartTable::moveDownWorksWithTenParts()
{
    m_table->load(DeskLamp, true);
    for (int i = 1; i <= 10; ++i)
        fill({{QString("P%1").arg(i), "1", "1"}});
    QCOMPARE(m_table->rowCount(), 10);
    select(8);
    m_table->moveRowDown();
    QCOMPARE(names().mid(8), (QStringList{"P10", "P9"}));
    select(9);
    m_table->moveRowDown();
    QCOMPARE(names().mid(8), (QStringList{"P10", "P9"}));

    // Ten stored parts load without an entry row and move the same way.
    QVERIFY(m_table->save(DeskLamp));
    m_table->load(DeskLamp, true);
    QCOMPARE(m_table->rowCount(), 10);
    select(8);
    m_table->moveRowDown();
    QCOMPARE(names().mid(8), (QStringList{"P9", "P10"}));
}

void TestAppliedPartTable::nameEditorHoldsWhatTheServerColumnsHold()
{
    m_table->load(DeskLamp, true);
    fill({{"ECG", "2", "3"}});
    const QModelIndex name = m_table->model()->index(0, AppliedPartTable::NameColumn);
    QAbstractItemDelegate* delegate = m_table->itemDelegateForIndex(name);
    std::unique_ptr<QWidget> editor(delegate->createEditor(m_table->viewport(), QStyleOptionViewItem(), name));
    auto* line = qobject_cast<QLineEdit*>(editor.get());
    QVERIFY2(line, editor ? editor->metaObject()->className() : "no editor");
    QCOMPARE(line->maxLength(), 255);
}

PELVANE_TEST_MAIN(TestAppliedPartTable)
#include "TestAppliedPartTable.moc"
