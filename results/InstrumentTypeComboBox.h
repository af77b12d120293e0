#pragma once

#include <QComboBox>

// The instrument models a user may register, with the type bit as item data.
class InstrumentTypeComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit InstrumentTypeComboBox(QWidget* parent);
};
