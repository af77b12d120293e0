#pragma once

#include <QDate>
#include <QMetaType>
#include <QString>

// Asset search criteria. A text is a criterion when it is not empty (a LIKE
// pattern for an " ESCAPE '!'" clause, see LikePattern), a date when it is
// valid, the status when it is not -1.
struct SearchFields
{
    QString assetName;
    QString description;
    QString client;
    QString site;
    QString location;
    QString manufacturer;
    QString model;
    QString serialNo;
    QString serviceCode;
    QDate retestDateFrom;
    QDate retestDateTo;
    int overallStatus = -1;
};

Q_DECLARE_METATYPE(SearchFields)
