#pragma once

#include <QWidget>
#include <memory>

class TestSequenceWidgetContainer;
class QVBoxLayout;
namespace Ui { class TestSequence; }
namespace Ux { class TsqTestSequenceElement; }

// One test sequence shown and edited element by element: a framed editor per
// element, top to bottom, with the buttons that add, delete, move and import
// elements. The sequence is stored as a blob of element records, back to
// back, that travels to and from the instruments byte for byte.
class TestSequence : public QWidget
{
    Q_OBJECT
public:
    explicit TestSequence(QWidget* parent = nullptr);
    ~TestSequence() override;

    // Appends the elements of a stored sequence (global or an asset's) to the
    // list; false when the row does not exist.
    bool load(int id, bool global);
    // The blob of what the list shows: never null, empty for no elements.
    QByteArray data() const;
    void clear();
    // Used for the element-type dialog and for editors created from now on.
    void setEquipmentClass(int equipmentClass);
    int equipmentClass() const { return m_equipmentClass; }

    // The editor for an element id in its frame, or null for an id without
    // one. With element null the editor starts from the defaults of the id.
    TestSequenceWidgetContainer* createElementWidget(quint8 testId, Ux::TsqTestSequenceElement* element);

    int elementCount() const;
    TestSequenceWidgetContainer* container(int index) const;
    TestSequenceWidgetContainer* selectedElement() const { return m_selectedElement; }
    QString loadedName() const { return m_name; }
    Ui::TestSequence* form() const { return ui.get(); }

signals:
    void modified();

public slots:
    void testSequenceClicked(TestSequenceWidgetContainer* container);
    void elementModified();
    void importSequence();
    void addElement();
    void deleteElement();
    void moveUp();
    void moveDown();
    void moveSelectedElement(int delta);

private:
    QVBoxLayout* elementsLayout() const;
    void select(TestSequenceWidgetContainer* container);
    void updateButtons();

    std::unique_ptr<Ui::TestSequence> ui;
    TestSequenceWidgetContainer* m_selectedElement = nullptr;
    int m_equipmentClass = 0;
    int m_id = 0;
    bool m_global = false;
    QString m_name;
};
