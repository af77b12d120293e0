#pragma once

#include <QComboBox>

// The patient size of an O-curve: index 0 Adult, 1 Infant.
class AdultInfantComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit AdultInfantComboBox(QWidget* parent = nullptr);
};
