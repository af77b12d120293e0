#pragma once

#include "ux/TsqTestSequenceElement.h"

#include <QWidget>
#include <functional>

class QComboBox;
class QLineEdit;
class QSpinBox;
class TestConditionsWidget;
namespace Ux { class TsqConditionByte; }

// An editor of one test-sequence element. Each editor holds its own element
// and ties every form widget to one field of it: the widget is filled from the
// field first and only then connected, so building an editor never reports a
// change, and every later user edit writes that one field and emits one
// modified().
class TestSequenceWidget : public QWidget
{
    Q_OBJECT
public:
    explicit TestSequenceWidget(QWidget* parent);

    // The edited element, owned by the editor and valid while it lives.
    virtual Ux::TsqTestSequenceElement* element() = 0;

signals:
    void modified();

protected:
    // The element to copy when it is of the editor's class; null otherwise,
    // so that the editor starts from the defaults of its id.
    template <typename Element>
    static const Element* as(const Ux::TsqTestSequenceElement* element)
    {
        return dynamic_cast<const Element*>(element);
    }

    enum EditSignal { TextEdited, EditingFinished };

    // Whole numbers in base 10; text that is no number stores 0, and the
    // field keeps the low bits of what was typed.
    template <typename Field>
    void bindInteger(QLineEdit* edit, Field& field, EditSignal when = TextEdited)
    {
        bindLineEdit(edit, QString::number(field), when,
                     [&field](const QString& text) { field = Field(text.toInt(nullptr, 10)); });
    }
    // Shown in the general format, or with a fixed number of decimals.
    void bindDecimal(QLineEdit* edit, double& field, int decimals = -1);
    void bindText(QLineEdit* edit, QString& field);
    // The edit text of an editable combo box.
    void bindEditText(QComboBox* combo, QString& field);
    // The position of the chosen entry.
    template <typename Field>
    void bindIndex(QComboBox* combo, Field& field)
    {
        bindCombo(combo, int(field), [&field](int index) { field = Field(index); });
    }
    template <typename Field>
    void bindSpin(QSpinBox* spin, Field& field)
    {
        bindSpinBox(spin, int(field), [&field](int value) { field = Field(value); });
    }
    void bindConditions(TestConditionsWidget* widget, Ux::TsqConditionByte& byte);

    // The building blocks of the bindings above, for fields whose stored
    // value is not the widget's own (a value looked up from a position).
    void bindLineEdit(QLineEdit* edit, const QString& shown, EditSignal when,
                      std::function<void(const QString&)> store);
    void bindCombo(QComboBox* combo, int shownIndex, std::function<void(int)> store);
    void bindSpinBox(QSpinBox* spin, int shown, std::function<void(int)> store);

    // Whole numbers from bottom to top, read the same in every locale.
    static void limitInteger(QLineEdit* edit, int bottom, int top);
    // Numbers from bottom to top with at most the given decimals, written
    // with a point in every locale.
    static void limitDecimal(QLineEdit* edit, double bottom, double top, int decimals);
};
