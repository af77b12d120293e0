#include "database/Database.h"
#include "database/SqlQuery.h"
#include "sequences/DialogEditGlobalTestSequence.h"
#include "sequences/DialogGlobalTestSequences.h"
#include "sequences/TestSequence.h"
#include "support/DialogAnswerer.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"

#include <QDialogButtonBox>
#include <QIODevice>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QtTest>

#include <memory>

namespace {

int storeGlobal(const QString& name)
{
    SqlQuery insert;
    insert.prepare(QStringLiteral("INSERT INTO GlobalTestSequence (Name,EquipmentClass,Data) VALUES (?,1,?)"));
    insert.addBindValue(name);
    insert.addBindValue(QByteArray::fromHex("0201"));
    insert.exec();
    return insert.lastInsertId(0);
}

QByteArray listState(const QByteArray& geometry, const QList<qint32>& widths)
{
    QByteArray state;
    QDataStream out(&state, QIODevice::WriteOnly);
    out << geometry;
    for (qint32 width : widths)
        out << width;
    return state;
}

} // namespace

// The two global-sequence dialogs on their own: what they keep in the
// settings, the selection they report, and the name check.
class TestGlobalSequenceDialogs : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void windowStateIsKept();
    void selectModeReportsTheFirstSelectedRow();
    void namesAreCheckedWithLike();

private:
    std::unique_ptr<DialogAnswerer> m_answerer;
};

void TestGlobalSequenceDialogs::init()
{
    TestEnvironment::clearSettings();
    QVERIFY(SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + QStringLiteral("/global.db")));
    m_answerer = std::make_unique<DialogAnswerer>();
}

void TestGlobalSequenceDialogs::cleanup()
{
    m_answerer.reset();
    Database::setInstance(nullptr);
}

void TestGlobalSequenceDialogs::windowStateIsKept()
{
    storeGlobal(QStringLiteral("Routine"));
    // Widths out of bounds and a cut-short blob are read without harm.
    QSettings().setValue(QLatin1String(DialogGlobalTestSequences::SettingsKey), listState(QByteArray(), {5, 1001, 10}));
    { DialogGlobalTestSequences dialog(false); }
    QSettings().setValue(QLatin1String(DialogGlobalTestSequences::SettingsKey), QByteArray::fromHex("0000"));
    { DialogGlobalTestSequences dialog(false); }

    {
        DialogGlobalTestSequences dialog(false);
        dialog.resize(520, 330);
    }
    const QByteArray state = QSettings().value(QLatin1String(DialogGlobalTestSequences::SettingsKey)).toByteArray();
    QDataStream in(state);
    QByteArray geometry;
    qint32 widths[3] = {};
    in >> geometry >> widths[0] >> widths[1] >> widths[2];
    QCOMPARE(in.status(), QDataStream::Ok);
    QVERIFY(in.atEnd());
    QVERIFY(!geometry.isEmpty());
    QVERIFY(widths[1] > 0 && widths[2] > 0);

    {
        DialogEditGlobalTestSequence edit(0);
        edit.resize(640, 430);
    }
    QDataStream editState(QSettings().value(QLatin1String(DialogEditGlobalTestSequence::SettingsKey)).toByteArray());
    editState >> geometry;
    QVERIFY(!geometry.isEmpty());
    QVERIFY(editState.atEnd());
}

void TestGlobalSequenceDialogs::selectModeReportsTheFirstSelectedRow()
{
    const int first = storeGlobal(QStringLiteral("First"));
    const int second = storeGlobal(QStringLiteral("Second"));
    DialogGlobalTestSequences dialog(true);
    auto* table = dialog.findChild<QTableView*>(QStringLiteral("sequencesTable"));
    auto* select = dialog.findChild<QPushButton*>(QStringLiteral("selectBtn"));
    QCOMPARE(dialog.selectedSequenceId(), 0);
    QVERIFY(!select->isEnabled());
    table->selectRow(0);
    table->selectionModel()->select(table->model()->index(1, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QCOMPARE(dialog.selectedSequences(), (QList<int>{first, second}));
    QCOMPARE(dialog.selectedSequenceId(), first);
    QVERIFY(select->isEnabled());
    QVERIFY(!dialog.findChild<QPushButton*>(QStringLiteral("editBtn"))->isEnabled());
    QTest::mouseClick(select, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void TestGlobalSequenceDialogs::namesAreCheckedWithLike()
{
    const int routine = storeGlobal(QStringLiteral("Routine"));
    storeGlobal(QStringLiteral("Year_2"));
    const struct {
        int id;
        const char* name;
        bool refused;
    } cases[] = {{routine, "Routine", false},  // its own name
                 {0, "routine", true},         // another row in other letter case
                 {0, "Year_2", true},
                 {0, "Year22", false},         // the stored "_" is no pattern: LIKE runs on the typed text
                 {0, "Rout_ne", true},         // the typed "_" stands for any one character
                 {0, "Monthly", false},
                 {routine + 100, "Weekly", true}}; // deleted on another workstation since it was opened
    for (const auto& c : cases) {
        m_answerer->clear();
        DialogEditGlobalTestSequence dialog(c.id);
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("name"));
        name->setText(QLatin1String(c.name));
        dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        QVERIFY2(m_answerer->count() == (c.refused ? 1 : 0), c.name);
        QCOMPARE(dialog.result(), c.refused ? int(QDialog::Rejected) : int(QDialog::Accepted));
    }
    // While the refusal waits for its user, other programs may write.
    QString failure = QStringLiteral("not refused");
    m_answerer->answerNext([&](QWidget* box) {
        failure = SeededDatabase::writtenByAnotherProgram(Database::instance()->connection().databaseName());
        qobject_cast<QDialog*>(box)->accept();
    });
    DialogEditGlobalTestSequence dialog(0);
    dialog.findChild<QLineEdit*>(QStringLiteral("name"))->setText(QStringLiteral("Routine"));
    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    QVERIFY2(failure.isEmpty(), qPrintable(failure));

    SqlQuery count;
    count.exec(QStringLiteral("SELECT COUNT(*) FROM GlobalTestSequence"));
    QVERIFY(count.next());
    QCOMPARE(count.value(0).toInt(), 4);  // "Year22" and "Monthly" were added
}

PELVANE_TEST_MAIN(TestGlobalSequenceDialogs)
#include "TestGlobalSequenceDialogs.moc"
