#include "assets/AppliedPartConnectionTypeDelegate.h"
#include "assets/AppliedPartNumConnectionsDelegate.h"
#include "assets/AssetTreeItemDelegate.h"
#include "assets/DateTimeDelegate.h"
#include "assets/EquipmentClassDelegate.h"
#include "assets/InstrumentTypeDelegate.h"
#include "assets/MainsPolarityDelegate.h"
#include "assets/ResultACDCDelegate.h"
#include "assets/SfcDelegate.h"
#include "assets/StatusDelegate.h"
#include "support/TestEnvironment.h"

#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QtTest>
#include <memory>

namespace {

struct Cell
{
    QStandardItemModel model{1, 1};
    QModelIndex index() const { return model.index(0, 0); }
    explicit Cell(const QVariant& value) { model.setData(model.index(0, 0), value, Qt::EditRole); }
};

// Opens the delegate's editor on a cell holding value, as a view would.
std::unique_ptr<QWidget> openEditor(QStyledItemDelegate& delegate, Cell& cell, QWidget* parent)
{
    std::unique_ptr<QWidget> editor(delegate.createEditor(parent, QStyleOptionViewItem(), cell.index()));
    delegate.setEditorData(editor.get(), cell.index());
    return editor;
}

QList<int> comboCodes(QComboBox* combo)
{
    QList<int> codes;
    for (int i = 0; i < combo->count(); ++i)
        codes << combo->itemData(i, Qt::UserRole).toInt();
    return codes;
}

class ItemOptionProbe : public AssetTreeItemDelegate
{
public:
    using AssetTreeItemDelegate::AssetTreeItemDelegate;
    QStyleOptionViewItem option(const QModelIndex& index) const
    {
        QStyleOptionViewItem opt;
        initStyleOption(&opt, index);
        return opt;
    }
};

} // namespace

class TestItemDelegates : public QObject
{
    Q_OBJECT
private slots:
    void codeDelegatesShowTheirTexts();
    void comboEditorsOfferTheirCodesInOrder_data();
    void comboEditorsOfferTheirCodesInOrder();
    void unknownCodeLeavesNoCurrentItemAndStoresNothing();
    void numConnectionsSpinBoxRoundTrip();
    void dateTimeShowsDayMonthYearForEveryType_data();
    void dateTimeShowsDayMonthYearForEveryType();
    void statusIconChosenByCode_data();
    void statusIconChosenByCode();
    void noNameItemsAreItalic();
    void treeNameEditorHoldsWhatTheServerColumnsHold();
};

void TestItemDelegates::codeDelegatesShowTheirTexts()
{
    const QLocale locale;
    QCOMPARE(EquipmentClassDelegate(nullptr).displayText(1, locale), QString("Class I"));
    QCOMPARE(EquipmentClassDelegate(nullptr).displayText(QString("2"), locale), QString("Class II"));
    QCOMPARE(AppliedPartConnectionTypeDelegate(nullptr).displayText(QString("2"), locale), QString("Type BF"));
    QCOMPARE(InstrumentTypeDelegate(nullptr).displayText(16, locale), QString("Tavisk Corvix"));
    QCOMPARE(InstrumentTypeDelegate(nullptr).displayText(0, locale), QString());
}

void TestItemDelegates::comboEditorsOfferTheirCodesInOrder_data()
{
    QTest::addColumn<std::shared_ptr<QStyledItemDelegate>>("delegate");
    QTest::addColumn<QList<int>>("codes");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("chosen");
    using D = std::shared_ptr<QStyledItemDelegate>;
    QTest::newRow("equipment class") << D(new EquipmentClassDelegate(nullptr)) << QList<int>{0, 1, 2} << QVariant(2) << 1;
    QTest::newRow("connection type stored as text")
        << D(new AppliedPartConnectionTypeDelegate(nullptr)) << QList<int>{1, 2, 3} << QVariant("2") << 3;
    QTest::newRow("instrument type without Q2")
        << D(new InstrumentTypeDelegate(nullptr)) << QList<int>{0, 1, 4, 8, 16, 32} << QVariant(8) << 32;
    QTest::newRow("ac/dc") << D(new ResultACDCDelegate(nullptr)) << QList<int>{0, 1, 2} << QVariant(1) << 2;
    QTest::newRow("sfc") << D(new SfcDelegate(nullptr)) << QList<int>{0, 2, 4, 8} << QVariant(0) << 4;
    QTest::newRow("polarity") << D(new MainsPolarityDelegate(nullptr)) << QList<int>{0, 1} << QVariant(1) << 0;
}

void TestItemDelegates::comboEditorsOfferTheirCodesInOrder()
{
    QFETCH(std::shared_ptr<QStyledItemDelegate>, delegate);
    QFETCH(QList<int>, codes);
    QFETCH(QVariant, stored);
    QFETCH(int, chosen);
    QWidget parent;
    Cell cell(stored);
    auto editor = openEditor(*delegate, cell, &parent);
    auto* combo = qobject_cast<QComboBox*>(editor.get());
    QVERIFY(combo);
    QCOMPARE(combo->parentWidget(), &parent);
    QCOMPARE(comboCodes(combo), codes);
    for (int i = 0; i < combo->count(); ++i)
        QCOMPARE(combo->itemText(i), delegate->displayText(codes.at(i), QLocale()));
    QCOMPARE(combo->currentData().toInt(), stored.toInt());
    // Reopening the editor must not duplicate the items.
    delegate->setEditorData(combo, cell.index());
    QCOMPARE(combo->count(), codes.size());
    // The chosen code goes back as a number.
    combo->setCurrentIndex(combo->findData(chosen));
    delegate->setModelData(combo, &cell.model, cell.index());
    QCOMPARE(cell.index().data(Qt::EditRole), QVariant(chosen));
}

void TestItemDelegates::unknownCodeLeavesNoCurrentItemAndStoresNothing()
{
    EquipmentClassDelegate delegate(nullptr);
    Cell cell(7);
    auto editor = openEditor(delegate, cell, nullptr);
    auto* combo = qobject_cast<QComboBox*>(editor.get());
    QCOMPARE(combo->currentIndex(), -1);
    delegate.setModelData(combo, &cell.model, cell.index());
    QCOMPARE(cell.index().data().toInt(), 7);

    InstrumentTypeDelegate instrument(nullptr);
    Cell q2(2);
    auto editor2 = openEditor(instrument, q2, nullptr);
    QCOMPARE(qobject_cast<QComboBox*>(editor2.get())->currentIndex(), -1);
}

void TestItemDelegates::numConnectionsSpinBoxRoundTrip()
{
    AppliedPartNumConnectionsDelegate delegate(nullptr);
    Cell cell(QString("3"));
    auto editor = openEditor(delegate, cell, nullptr);
    auto* spin = qobject_cast<QSpinBox*>(editor.get());
    QVERIFY(spin);
    QCOMPARE(spin->maximum(), 99);
    QCOMPARE(spin->value(), 3);
    spin->setValue(5);
    delegate.setModelData(spin, &cell.model, cell.index());
    QCOMPARE(cell.index().data(Qt::EditRole), QVariant(5));
}

void TestItemDelegates::dateTimeShowsDayMonthYearForEveryType_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("shown");
    const QDateTime when(QDate(2011, 3, 4), QTime(10, 20));
    QTest::newRow("stored text") << QVariant(QString("2011-03-04 10:20:00")) << "04/03/2011";
    QTest::newRow("date-time") << QVariant(when) << "04/03/2011";
    QTest::newRow("date") << QVariant(QDate(2011, 3, 4)) << "04/03/2011";
    QTest::newRow("not a date") << QVariant(QString("yesterday")) << "";
    QTest::newRow("null") << QVariant() << "";
    QTest::newRow("number") << QVariant(42) << "42";
}

void TestItemDelegates::dateTimeShowsDayMonthYearForEveryType()
{
    QFETCH(QVariant, value);
    QFETCH(QString, shown);
    DateTimeDelegate delegate(nullptr);
    QCOMPARE(delegate.displayText(value, QLocale()), shown);
}

void TestItemDelegates::statusIconChosenByCode_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("icon");
    QTest::newRow("pass") << 1 << ":/icons/icons/flag_green.png";
    QTest::newRow("fail") << 2 << ":/icons/icons/cross.png";
    QTest::newRow("alert") << 5 << ":/icons/icons/error.png";
    QTest::newRow("info") << 4 << ":/icons/icons/missing.png";
    QTest::newRow("none") << -1 << ":/icons/icons/missing.png";
}

void TestItemDelegates::statusIconChosenByCode()
{
    QFETCH(int, status);
    QFETCH(QString, icon);
    StatusDelegate delegate(nullptr);
    const QImage expected(icon);
    QVERIFY(!expected.isNull());
    QCOMPARE(delegate.sizeHint(QStyleOptionViewItem(), QModelIndex()), QSize(20, 20));

    Cell cell(status);
    QImage image(20, 20, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QStyleOptionViewItem option;
    option.rect = QRect(0, 0, 20, 20);
    option.decorationAlignment = Qt::AlignCenter;
    {
        QPainter painter(&image);
        delegate.paint(&painter, option, cell.index());
    }
    const QImage painted = image.copy(QRect(QPoint(2, 2), expected.size()))
                               .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QCOMPARE(painted, expected.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

void TestItemDelegates::noNameItemsAreItalic()
{
    ItemOptionProbe delegate(nullptr);
    QStandardItemModel model;
    model.appendRow(new QStandardItem("{No Name}"));
    model.appendRow(new QStandardItem("Ward 1"));
    QVERIFY(delegate.option(model.index(0, 0)).font.italic());
    QVERIFY(!delegate.option(model.index(1, 0)).font.italic());
}

void TestItemDelegates::treeNameEditorHoldsWhatTheServerColumnsHold()
{
    AssetTreeItemDelegate delegate(nullptr);
    Cell cell(QString("Ward 1"));
    QWidget parent;
    auto editor = openEditor(delegate, cell, &parent);
    auto* line = qobject_cast<QLineEdit*>(editor.get());
    QVERIFY(line);
    QCOMPARE(line->text(), QString("Ward 1"));
    QCOMPARE(line->maxLength(), 255);
    editor.release(); // owned by parent
}

PELVANE_TEST_MAIN(TestItemDelegates)
#include "TestItemDelegates.moc"
