#include "assets/AssetSearch.h"

#include "assets/LikePattern.h"
#include "core/DateFormat.h"
#include "database/Database.h"
#include "ux/CodeTables.h"
#include "ux/StatusString.h"

#include "ui_AssetSearch.h"

#include <QLocale>

AssetSearch::AssetSearch(QWidget* parent) : QScrollArea(parent), m_ui(std::make_unique<Ui::AssetSearch>())
{
    auto* contents = new QWidget;
    m_ui->setupUi(contents);
    setWidget(contents);
    setWidgetResizable(true);
    setWindowTitle(contents->windowTitle());
    setToolTip(contents->toolTip());

    for (int status : {int(Ux::StatusNone), int(Ux::StatusDeleted), int(Ux::StatusPass), int(Ux::StatusFail),
                       int(Ux::StatusAlert), int(Ux::StatusInfo)})
        m_ui->overallStatus->addItem(Ux::StatusString::toString(status), status);

    connect(m_ui->searchBtn, &QPushButton::pressed, this, &AssetSearch::search);
    for (QLineEdit* edit : textFields())
        connect(edit, &QLineEdit::returnPressed, this, &AssetSearch::search);
}

AssetSearch::~AssetSearch() = default;

QList<QLineEdit*> AssetSearch::textFields() const
{
    return {m_ui->assetName, m_ui->description, m_ui->client, m_ui->site, m_ui->location,
            m_ui->manufacturer, m_ui->model, m_ui->serialNo, m_ui->serviceCode};
}

// The date fields hold at most one item, the date in the display format.
QDate AssetSearch::fieldDate(const QComboBox* field)
{
    return QLocale().toDate(field->currentText(), dateFormat);
}

void AssetSearch::search()
{
    // The table matches the fields with LIKE: everything the user typed but a
    // star is taken literally, on every back-end.
    const int type = Database::instance() ? Database::instance()->type() : -1;
    const auto pattern = [type](const QLineEdit* edit) { return LikePattern::withStars(edit->text(), type); };
    SearchFields fields;
    fields.assetName = pattern(m_ui->assetName);
    fields.description = pattern(m_ui->description);
    fields.client = pattern(m_ui->client);
    fields.site = pattern(m_ui->site);
    fields.location = pattern(m_ui->location);
    fields.manufacturer = pattern(m_ui->manufacturer);
    fields.model = pattern(m_ui->model);
    fields.serialNo = pattern(m_ui->serialNo);
    fields.serviceCode = pattern(m_ui->serviceCode);
    fields.retestDateFrom = fieldDate(m_ui->retestDateFrom);
    fields.retestDateTo = fieldDate(m_ui->retestDateTo);
    fields.overallStatus = m_ui->overallStatus->currentData().toInt();
    emit searchAssets(fields);
}

void AssetSearch::reset()
{
    for (QLineEdit* edit : textFields())
        edit->clear();
    m_ui->retestDateFrom->clear();
    m_ui->retestDateTo->clear();
    m_ui->overallStatus->setCurrentIndex(0);
}

void AssetSearch::searchByStatus()
{
    SearchFields fields;
    fields.overallStatus = Ux::StatusAlert;
    m_ui->overallStatus->setCurrentIndex(m_ui->overallStatus->findData(int(Ux::StatusAlert)));
    emit searchAssets(fields);
}
