#pragma once

#include <QGenericPlugin>

// Loaded into the built program by Qt itself (QT_QPA_GENERIC_PLUGINS=
// pelvanedriver, QT_PLUGIN_PATH naming the folder above "generic"), so that a
// test can drive the real program, started as a user starts it, through its
// own windows. It hands out one WindowDriver.
class WindowDriverPlugin : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "WindowDriverPlugin.json")
public:
    QObject* create(const QString& name, const QString& parameters) override;
};
