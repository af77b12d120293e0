#pragma once

#include <QDialog>
#include <QString>
#include <memory>

class Database;
class QComboBox;
class QDataStream;

namespace Ui { class DialogConnection; }

// Chooses the database to work on: a new or existing SQLite file, or a
// database on a SQL Server or MySQL server. A successful action hands the
// new database on through databaseOpened() and closes the dialog; a failed
// one leaves it open. What was typed is remembered, passwords never.
class DialogConnection : public QDialog
{
    Q_OBJECT
public:
    explicit DialogConnection(QWidget* parent = nullptr);
    ~DialogConnection() override;

    static void writeComboHistory(const QComboBox* box, QDataStream& out);
    void readComboHistory(QDataStream& in, QComboBox* box);

    static const QString settingsKey;

signals:
    // The receiver takes the database over; without one it becomes the
    // current database directly.
    void databaseOpened(Database* db);

public slots:
    void createSQLiteDatabase();
    void openSQLiteDatabase();
    void msSqlConnect();
    void mySqlConnect();
    void useNtSecurityStateChanged(int state);
    void populateMsDatabases();
    void populateMyDatabases();
    void accept() override;

private:
    // Hands a database whose open succeeded (result 0) on and closes the
    // dialog; a failed one is destroyed and the dialog stays.
    void finish(Database* db, int result);

    std::unique_ptr<Ui::DialogConnection> ui;
    QString m_sqlitePath;
};
