#pragma once

#include <QComboBox>

// Equipment class chooser: the item index is the class code (0 none,
// 1 Class I, 2 Class II), which is also each item's data.
class EquipmentClassComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit EquipmentClassComboBox(QWidget* parent = nullptr);
};
