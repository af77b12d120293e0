#pragma once

#include <QDialog>
#include <memory>

class QListWidget;
class QListWidgetItem;
namespace Ui { class DialogTestSequenceElementTypes; }

// Chooses the kind of element to add to a sequence: one list of element
// types per instrument model, the types not allowed for the chosen
// equipment class hidden.
class DialogTestSequenceElementTypes : public QDialog
{
    Q_OBJECT
public:
    explicit DialogTestSequenceElementTypes(int equipmentClass, QWidget* parent = nullptr);
    ~DialogTestSequenceElementTypes() override;

    // The chosen test-element id; 0 while nothing is chosen.
    int testId() const { return m_testId; }
    QList<QListWidget*> lists() const;

    static constexpr const char* LastTesterKey = "win/DialogTestSequenceElementTypes/LastTester";
    static constexpr const char* LastEquipmentClassKey = "win/DialogTestSequenceElementTypes/LastEquipmentClass";

public slots:
    void accept() override;
    void instrumentChanged(int page);
    void elementDoubleClicked(QListWidgetItem* item);
    void elementClicked(QListWidgetItem* item);
    void equipmentClassChanged(int equipmentClass);

private:
    void setOkEnabled(bool enabled);

    int m_testId = 0;
    std::unique_ptr<Ui::DialogTestSequenceElementTypes> ui;
};
