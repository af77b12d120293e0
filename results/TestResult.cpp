#include "results/TestResult.h"

#include "assets/ClickableLabel.h"
#include "results/TestResultIECWiring.h"
#include "results/TestResultInsulation.h"
#include "results/TestResultLeakage.h"
#include "results/TestResultResistance.h"
#include "results/TestResultSingleResultAmps.h"
#include "results/TestResultSingleResultVolts.h"
#include "results/TestResultSingleResultkVA.h"
#include "results/TestResultUserResult.h"
#include "results/TestResultVisual.h"
#include "ux/TsqTestElementDetails.h"
#include "database/ColumnText.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const int kUserTest = 253;
const QString kCross = QStringLiteral("image: url(:/icons/icons/cross.png)");

const QList<int> kLeakageTests = {48, 49, 50, 51, 64, 66, 67, 69, 70, 71, 72, 80,
                                  81, 82, 83, 84, 85, 96, 98, 99, 112, 113, 114, 115};

} // namespace

TestResultBase* TestResult::createForm(int testId, QWidget* parent)
{
    switch (testId) {
    case 1:
        return new TestResultVisual(parent);
    case 17: case 18: case 21:
        return new TestResultResistance(parent);
    case 32: case 33: case 34: case 35: case 46: case 47:
        return new TestResultInsulation(parent);
    case 144:
        return new TestResultSingleResultkVA(parent);
    case 145:
        return new TestResultIECWiring(parent);
    case 146: case 148: case 149:
        return new TestResultSingleResultVolts(parent);
    case 147:
        return new TestResultSingleResultAmps(parent);
    case kUserTest:
        return new TestResultUserResult(parent);
    default:
        break;
    }
    if (kLeakageTests.contains(testId))
        return new TestResultLeakage(parent);
    return nullptr;
}

TestResult::TestResult(int testId, QWidget* parent) : QFrame(parent), m_testId(testId)
{
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Plain);
    setObjectName(QStringLiteral("TestResult"));

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(2, 1, 2, 3);
    // The name and the form take the width; the icon keeps its own.
    grid->setColumnStretch(1, 1);

    m_status = new QWidget(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setMinimumSize(20, 20);
    m_status->setStyleSheet(QStringLiteral("image: url(:/icons/icons/flag_green.png);"));
    grid->addWidget(m_status, 0, 0);

    auto* title = new QHBoxLayout;
    title->setSpacing(0);
    m_testLabel = new ClickableLabel(this);
    m_testLabel->setObjectName(QStringLiteral("testLabel"));
    m_testLabel->setCursor(Qt::PointingHandCursor);
    m_testLabel->setText(QStringLiteral("Test Label"));
    title->addWidget(m_testLabel);
    m_detailsBtn = new QToolButton(this);
    m_detailsBtn->setObjectName(QStringLiteral("detailsBtn"));
    m_detailsBtn->setText(QStringLiteral("..."));
    m_detailsBtn->setCheckable(true);
    m_detailsBtn->setAutoRaise(true);
    QIcon toggle;
    toggle.addFile(QStringLiteral(":/icons/icons/bullet_toggle_plus.png"), QSize(), QIcon::Normal, QIcon::Off);
    toggle.addFile(QStringLiteral(":/icons/icons/bullet_toggle_minus.png"), QSize(), QIcon::Normal, QIcon::On);
    m_detailsBtn->setIcon(toggle);
    title->addWidget(m_detailsBtn);
    grid->addLayout(title, 0, 1);

    m_resultDetails = new QVBoxLayout;
    m_resultDetails->setObjectName(QStringLiteral("resultDetails"));
    grid->addLayout(m_resultDetails, 1, 1);

    m_form = createForm(testId, this);
    if (m_form) {
        m_form->hide();
        m_resultDetails->addWidget(m_form);
    }
    QString name = Ux::TsqTestElementDetails::testName(quint8(testId));
    // Some leakage ids have a form but no catalogue row; the id still tells tests apart.
    if (name.isEmpty())
        name = tr("Test %1", "Title of a test that has no name; %1 is its number").arg(testId);
    m_testLabel->setText(name);

    connect(m_detailsBtn, &QToolButton::clicked, this, &TestResult::showResultFields);
    connect(m_testLabel, &ClickableLabel::clicked, m_detailsBtn, &QToolButton::click);
}

TestResult::~TestResult() = default;

void TestResult::setResult(QSqlQuery& query)
{
    const QSqlRecord record = query.record();
    // Once any row of the test failed, the line stays failed.
    if (m_status->styleSheet() != kCross) {
        switch (query.value(record.indexOf(QStringLiteral("Status"))).toInt()) {
        case 1:
            m_status->setStyleSheet(QStringLiteral("image: url(:/icons/icons/flag_green.png)"));
            break;
        case 2:
            m_status->setStyleSheet(kCross);
            break;
        case 4:
            m_status->setStyleSheet(QStringLiteral("image: url(:/icons/icons/information.png)"));
            break;
        case 5:
            m_status->setStyleSheet(QStringLiteral("image: url(:/icons/icons/error.png)"));
            break;
        default:
            break;
        }
    }
    if (m_form)
        m_form->setResult(query);
    if (m_testId == kUserTest) {
        const QString name = ColumnText::of(query.value(record.indexOf(QStringLiteral("CustomName"))));
        m_testLabel->setText(name.isEmpty() ? tr("Custom Result", "Title of a user test without a name")
                                            : tr("%1 (Custom Result)", "Title of a user test; %1 is its name").arg(name));
    }
}

void TestResult::showResultFields()
{
    if (m_form)
        m_form->setVisible(m_detailsBtn->isChecked());
}

void TestResult::onTestTypeChanged(int)
{
    if (m_form && m_detailsBtn->isChecked())
        m_form->setVisible(true);
}
