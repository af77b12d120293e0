#include "sequences/TestSequenceWidgetUserTest.h"

#include "ui_TestSequenceWidgetUserTest.h"

#include <QRegularExpressionValidator>

namespace {

// The instrument keeps both texts as single bytes: printable Latin-1 only, and
// no more characters than its record holds, so what is typed is what it shows.
QValidator* instrumentText(int maxLength, QObject* parent)
{
    const QRegularExpression pattern(QStringLiteral("[\\x{20}-\\x{7E}\\x{A0}-\\x{FF}]{0,%1}").arg(maxLength));
    return new QRegularExpressionValidator(pattern, parent);
}

} // namespace

TestSequenceWidgetUserTest::TestSequenceWidgetUserTest(const Ux::TsqTestSequenceElement* element, QWidget* parent)
    : TestSequenceWidget(parent),
      m_element(as<Ux::TsqTestSequenceElementUserTest>(element)),
      ui(std::make_unique<Ui::TestSequenceWidgetUserTest>())
{
    ui->setupUi(this);
    ui->testUnits->addItems({QString(), QStringLiteral("°C "), QStringLiteral("°F"), QStringLiteral("°K"),
                             QStringLiteral("%"), QStringLiteral("J"), QStringLiteral("ohm"),
                             QStringLiteral("l/min"), QStringLiteral("ml"), QStringLiteral("mmHg"),
                             QStringLiteral("cmH20"), QStringLiteral("dBA"), QStringLiteral("Hz"),
                             QStringLiteral("kPa"), QStringLiteral("bar"), QStringLiteral("psi"),
                             QStringLiteral("kg"), QStringLiteral("g"), QStringLiteral("m"), QStringLiteral("mm"),
                             QStringLiteral("cm"), QStringLiteral("mS"), QStringLiteral("mins"),
                             QStringLiteral("hrs")});
    ui->testName->setMaxLength(Ux::TsqTestSequenceElementUserTest::MaxNameLength);
    ui->testName->setValidator(instrumentText(Ux::TsqTestSequenceElementUserTest::MaxNameLength, ui->testName));
    ui->testUnits->lineEdit()->setMaxLength(Ux::TsqTestSequenceElementUserTest::MaxUnitsLength);
    ui->testUnits->setValidator(instrumentText(Ux::TsqTestSequenceElementUserTest::MaxUnitsLength, ui->testUnits));
    bindText(ui->testName, m_element.testName);
    bindEditText(ui->testUnits, m_element.testUnits);
}

TestSequenceWidgetUserTest::~TestSequenceWidgetUserTest() = default;
