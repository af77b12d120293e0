#include "results/TestResultLeakage.h"

#include "assets/MainsPolarityDelegate.h"
#include "assets/MaximumHeightTableWidget.h"
#include "assets/ResultACDCDelegate.h"
#include "assets/SfcDelegate.h"
#include "assets/StatusDelegate.h"
#include "results/ResultFormat.h"

#include <QHeaderView>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVBoxLayout>

namespace {

enum Column { StatusColumn, ApColumn, AuxApColumn, PolarityColumn, SfcColumn, LimitColumn, ResultColumn, AcDcColumn };

// Earth and enclosure leakage name no applied part; patient leakage names
// one; leakage between applied parts names both.
const QList<int> kNoAppliedPart = {48, 49, 50, 51, 64, 66, 67, 69, 70, 80, 83};
const QList<int> kOneAppliedPart = {71, 72, 81, 82, 84, 85, 96, 98, 99, 112, 114, 115};
const int kTwoAppliedParts = 113;

QTableWidgetItem* cell(const QVariant& value)
{
    auto* item = new QTableWidgetItem;
    item->setData(Qt::DisplayRole, value);
    item->setFlags(Qt::NoItemFlags);
    return item;
}

} // namespace

TestResultLeakage::TestResultLeakage(QWidget* parent) : TestResultBase(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_table = new MaximumHeightTableWidget(this);
    m_table->setObjectName(QStringLiteral("leakageResults"));
    layout->addWidget(m_table);
}

void TestResultLeakage::setUpColumns(int testId)
{
    m_table->setColumnCount(8);
    m_table->setHorizontalHeaderLabels({
        tr("Status", "The pass/fail status of the leakage test"),
        tr("AP", "The applied part in the leakage test"),
        tr("Aux AP", "The auxilary applied part in the leakage test"),
        tr("Polarity", "The polarity of the leakage test"),
        tr("SFC", "The single fault condition in the leakage test"),
        tr("Limit (µA)", "The limits in the leakage test"),
        tr("Result (µA)", "The test measurement in the leakage test"),
        tr("AC/DC", "The AC/DC status in the leakage test"),
    });
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_table->setItemDelegateForColumn(StatusColumn, new StatusDelegate(m_table));
    m_table->setItemDelegateForColumn(PolarityColumn, new MainsPolarityDelegate(m_table));
    m_table->setItemDelegateForColumn(SfcColumn, new SfcDelegate(m_table));
    m_table->setItemDelegateForColumn(AcDcColumn, new ResultACDCDelegate(m_table));
    if (kNoAppliedPart.contains(testId)) {
        m_table->setColumnHidden(ApColumn, true);
        m_table->setColumnHidden(AuxApColumn, true);
    } else if (kOneAppliedPart.contains(testId)) {
        m_table->setColumnHidden(ApColumn, false);
        m_table->setColumnHidden(AuxApColumn, true);
    } else if (testId == kTwoAppliedParts) {
        m_table->setColumnHidden(ApColumn, false);
        m_table->setColumnHidden(AuxApColumn, false);
    }
}

void TestResultLeakage::setResult(QSqlQuery& query)
{
    const QSqlRecord record = query.record();
    auto value = [&](const char* name) { return query.value(record.indexOf(QLatin1String(name))); };
    if (m_table->columnCount() == 0)
        setUpColumns(value("TestId").toInt());

    const int row = m_table->rowCount();
    m_table->insertRow(row);
    m_table->setItem(row, StatusColumn, cell(value("Status").toInt()));
    const QVariant ap = value("PatientConnection");
    if (!ap.isNull())
        m_table->setItem(row, ApColumn, cell(ap.toString()));
    const QVariant auxAp = value("PatientAuxConnection");
    if (!auxAp.isNull())
        m_table->setItem(row, AuxApColumn, cell(auxAp.toString()));
    m_table->setItem(row, PolarityColumn, cell(value("MainsPolarity").toBool() ? 1 : 0));
    m_table->setItem(row, SfcColumn, cell(value("SingleFaultCondition").toInt()));
    m_table->setItem(row, LimitColumn, cell(formatLimit(query)));
    m_table->setItem(row, ResultColumn, cell(formatResult(query)));
    const QVariant acDc = value("ResultACDC");
    m_table->setItem(row, AcDcColumn, cell(acDc.isNull() ? 0 : (acDc.toBool() ? 1 : 2)));
    m_table->updateGeometry();
}
