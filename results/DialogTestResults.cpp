#include "results/DialogTestResults.h"

#include "ui_DialogTestResults.h"

#include "core/DateFormat.h"
#include "database/SqlQuery.h"
#include "results/TestResult.h"
#include "ux/InstrumentTypeString.h"
#include "ux/TestModeString.h"
#include "database/ColumnText.h"

#include <QScreen>
#include <QSpacerItem>
#include <QSqlRecord>

namespace {
const int kUserTest = 253;
} // namespace

DialogTestResults::DialogTestResults(int resultSetId, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::DialogTestResults>())
{
    ui->setupUi(this);
    fillHeader(resultSetId);
    fillResults(resultSetId);
    // The tests are what the dialog is shown for: most of its height, as
    // much as the screen has, and a few lines for the comments.
    if (const QScreen* screen = parent ? parent->screen() : this->screen()) {
        const QSize room = screen->availableGeometry().size() - QSize(0, 4 * fontMetrics().height());
        resize(size().expandedTo(QSize(760, 820)).boundedTo(room).expandedTo(minimumSizeHint()));
    }
    layout()->activate();
    const int comments = ui->groupBox_2->minimumSizeHint().height() + 3 * fontMetrics().lineSpacing();
    ui->splitter->setSizes({ui->splitter->height() - comments, comments});
}

DialogTestResults::~DialogTestResults() = default;

void DialogTestResults::fillHeader(int resultSetId)
{
    SqlQuery query(QStringLiteral(
        "SELECT rs.AssetId,rs.Date,rs.TestMode,rs.OverallResult,rs.UserName,rs.Comments, "
        "i.InstrumentType,i.SerialNo FROM ResultSet rs LEFT JOIN Instrument i ON i.Id=rs.InstrumentId "
        "WHERE rs.Id=:ResultSetId"));
    query.bindValue(QStringLiteral(":ResultSetId"), resultSetId);
    query.exec();
    // The set may have been deleted behind the list's back; the dialog then shows it empty.
    if (!query.next())
        return;
    ui->testDate->setText(dateTimeFromVariant(query.value(1)).toString(QStringLiteral("dd/MM/yyyy hh:mm:ss")));
    ui->testMode->setText(Ux::TestModeString::toString(query.value(2).toInt()));
    switch (query.value(3).toInt()) {
    case 1:
        ui->status->setStyleSheet(QStringLiteral("image: url(:/icons/icons/flag_green_large.png);"));
        break;
    case 2:
        ui->status->setStyleSheet(QStringLiteral("image: url(:/icons/icons/cross_large.png);"));
        break;
    case 4:
        ui->status->setStyleSheet(QStringLiteral("image: url(:/icons/icons/information_large.png);"));
        break;
    case 5:
        ui->status->setStyleSheet(QStringLiteral("image: url(:/icons/icons/error_large.png);"));
        break;
    default:
        break;
    }
    ui->testerName->setText(ColumnText::of(query.value(4)));
    ui->comments->setPlainText(ColumnText::of(query.value(5)));
    ui->testerType->setText(Ux::InstrumentTypeString::toString(query.value(6).toInt()));
    ui->testerSerialNo->setText(ColumnText::of(query.value(7)));
}

void DialogTestResults::fillResults(int resultSetId)
{
    SqlQuery query(QStringLiteral("SELECT * FROM Result WHERE ResultSetId=:ResultSetId"));
    query.bindValue(QStringLiteral(":ResultSetId"), resultSetId);
    query.exec();
    const int testIdColumn = query.record().indexOf(QStringLiteral("TestId"));
    int previousTestId = -1;
    TestResult* current = nullptr;
    while (query.next()) {
        const int testId = query.value(testIdColumn).toInt();
        // Consecutive rows of one test are one line; every user test is its own.
        if (!current || testId != previousTestId || testId == kUserTest) {
            current = new TestResult(testId, this);
            ui->testResultsListLayout->addWidget(current);
        }
        current->setResult(query);
        previousTestId = testId;
    }
    ui->testResultsListLayout->addItem(new QSpacerItem(10, 1000, QSizePolicy::Minimum, QSizePolicy::Expanding));
}
