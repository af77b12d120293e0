#pragma once

#include "assets/SearchFields.h"
#include "database/PagedQueryModel.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPoint>
#include <QPointer>
#include <QSet>
#include <QSqlError>
#include <QTableView>
#include <QVariantMap>

class AssetQueryModel;

// The asset list: the assets of a tree node, the recycle bin or a search.
// Every list is one statement run by the database, sorted there.
class AssetTableView : public QTableView
{
    Q_OBJECT
public:
    enum Column {
        IdColumn = 0,
        StatusColumn = 1,
        NameColumn = 2,
        DescriptionColumn = 3,
        LastTestColumn = 4,
        RetestDateColumn = 5,
        DeletedLocationColumn = 6,
        ColumnCount = 7
    };

    explicit AssetTableView(QWidget* parent = nullptr);

    void setup(AssetQueryModel* model);
    void setSelectionModel(QItemSelectionModel* selectionModel) override;
    void selectAll() override;
    void restoreState(const QByteArray& state);
    QByteArray saveState() const;

    // statement with its ORDER BY replaced by the model's sort state.
    QString orderByClause(const QString& statement) const;
    bool showsSearchResults() const { return m_searchResults; }

signals:
    void requestShowContextMenu(QPoint globalPos);
    // Assets that stayed selected while their list was read again and that
    // it no longer holds, or that the user's choice replaced before their
    // rows came: the selection model never held them, so never deselects
    // them.
    void selectionDropped(QList<int> ids);

public slots:
    void onUpdateTranslations();
    void assetAdded(int id);
    bool assetUpdated(int id);
    void assetsRemoved(QList<int> ids);
    void assetsRestored(QList<int> ids);
    void showLocationAssets(int id);
    void showSiteAssets(int id);
    void showClientAssets(int id);
    void showAllAssets();
    void showRecycledAssets();
    void showSearchResults(const SearchFields& fields);
    void selectAsset(int id);
    void showContextMenu(const QPoint& pos);
    void refresh();

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;

private:
    void dropPendingSelection(qint64 kept = 0);
    bool setStatement(const QString& statement, const QVariantMap& values = {});
    static QString withoutOrder(const QString& statement);
    QList<PagedQueryModel::SortKey> sortKeys() const;
    void selectArrivedAssets(int first, int last);
    void selectRows(const QList<int>& rows);
    void scrollToRow(int row);
    QList<qint64> selectedKeys() const;
    void tellListFailed(const QString& statement, const QSqlError& error);
    void showList(const QString& statement, bool recycled);
    void setColumnShown(int column, bool shown);
    void widenToHeaderTexts();
    void refreshAndSelect(const QList<int>& ids);

    QPointer<AssetQueryModel> m_model;
    bool m_searchResults = false;
    SearchFields m_lastSearch;
    // Widths that hidden columns take again when they are shown.
    QHash<int, int> m_hiddenWidths;
    // Assets to select once the list's keys bring them: the selection of
    // the list before, or an asset asked for; dropped when the user
    // chooses rows meanwhile or the list has come whole.
    QSet<qint64> m_pendingSelection;
    bool m_selecting = false;
    // The statement whose failure the user was told of.
    QString m_toldFailure;
};
