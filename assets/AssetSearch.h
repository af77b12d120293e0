#pragma once

#include "assets/SearchFields.h"

#include <QScrollArea>
#include <memory>

class QComboBox;
class QLineEdit;

namespace Ui {
class AssetSearch;
}

// The search panel of the browser dock: packs the criteria into a record for
// the asset table, which builds the statement.
class AssetSearch : public QScrollArea
{
    Q_OBJECT
public:
    explicit AssetSearch(QWidget* parent = nullptr);
    ~AssetSearch() override;

    void reset();
    void searchByStatus();

signals:
    void searchAssets(SearchFields fields);

public slots:
    void search();

private:
    QList<QLineEdit*> textFields() const;
    static QDate fieldDate(const QComboBox* field);

    std::unique_ptr<Ui::AssetSearch> m_ui;
};
