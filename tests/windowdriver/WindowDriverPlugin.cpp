#include "WindowDriverPlugin.h"

#include "WindowDriver.h"

QObject* WindowDriverPlugin::create(const QString& name, const QString& parameters)
{
    Q_UNUSED(name);
    Q_UNUSED(parameters);
    return new WindowDriver;
}
