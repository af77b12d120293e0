#pragma once

#include <QComboBox>

// The clients of the current database by name, with a blank first item; item
// data is the client's Id (0 for the blank item).
class ClientComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit ClientComboBox(QWidget* parent);

    // Selects the client, reading the list afresh only when it is not listed;
    // an unknown id leaves no item current.
    void load(int clientId);
    // Shows a client's new name without reloading the list.
    void reloadName(int clientId);

signals:
    void clientChanged(int clientId);

public slots:
    void indexChanged(int index);
};
