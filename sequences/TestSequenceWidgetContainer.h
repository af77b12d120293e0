#pragma once

#include <QFrame>
#include <memory>

class TestSequenceWidget;
namespace Ui { class TestSequenceWidgetContainer; }

// The frame of one element in a sequence list: the element's name, a toggle
// for its settings and, below, its editor. Clicking the name or the toggle
// selects the element.
class TestSequenceWidgetContainer : public QFrame
{
    Q_OBJECT
public:
    explicit TestSequenceWidgetContainer(const QString& name);
    ~TestSequenceWidgetContainer() override;

    // The container takes the editor over.
    void addWidget(QWidget* editor);
    TestSequenceWidget* widget() const;
    void setSelected(bool selected);
    QString name() const { return m_name; }

signals:
    void clicked(TestSequenceWidgetContainer* container);

public slots:
    void showDetails();
    void labelClicked();

private:
    QString m_name;
    std::unique_ptr<Ui::TestSequenceWidgetContainer> ui;
};
