#pragma once

#include <QList>
#include <QStyledItemDelegate>

// Shared behaviour of the delegates that show a stored code as its display
// text and edit it through a combo box whose items carry the codes.
class CodeComboDelegate : public QStyledItemDelegate
{
public:
    explicit CodeComboDelegate(QObject* parent);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    QString displayText(const QVariant& value, const QLocale& locale) const override;

protected:
    // The codes the editor offers, in the order shown.
    virtual QList<int> codes() const = 0;
    virtual QString codeText(int code) const = 0;
};
