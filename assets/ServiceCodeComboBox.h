#pragma once

#include <QComboBox>

// The service codes in use by assets that are not recycled, each once, sorted.
class ServiceCodeComboBox : public QComboBox
{
public:
    explicit ServiceCodeComboBox(QWidget* parent);

    // Selects the code, reading the list afresh only when it is not listed;
    // an unknown code leaves no item current and, when editable, shows as
    // typed text.
    void load(const QString& code);
};
