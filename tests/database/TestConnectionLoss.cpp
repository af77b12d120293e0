// Which failed statements mean the server connection is gone. Only those
// are told as a lost connection; a deadlock, a lock wait that timed out or a
// faulty statement must stay what it was.

#include "database/ConnectionLoss.h"
#include "database/Database.h"
#include "support/TestEnvironment.h"

#include <QSqlError>
#include <QtTest>

class TestConnectionLoss : public QObject
{
    Q_OBJECT
private slots:
    void lostConnectionsAreTold_data();
    void lostConnectionsAreTold();
};

void TestConnectionLoss::lostConnectionsAreTold_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("lost");

    QTest::newRow("MySQL gone away") << int(DatabaseMySql) << "Server has gone away" << "2006" << true;
    QTest::newRow("MySQL lost during query") << int(DatabaseMySql) << "Lost connection to server during query"
                                             << "2013" << true;
    QTest::newRow("MySQL lost, extended") << int(DatabaseMySql)
                                          << "Lost connection to MySQL server at 'reading initial communication "
                                             "packet', system error: 104"
                                          << "2055" << true;
    QTest::newRow("MariaDB killed") << int(DatabaseMySql) << "Connection was killed" << "1927" << true;
    QTest::newRow("MySQL shutting down") << int(DatabaseMySql) << "Server shutdown in progress" << "1053" << true;
    QTest::newRow("MySQL deadlock") << int(DatabaseMySql) << "Deadlock found when trying to get lock" << "1213"
                                    << false;
    QTest::newRow("MySQL lock wait") << int(DatabaseMySql) << "Lock wait timeout exceeded; try restarting transaction"
                                     << "1205" << false;
    QTest::newRow("MySQL unknown column") << int(DatabaseMySql) << "Unknown column 'x' in 'field list'" << "1054"
                                          << false;
    QTest::newRow("MySQL duplicate key") << int(DatabaseMySql) << "Duplicate entry '1' for key 'PRIMARY'" << "1062"
                                         << false;
    QTest::newRow("ODBC link failure")
        << int(DatabaseMsSql) << "[Microsoft][ODBC Driver 18 for SQL Server]Communication link failure" << "0"
        << true;
    QTest::newRow("ODBC socket reset")
        << int(DatabaseMsSql)
        << "[Microsoft][ODBC Driver 18 for SQL Server]TCP Provider: Error code 0x2746" << "10054" << true;
    QTest::newRow("ODBC query timeout")
        << int(DatabaseMsSql) << "[Microsoft][ODBC Driver 18 for SQL Server]Query timeout expired" << "0" << true;
    QTest::newRow("FreeTDS read failed") << int(DatabaseMsSql) << "[FreeTDS][SQL Server]Read from the server failed"
                                         << "20004" << true;
    QTest::newRow("ODBC SQLSTATE list") << int(DatabaseMsSql) << "[unixODBC]Connection not open, 08003" << "0"
                                        << true;
    QTest::newRow("ODBC deadlock")
        << int(DatabaseMsSql)
        << "[Microsoft][ODBC Driver 18 for SQL Server][SQL Server]Transaction (Process ID 53) was deadlocked on "
           "lock resources with another process and has been chosen as the deadlock victim. Rerun the transaction."
        << "1205" << false;
    QTest::newRow("ODBC lock time-out")
        << int(DatabaseMsSql)
        << "[Microsoft][ODBC Driver 18 for SQL Server][SQL Server]Lock request time out period exceeded., 40001"
        << "1222" << false;
    QTest::newRow("ODBC missing table")
        << int(DatabaseMsSql) << "[Microsoft][ODBC Driver 18 for SQL Server][SQL Server]Invalid object name 'Foo'."
        << "208" << false;
    QTest::newRow("SQLite locked") << int(DatabaseSqlite) << "database is locked" << "5" << false;
}

void TestConnectionLoss::lostConnectionsAreTold()
{
    QFETCH(int, type);
    QFETCH(QString, message);
    QFETCH(QString, code);
    QFETCH(bool, lost);
    const QSqlError error(QStringLiteral("Unable to execute statement"), message, QSqlError::StatementError, code);
    QCOMPARE(ConnectionLoss::isLost(error, type), lost);
}

PELVANE_TEST_MAIN(TestConnectionLoss)
#include "TestConnectionLoss.moc"
