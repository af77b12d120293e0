#pragma once

#include "database/Database.h"

#include <QVariantList>

// The first version's tables, with the columns the import reads, in a SQLite
// file: the file the first version kept on SQL Server, as far as the import
// is concerned. Serves as the legacy connection of an import.
class LegacyStandIn : public Database
{
public:
    explicit LegacyStandIn(const QString& path);

    const QString& databaseName() const override { return m_name; }
    void writeCreateScript(QTextStream&) override {}

    // One row of table, values in column order; false (with a warning) on failure.
    bool insert(const QString& table, const QVariantList& values);
    bool exec(const QString& statement);

private:
    QString m_name;
};
