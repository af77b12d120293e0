#include "core/ReentrancyGuard.h"

#include <QHash>

namespace {
QHash<QString, qint32>& counts()
{
    static QHash<QString, qint32> map;
    return map;
}
} // namespace

ReentrancyGuard::ReentrancyGuard(const QString& name) : m_name(name)
{
    ++counts()[m_name];
}

ReentrancyGuard::~ReentrancyGuard()
{
    --counts()[m_name];
}

bool ReentrancyGuard::isFirst() const
{
    return counts()[m_name] < 2;
}
