#include "sequences/TestSequenceWidget.h"

#include "sequences/TestConditionsWidget.h"
#include "ux/TsqConditionByte.h"

#include <QComboBox>
#include <QDoubleValidator>
#include <QIntValidator>
#include <QLineEdit>
#include <QSpinBox>

namespace {

// The framework's validators let a number above the top stand as unfinished
// input, and it would then reach the element; every bottom here is 0 or
// more, so such text can only grow further away and is refused at once.
template <typename Base>
class NoAboveTop : public Base
{
public:
    using Base::Base;
    QValidator::State validate(QString& input, int& pos) const override
    {
        const QValidator::State state = Base::validate(input, pos);
        bool ok = false;
        const double value = input.toDouble(&ok);
        if (state == QValidator::Intermediate && ok && value > double(Base::top()))
            return QValidator::Invalid;
        return state;
    }
};

} // namespace

TestSequenceWidget::TestSequenceWidget(QWidget* parent) : QWidget(parent)
{
}

void TestSequenceWidget::bindLineEdit(QLineEdit* edit, const QString& shown, EditSignal when,
                                      std::function<void(const QString&)> store)
{
    edit->setText(shown);
    if (when == TextEdited) {
        connect(edit, &QLineEdit::textEdited, this, [this, store](const QString& text) {
            store(text);
            emit modified();
        });
    } else {
        connect(edit, &QLineEdit::editingFinished, this, [this, edit, store] {
            store(edit->text());
            emit modified();
        });
    }
}

void TestSequenceWidget::bindDecimal(QLineEdit* edit, double& field, int decimals)
{
    // arg() without %L and toDouble() both use the C locale's decimal point,
    // so a sequence reads the same whatever language the program runs in.
    const QString shown = decimals < 0 ? QStringLiteral("%1").arg(field)
                                       : QStringLiteral("%1").arg(field, 0, 'f', decimals);
    bindLineEdit(edit, shown, TextEdited, [&field](const QString& text) { field = text.toDouble(); });
}

void TestSequenceWidget::bindText(QLineEdit* edit, QString& field)
{
    bindLineEdit(edit, field, TextEdited, [&field](const QString& text) { field = text; });
}

void TestSequenceWidget::bindEditText(QComboBox* combo, QString& field)
{
    combo->setEditText(field);
    connect(combo, &QComboBox::editTextChanged, this, [this, &field](const QString& text) {
        field = text;
        emit modified();
    });
}

void TestSequenceWidget::bindCombo(QComboBox* combo, int shownIndex, std::function<void(int)> store)
{
    combo->setCurrentIndex(shownIndex);
    connect(combo, &QComboBox::currentIndexChanged, this, [this, store](int index) {
        store(index);
        emit modified();
    });
}

void TestSequenceWidget::bindSpinBox(QSpinBox* spin, int shown, std::function<void(int)> store)
{
    spin->setValue(shown);
    connect(spin, &QSpinBox::valueChanged, this, [this, store](int value) {
        store(value);
        emit modified();
    });
}

void TestSequenceWidget::bindConditions(TestConditionsWidget* widget, Ux::TsqConditionByte& byte)
{
    widget->setConditions(byte.validConditions, byte.conditions);
    connect(widget, &TestConditionsWidget::modified, this, [this, widget, &byte] {
        byte.conditions = quint8(widget->conditions());
        emit modified();
    });
}

void TestSequenceWidget::limitInteger(QLineEdit* edit, int bottom, int top)
{
    auto* validator = new NoAboveTop<QIntValidator>(bottom, top, edit);
    validator->setLocale(QLocale::c());
    edit->setValidator(validator);
}

void TestSequenceWidget::limitDecimal(QLineEdit* edit, double bottom, double top, int decimals)
{
    auto* validator = new NoAboveTop<QDoubleValidator>(bottom, top, decimals, edit);
    validator->setNotation(QDoubleValidator::StandardNotation);
    validator->setLocale(QLocale::c());
    edit->setValidator(validator);
}
