#pragma once

#include "assets/AssetTabBase.h"

#include <QByteArray>
#include <QItemSelection>
#include <QList>
#include <memory>

class QItemSelectionModel;
class SqlQueryModel;
class SqlQuery;
namespace Ui { class TestResultsTab; }

// The editor's list of an asset's result sets. Delete only hides rows; the
// hidden rows are the pending deletions, written by apply.
class TestResultsTab : public AssetTabBase
{
    Q_OBJECT
public:
    explicit TestResultsTab(QWidget* parent);
    ~TestResultsTab() override;

    // Three little-endian 32-bit widths, columns 0 to 2; 12 bytes.
    Q_INVOKABLE QByteArray saveColumnWidths() const;
    // A width that is missing or 0 becomes 100.
    Q_INVOKABLE void restoreColumnWidths(const QByteArray& state);

signals:
    void updateAsset(int assetId);

public slots:
    void reset(int assetId) override;
    bool apply() override;
    void clear() override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void removeSelection();
    void viewSelection();
    void connectNewDatabase();
    void releaseOldDatabase();

private:
    QString latestRemainingStatement() const;
    void applyColumnWidths();
    void updateButtons();
    void showAllRows();
    // Every reload of the list goes through here.
    void setModelQuery(SqlQuery&& query);

    std::unique_ptr<Ui::TestResultsTab> ui;
    SqlQueryModel* m_model = nullptr;
    QItemSelectionModel* m_selectionModel = nullptr;
    int m_assetId = -1;
    // The widths last restored or set by the user, 0 where none is known.
    QList<int> m_columnWidths;
    bool m_applyingWidths = false;
};
