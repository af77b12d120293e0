#pragma once

#include <QColor>
#include <QLineEdit>

// One of the instrument's ten patient connections, filled with the colour
// of the applied part that uses it and framed more heavily when selected.
class ApConnection : public QLineEdit
{
    Q_OBJECT
public:
    explicit ApConnection(QWidget* parent = nullptr);

    void setColour(const QColor& colour);
    void setSelected(bool selected);
    QColor colour() const { return m_fillColour; }
    bool isSelected() const { return m_selected; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_fillColour{255, 255, 255, 255};
    bool m_selected = false;
};
