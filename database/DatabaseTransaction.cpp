#include "database/DatabaseTransaction.h"

#include "database/Database.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>

namespace {
QMutex depthLock;
QHash<QString, int>& depths()
{
    static QHash<QString, int> map;
    return map;
}
} // namespace

DatabaseTransaction::DatabaseTransaction(QSqlDatabase* connection)
{
    if (connection)
        m_connection = *connection;
    else if (Database::instance())
        m_connection = Database::instance()->connection();
    if (!m_connection.isValid())
        return;
    {
        QMutexLocker locker(&depthLock);
        m_outermost = depths()[m_connection.connectionName()]++ == 0;
    }
    if (m_outermost)
        m_connection.transaction();
}

DatabaseTransaction::~DatabaseTransaction()
{
    if (!m_connection.isValid())
        return;
    if (m_outermost)
        m_connection.commit();
    QMutexLocker locker(&depthLock);
    int& depth = depths()[m_connection.connectionName()];
    if (--depth <= 0)
        depths().remove(m_connection.connectionName());
}
