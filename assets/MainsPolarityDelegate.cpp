#include "assets/MainsPolarityDelegate.h"

#include "ux/MainsPolarityString.h"

MainsPolarityDelegate::MainsPolarityDelegate(QObject* parent) : CodeComboDelegate(parent) {}

QList<int> MainsPolarityDelegate::codes() const
{
    return {0, 1};
}

QString MainsPolarityDelegate::codeText(int code) const
{
    return Ux::MainsPolarityString::toString(code);
}
