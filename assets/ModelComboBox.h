#pragma once

#include <QComboBox>

// The models of one manufacturer, once per Equipment row that names them.
class ModelComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit ModelComboBox(QWidget* parent);

    // Selects the model; the list is read afresh for another manufacturer or
    // an unlisted model, and then the first model is current when the wanted
    // one is not among them.
    void load(const QString& manufacturer, const QString& model);

signals:
    void modelChanged(const QString& model);

public slots:
    void manufacturerChanged(const QString& manufacturer);
    void indexChanged(int index);

private:
    QString m_manufacturer;
};
