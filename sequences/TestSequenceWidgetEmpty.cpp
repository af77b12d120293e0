#include "sequences/TestSequenceWidgetEmpty.h"

#include "ui_TestSequenceWidgetEmpty.h"

#include "ux/TsqTestSequenceElementEmptyTest.h"

#include <QDataStream>

TestSequenceWidgetEmpty::TestSequenceWidgetEmpty(quint8 id, QWidget* parent)
    : TestSequenceWidget(parent),
      m_element(std::make_unique<Ux::TsqTestSequenceElementEmptyTest>(id)),
      ui(std::make_unique<Ui::TestSequenceWidgetEmpty>())
{
    ui->setupUi(this);
}

TestSequenceWidgetEmpty::TestSequenceWidgetEmpty(Ux::TsqTestSequenceElement& element, QWidget* parent)
    : TestSequenceWidget(parent), ui(std::make_unique<Ui::TestSequenceWidgetEmpty>())
{
    ui->setupUi(this);
    // The copy is made through the element's own record, so it needs no
    // knowledge of the element's class.
    QByteArray record;
    {
        QDataStream out(&record, QIODevice::WriteOnly);
        out.setByteOrder(QDataStream::LittleEndian);
        element.write(out, true);
    }
    m_element.reset(Ux::TsqTestSequenceElement::create(element.id));
    QDataStream in(record);
    in.setByteOrder(QDataStream::LittleEndian);
    m_element->read(in, true);
}

TestSequenceWidgetEmpty::~TestSequenceWidgetEmpty() = default;
