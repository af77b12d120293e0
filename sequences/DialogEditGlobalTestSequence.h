#pragma once

#include <QDialog>
#include <memory>

class TestSequence;
namespace Ui { class DialogEditGlobalTestSequence; }

// Edits one global test sequence: its name, its equipment class and its
// elements. A name that another global sequence already has is refused.
class DialogEditGlobalTestSequence : public QDialog
{
    Q_OBJECT
public:
    // id 0 makes a new sequence.
    explicit DialogEditGlobalTestSequence(int id, QWidget* parent = nullptr);
    ~DialogEditGlobalTestSequence() override;

    int id() const { return m_id; }
    TestSequence* testSequence() const;

    static constexpr const char* SettingsKey = "win/EditGlobalTestSequences";

public slots:
    void equipmentClassChanged(int equipmentClass);
    void accept() override;

private:
    int m_id = 0;
    std::unique_ptr<Ui::DialogEditGlobalTestSequence> ui;
};
