#include "database/PendingWrite.h"

#include <QList>
#include <QMutex>
#include <QMutexLocker>

namespace {
QMutex g_lock;
quint64 g_nextId = 0;

struct Scope
{
    quint64 id;
    QString description;
    QString done;
};

QList<Scope>& scopes()
{
    static QList<Scope> list;
    return list;
}
} // namespace

PendingWrite::PendingWrite(const QString& description)
{
    QMutexLocker locker(&g_lock);
    m_id = ++g_nextId;
    scopes().append({m_id, description, QString()});
}

PendingWrite::~PendingWrite()
{
    QMutexLocker locker(&g_lock);
    scopes().removeIf([this](const Scope& scope) { return scope.id == m_id; });
}

void PendingWrite::describe(const QString& description)
{
    QMutexLocker locker(&g_lock);
    for (Scope& scope : scopes()) {
        if (scope.id == m_id)
            scope.description = description;
    }
}

void PendingWrite::describe(const QString& description, const QString& done)
{
    describe(description);
    QMutexLocker locker(&g_lock);
    for (Scope& scope : scopes()) {
        if (scope.id == m_id)
            scope.done = done;
    }
}

QStringList PendingWrite::done()
{
    QMutexLocker locker(&g_lock);
    QStringList stored;
    for (auto it = scopes().crbegin(); it != scopes().crend(); ++it)
        if (!it->done.isEmpty())
            stored << it->done;
    return stored;
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
        descriptions << it->description;
    return descriptions;
}
