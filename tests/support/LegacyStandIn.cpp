#include "support/LegacyStandIn.h"

#include <QDebug>
#include <QSqlError>
#include <QSqlQuery>

LegacyStandIn::LegacyStandIn(const QString& path) : Database(DatabaseMsSql), m_name(path)
{
    m_connectionName = QStringLiteral("legacy:") + path;
    m_connection = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    m_connection.setDatabaseName(path);
    m_connection.open();
    for (const char* statement : {
             "CREATE TABLE IF NOT EXISTS Assetdetails (AssetID TEXT, Description TEXT, Client TEXT, Site TEXT, "
             "Location TEXT, Manufacturer TEXT, Model TEXT, SerialNo TEXT, Servicecode TEXT, Period INTEGER, "
             "Status TEXT, Comments TEXT, UserName TEXT)",
             "CREATE TABLE IF NOT EXISTS AppliedParts (ID TEXT, PartName TEXT, Type TEXT, Noconnect INTEGER, "
             "Connections TEXT)",
             "CREATE TABLE IF NOT EXISTS TblTestResults (AID TEXT, Date TEXT, TestType TEXT, Mains TEXT, SFC TEXT, "
             "AP TEXT, \"Limit\" TEXT, TResult TEXT, Unit TEXT, Status TEXT, Comments TEXT, Tinstrument TEXT, "
             "SerialNo TEXT, Type TEXT, Person TEXT, RType TEXT)",
             "CREATE TABLE IF NOT EXISTS TblUserResult (AID TEXT, Instruction TEXT, Date TEXT, Result TEXT, "
             "Unit TEXT, Status TEXT)",
             "CREATE TABLE IF NOT EXISTS TestSequence (AId TEXT, Name TEXT, Class TEXT, Type INTEGER, "
             "Duration INTEGER, \"Limit\" TEXT, NoOfTimes INTEGER, SFC TEXT, TestCondition INTEGER, BLimit TEXT, "
             "CLimit TEXT)"})
        exec(QString::fromLatin1(statement));
}

bool LegacyStandIn::insert(const QString& table, const QVariantList& values)
{
    QStringList marks;
    for (int i = 0; i < values.size(); ++i)
        marks << QStringLiteral("?");
    QSqlQuery q(m_connection);
    q.prepare(QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(table, marks.join(QLatin1Char(','))));
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (q.exec())
        return true;
    qWarning() << "legacy insert failed:" << q.lastError().text();
    return false;
}

bool LegacyStandIn::exec(const QString& statement)
{
    QSqlQuery q(m_connection);
    if (q.exec(statement))
        return true;
    qWarning() << "legacy statement failed:" << q.lastError().text() << statement;
    return false;
}
