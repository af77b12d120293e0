#include "core/Translator.h"

#include <QTranslator>

QTranslator* translator()
{
    static QTranslator* instance = new QTranslator;
    return instance;
}
