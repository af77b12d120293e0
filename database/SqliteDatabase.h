#pragma once

#include "database/Database.h"

// A database kept in one local file, named after the file.
class SqliteDatabase : public Database
{
    Q_OBJECT
public:
    SqliteDatabase();
    ~SqliteDatabase() override;

    int open(const QString& path, bool allowMissing);
    int create(const QString& path);

    const QString& databaseName() const override { return m_fileName; }
    void writeCreateScript(QTextStream& out) override;

    const QString& filePath() const { return m_filePath; }

    static const QString schemaScript;

private:
    QString m_filePath;
    QString m_fileName;
};
