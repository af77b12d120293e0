#pragma once

#include <QComboBox>

// Every manufacturer of the Equipment table, once per row that names it.
class ManufacturerComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit ManufacturerComboBox(QWidget* parent);

    // Selects the manufacturer, reading the list afresh only when it is not
    // listed; an unknown name leaves no item current.
    void load(const QString& manufacturer);

signals:
    void manufacturerChanged(const QString& manufacturer);

public slots:
    void indexChanged(int index);
};
