#pragma once

#include "assets/AssetTreeItem.h"
#include "assets/AssetTreeModel.h"
#include "database/SqlQuery.h"
#include "database/SqliteDatabase.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <memory>

// The tree as the main window builds it for a newly installed database:
// root, database node and the Recycled node, then the model fills it.
struct AssetTreeFixture
{
    std::unique_ptr<AssetTreeItem> root;
    std::unique_ptr<AssetTreeModel> model;

    explicit AssetTreeFixture(Database* db)
    {
        AssetTreeItem::initIcons();
        root = std::make_unique<AssetTreeItem>(0, QStringLiteral("root"), AssetTreeRoot, nullptr);
        auto* database = new AssetTreeItem(0, db->databaseName(), AssetTreeDatabase, root.get());
        root->appendChild(database);
        database->appendChild(new AssetTreeItem(
            0, QCoreApplication::translate("AssetTreeView", "Recycled"), AssetTreeRecycled, database));
        model = std::make_unique<AssetTreeModel>(root.get());
        db->setAssetTreeModel(model.get());
    }

    ~AssetTreeFixture()
    {
        // The model does not own its nodes; it goes first so nothing refers to them.
        model.reset();
        root.reset();
    }
};

inline SqliteDatabase* newSeededDatabase()
{
    return SeededDatabase::createSeeded(TestEnvironment::instance()->newFolder() + QStringLiteral("/assets.db"));
}

inline QVariant scalar(const QString& statement)
{
    SqlQuery query;
    query.exec(statement);
    return query.next() ? query.value(0) : QVariant();
}
