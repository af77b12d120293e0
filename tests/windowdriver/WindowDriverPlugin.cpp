#include "WindowDriverPlugin.h"

#include "WindowDriver.h"

QObject* WindowDriverPlugin::create(const QString& name, const QString& spec)
{
    Q_UNUSED(name);
    Q_UNUSED(spec);
    return new WindowDriver;
}
