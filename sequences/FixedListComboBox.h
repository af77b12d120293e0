#pragma once

#include <QComboBox>

// A simulator parameter chosen from a fixed list. Editors store the position
// of the chosen entry, so the order of the items is part of the stored data.
class FixedListComboBox : public QComboBox
{
    Q_OBJECT
public:
    FixedListComboBox(const QStringList& items, QWidget* parent);
};
