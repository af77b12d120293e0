#include "assets/CalendarEdit.h"
#include "support/DialogAnswerer.h"
#include "support/TestEnvironment.h"

#include <QCalendarWidget>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

namespace {

QCalendarWidget* calendarOf(QWidget* dialog)
{
    return dialog->findChild<QCalendarWidget*>(QStringLiteral("calendar"));
}

// Picks a day the way a user confirms one: select it, then Enter in the grid.
DialogAnswerer::Handler activate(const QDate& date)
{
    return [date](QWidget* dialog) {
        QCalendarWidget* calendar = calendarOf(dialog);
        calendar->setSelectedDate(date);
        QTest::keyClick(calendar->findChild<QTableView*>(), Qt::Key_Return);
    };
}

} // namespace

class TestCalendarEdit : public QObject
{
    Q_OBJECT
private slots:
    void activatedDayBecomesTheOnlyItem();
    void clearDateButtonClearsTheField();
    void dateParsesTheFieldText();
};

void TestCalendarEdit::activatedDayBecomesTheOnlyItem()
{
    CalendarEdit edit(nullptr);
    DialogAnswerer answerer;
    answerer.answerNext(activate(QDate(2024, 2, 29)));
    edit.showPopup();
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.last().title, QString("Select Date"));
    QCOMPARE(edit.count(), 1);
    QCOMPARE(edit.currentIndex(), 0);
    QCOMPARE(edit.currentText(), QString("29/02/2024"));
    QVERIFY(!edit.itemData(0).isValid());
    QCOMPARE(edit.date(), QDate(2024, 2, 29));

    // A second pick replaces the first.
    answerer.answerNext(activate(QDate(2025, 1, 5)));
    edit.showPopup();
    QCOMPARE(edit.count(), 1);
    QCOMPARE(edit.currentText(), QString("05/01/2025"));
}

void TestCalendarEdit::clearDateButtonClearsTheField()
{
    CalendarEdit edit(nullptr);
    DialogAnswerer answerer;
    answerer.answerNext(activate(QDate(2024, 6, 1)));
    edit.showPopup();
    answerer.answerNext([](QWidget* dialog) {
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("clearDateBtn")), Qt::LeftButton);
    });
    edit.showPopup();
    QCOMPARE(edit.count(), 0);
    QCOMPARE(answerer.count(), 2);
}

void TestCalendarEdit::dateParsesTheFieldText()
{
    CalendarEdit edit(nullptr);
    QVERIFY(edit.date().isNull());
    edit.addItem("31/12/2023");
    QCOMPARE(edit.date(), QDate(2023, 12, 31));
    edit.setItemText(0, "2023-12-31");
    QVERIFY(edit.date().isNull());
    edit.setItemText(0, "31/02/2023");
    QVERIFY(edit.date().isNull());
}

PELVANE_TEST_MAIN(TestCalendarEdit)
#include "TestCalendarEdit.moc"
