#include "database/PendingWrite.h"

#include <QList>
#include <QMutex>
#include <QMutexLocker>
#include <utility>

namespace {
QMutex g_lock;
quint64 g_nextId = 0;

QList<std::pair<quint64, QString>>& scopes()
{
    static QList<std::pair<quint64, QString>> list;
    return list;
}
} // namespace

PendingWrite::PendingWrite(const QString& description)
{
    QMutexLocker locker(&g_lock);
    m_id = ++g_nextId;
    scopes().append({m_id, description});
}

PendingWrite::~PendingWrite()
{
    QMutexLocker locker(&g_lock);
    scopes().removeIf([this](const std::pair<quint64, QString>& scope) { return scope.first == m_id; });
}

void PendingWrite::describe(const QString& description)
{
    QMutexLocker locker(&g_lock);
    for (auto& scope : scopes()) {
        if (scope.first == m_id)
            scope.second = description;
    }
}

bool PendingWrite::active()
{
    QMutexLocker locker(&g_lock);
    return !scopes().isEmpty();
}

QStringList PendingWrite::all()
{
    QMutexLocker locker(&g_lock);
    QStringList descriptions;
    for (auto it = scopes().crbegin(); it != scopes().crend(); ++it)
        descriptions << it->second;
    return descriptions;
}
