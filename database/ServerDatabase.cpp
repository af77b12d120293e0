#include "database/ServerDatabase.h"

Database* ServerDatabase::connectFromSettings(int type, const ConnectionSettings& settings)
{
    Q_UNUSED(type);
    Q_UNUSED(settings);
    // Server back-ends are not built yet; nothing is opened.
    return nullptr;
}
