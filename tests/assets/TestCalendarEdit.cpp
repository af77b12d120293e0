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
    void dialogForm();
    void activatedDayBecomesTheOnlyItem();
    void escapeClearsAnEarlierDate();
    void clearDateButtonClearsTheField();
    void selectingWithoutActivatingChangesNothing();
    void calendarReopensOnItsLastSelection();
    void calendarHangsBelowTheFieldsRightEdge();
    void dateParsesTheFieldText();
};

void TestCalendarEdit::dialogForm()
{
    DialogCalendar dialog;
    QCOMPARE(dialog.windowTitle(), QString("Select Date"));
    QVERIFY(dialog.windowFlags() & Qt::Tool);
    QVERIFY(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(dialog.parent() == nullptr);
    auto* clear = dialog.findChild<QPushButton*>(QStringLiteral("clearDateBtn"));
    QVERIFY(clear);
    QCOMPARE(clear->text(), QString("Clear Date"));
    QVERIFY(dialog.calendar());
}

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

void TestCalendarEdit::escapeClearsAnEarlierDate()
{
    CalendarEdit edit(nullptr);
    DialogAnswerer answerer;
    answerer.answerNext(activate(QDate(2024, 6, 1)));
    edit.showPopup();
    QVERIFY(edit.date().isValid());
    answerer.answerNext([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    edit.showPopup();
    QCOMPARE(edit.count(), 0);
    QVERIFY(edit.date().isNull());
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

void TestCalendarEdit::selectingWithoutActivatingChangesNothing()
{
    CalendarEdit edit(nullptr);
    DialogAnswerer answerer;
    answerer.answerNext(activate(QDate(2024, 6, 1)));
    edit.showPopup();

    bool stillOpen = false;
    QString textWhileOpen;
    answerer.answerNext([&](QWidget* dialog) {
        calendarOf(dialog)->setSelectedDate(QDate(2024, 6, 20));
        QCoreApplication::processEvents();
        stillOpen = dialog->isVisible();
        textWhileOpen = edit.currentText();
        // Closing the window counts as no date.
        dialog->close();
    });
    edit.showPopup();
    QVERIFY(stillOpen);
    QCOMPARE(textWhileOpen, QString("01/06/2024"));
    QCOMPARE(edit.count(), 0);
}

void TestCalendarEdit::calendarReopensOnItsLastSelection()
{
    CalendarEdit edit(nullptr);
    DialogAnswerer answerer;
    answerer.answerNext(activate(QDate(2023, 11, 7)));
    edit.showPopup();
    answerer.answerNext([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    edit.showPopup();
    QCOMPARE(edit.count(), 0);

    QDate shown;
    answerer.answerNext([&](QWidget* dialog) {
        shown = calendarOf(dialog)->selectedDate();
        static_cast<QDialog*>(dialog)->reject();
    });
    edit.showPopup();
    QCOMPARE(shown, QDate(2023, 11, 7));
}

void TestCalendarEdit::calendarHangsBelowTheFieldsRightEdge()
{
    QWidget window;
    window.resize(400, 300);
    CalendarEdit edit(&window);
    edit.setGeometry(200, 20, 150, 24);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    DialogAnswerer answerer;
    QPoint position;
    QPoint expected;
    auto measure = [&](QWidget* dialog) {
        position = dialog->pos();
        expected = edit.mapToGlobal(QPoint(edit.width() - dialog->width(), edit.height()));
        static_cast<QDialog*>(dialog)->reject();
    };
    // The first opening lays the calendar out at its real size; from then on
    // its right edge lines up with the field's.
    answerer.answerNext(measure);
    edit.showPopup();
    answerer.answerNext(measure);
    edit.showPopup();
    QCOMPARE(answerer.count(), 2);
    QCOMPARE(position, expected);
    QVERIFY(position.y() >= window.mapToGlobal(QPoint(0, 44)).y());
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
