#pragma once

#include <QDialog>
#include <QItemSelection>
#include <memory>

class QAbstractButton;
class QItemSelectionModel;
class SqlQueryModel;
namespace Ui { class TestInstruments; }

// The register of test instruments: a list, the chosen instrument's details
// and serial settings, and add, save and delete.
class DialogTestInstruments : public QDialog
{
    Q_OBJECT
public:
    explicit DialogTestInstruments(QWidget* parent);
    ~DialogTestInstruments() override;

public slots:
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void standardButtonClicked(QAbstractButton* button);
    void setModified(int);
    void setModified(const QString&);
    void addInstrument();
    void removeInstrument();

private:
    void markModified(bool modified);
    void loadInstruments(int selectId);
    int countSerialNumbers(const QString& serialNo);
    void loadDetails(int instrumentId);
    // False when the database stayed busy: the edits are still in the form.
    bool saveDetails(int instrumentId);
    int firstSelectedId() const;

    std::unique_ptr<Ui::TestInstruments> ui;
    bool m_modified = false;
    bool m_loading = false;
    SqlQueryModel* m_model;
    QItemSelectionModel* m_selectionModel;
    // The type as stored for the instrument on show: a download may have
    // written one that the type list does not offer.
    int m_storedType = 0;
};
