#pragma once

#include <QDialog>
#include <QList>
#include <memory>

class QItemSelection;
class QItemSelectionModel;
class SqlQueryModel;
namespace Ui { class DialogGlobalTestSequences; }

// The named test sequences kept for equipment classes: created, edited,
// deleted and uploaded here, or, in select mode, one chosen for import into
// another sequence.
class DialogGlobalTestSequences : public QDialog
{
    Q_OBJECT
public:
    explicit DialogGlobalTestSequences(bool selectMode, QWidget* parent = nullptr);
    ~DialogGlobalTestSequences() override;

    // The first selected sequence; 0 when none is selected.
    int selectedSequenceId() const;
    QList<int> selectedSequences() const { return m_selectedSequences; }
    void refresh();

    static constexpr const char* SettingsKey = "win/GlobalTestSequences";

public slots:
    void onNewSequence();
    void onEditSequence();
    void onDeleteSequences();
    void onUploadSequences();
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected);

private:
    void updateButtons();

    std::unique_ptr<Ui::DialogGlobalTestSequences> ui;
    SqlQueryModel* m_model = nullptr;
    QItemSelectionModel* m_selection = nullptr;
    QList<int> m_selectedSequences;
};
