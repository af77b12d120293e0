#include "ux/TsqTestElementDetails.h"

namespace Ux {

namespace {
// Lives until released; the rows are handed out by pointer.
TsqTestElementDetails* catalogue = nullptr;
} // namespace

TsqTestElementDetails* TsqTestElementDetails::instance()
{
    if (!catalogue)
        catalogue = new TsqTestElementDetails;
    return catalogue;
}

void TsqTestElementDetails::release()
{
    delete catalogue;
    catalogue = nullptr;
}

const TsqTestElementDetail* TsqTestElementDetails::details(quint8 id) const
{
    return m_rows.value(id, nullptr);
}

QString TsqTestElementDetails::testName(quint8 id)
{
    const TsqTestElementDetail* row = instance()->details(id);
    return row ? row->name : QString();
}

TsqTestElementDetails::~TsqTestElementDetails()
{
    qDeleteAll(m_rows);
}

void TsqTestElementDetails::add(quint8 id, const QString& name, const QString& units,
                                int instrumentTypes, int category, quint8 selectable,
                                quint8 equipmentClasses, int valueWidth, int decimals)
{
    auto* row = new TsqTestElementDetail;
    row->id = id;
    row->name = name;
    row->units = units;
    row->instrumentTypes = instrumentTypes;
    row->category = category;
    row->selectable = selectable;
    row->equipmentClasses.set(equipmentClasses & 1, equipmentClasses & 2, equipmentClasses & 4);
    row->valueWidth = valueWidth;
    row->decimals = decimals;
    m_rows.insert(id, row);
}

// Columns: id, name, units, instrument types, category, selectable, equipment
// classes, value width, decimals. Id 49 is offered under no instrument, so it
// is not selectable either.
TsqTestElementDetails::TsqTestElementDetails()
{
    add(1, tr("Visual Test"), QString(), 1, 0, 1, 7, 0, 0);
    add(17, tr("Earth Bond"), QStringLiteral(u"\u03A9"), 1, 1, 1, 2, 4, 3);
    add(18, tr("Earth Bond Negative"), QStringLiteral(u"\u03A9"), 0, 1, 1, 2, 4, 3);
    add(21, tr("Earth Bond 25A"), QStringLiteral(u"\u03A9"), 0, 1, 1, 2, 4, 3);
    add(32, tr("Insulation EUT 250V"), QStringLiteral(u"M\u03A9"), 1, 2, 1, 6, 4, 2);
    add(33, tr("Insulation EUT 500V"), QStringLiteral(u"M\u03A9"), 1, 2, 1, 6, 4, 2);
    add(34, tr("Insulation AP 250V"), QStringLiteral(u"M\u03A9"), 1, 2, 1, 6, 4, 2);
    add(35, tr("Insulation AP 500V"), QStringLiteral(u"M\u03A9"), 1, 2, 1, 6, 4, 2);
    add(46, tr("Insulation Applied Parts Mains 250V"), QStringLiteral(u"M\u03A9"), 1, 2, 1, 6, 4, 2);
    add(47, tr("Insulation Applied Parts Mains 500V"), QStringLiteral(u"M\u03A9"), 1, 2, 1, 6, 4, 2);
    add(48, tr("Earth Leakage (Direct)"), QStringLiteral(u"\u00B5A"), 1, 3, 1, 2, 4, 0);
    add(49, tr("Earth Leakage (NFPA99)"), QStringLiteral(u"\u00B5A"), 0, 3, 0, 2, 4, 0);
    add(50, tr("Earth Leakage (AS/NZS 3551)"), QStringLiteral(u"\u00B5A"), 1, 3, 1, 2, 4, 0);
    add(51, tr("Earth Leakage (AS/NZS 3200)"), QStringLiteral(u"\u00B5A"), 1, 3, 1, 2, 4, 0);
    add(64, tr("Enclosure Leakage (60601)"), QStringLiteral(u"\u00B5A"), 1, 3, 1, 6, 4, 0);
    add(66, tr("Chassis Leakage (NFPA99)"), QStringLiteral(u"\u00B5A"), 1, 3, 1, 6, 4, 0);
    add(67, tr("Enclosure Leakage (AS/NZS 3200)"), QStringLiteral(u"\u00B5A"), 1, 3, 1, 6, 4, 0);
    add(69, tr("Equipment Leakage (Direct)"), QStringLiteral(u"\u00B5A"), 1, 3, 1, 6, 4, 0);
    add(70, tr("Equipment Leakage (Alternative)"), QStringLiteral(u"\u00B5A"), 1, 3, 1, 6, 4, 0);
    add(71, tr("Applied Part Leakage (Direct)"), QStringLiteral(u"\u00B5A"), 1, 3, 1, 6, 4, 0);
    add(72, tr("Applied Part Leakage (Alternative)"), QStringLiteral(u"\u00B5A"), 1, 3, 1, 6, 4, 0);
    add(80, tr("Patient Leakage (60601)"), QStringLiteral(u"\u00B5A"), 1, 3, 1, 6, 4, 0);
    add(81, tr("Patient Leakage (NFPA99)"), QStringLiteral(u"\u00B5A"), 1, 3, 1, 6, 4, 0);
    add(83, tr("Equipment Leakage (Differential)"), QStringLiteral(u"\u00B5A"), 1, 3, 1, 6, 4, 0);
    add(84, tr("Applied Part Leakage (AS/NZS 3551)"), QStringLiteral(u"\u00B5A"), 1, 3, 1, 6, 4, 0);
    add(85, tr("Patient Leakage (AS / NZS 3200)"), QStringLiteral(u"\u00B5A"), 1, 3, 1, 6, 4, 0);
    add(96, tr("Patient Leakage F Type (60601)"), QStringLiteral(u"\u00B5A"), 1, 3, 1, 6, 4, 0);
    add(98, tr("Patient Leakage F Type (NFPA 99)"), QStringLiteral(u"\u00B5A"), 1, 3, 1, 6, 4, 0);
    add(99, tr("Mains Contact Current (AS/NZS 3551)"), QStringLiteral(u"\u00B5A"), 1, 3, 1, 6, 4, 0);
    add(100, tr("Patient Leakage F Type (AS / NZS 3200)"), QStringLiteral(u"\u00B5A"), 1, 3, 1, 6, 4, 0);
    add(112, tr("Patient Auxiliary Leakage (60601)"), QStringLiteral(u"\u00B5A"), 1, 3, 1, 6, 4, 0);
    add(113, tr("Patient Auxiliary AP-AP"), QStringLiteral(u"\u00B5A"), 1, 3, 1, 6, 4, 0);
    add(114, tr("Patient Auxiliary Applied Part to All Leakage"), QStringLiteral(u"\u00B5A"), 0, 3, 1, 6, 4, 0);
    add(115, tr("Patient Auxiliary Leakage (AS/NZS 3200)"), QStringLiteral(u"\u00B5A"), 1, 3, 1, 6, 4, 0);
    add(144, tr("Load Test"), QStringLiteral("kVA"), 0, 0, 0, 6, 4, 2);
    add(145, tr("IEC Wiring Test"), QString(), 1, 0, 1, 6, 4, 3);
    add(146, tr("Live Voltage"), QStringLiteral("V"), 0, 0, 0, 6, 4, 0);
    add(147, tr("Load Current"), QStringLiteral("A"), 0, 0, 0, 6, 4, 2);
    add(148, tr("Neutral Voltage"), QStringLiteral("V"), 0, 0, 0, 6, 4, 2);
    add(149, tr("Live Voltage"), QStringLiteral("V"), 0, 0, 0, 6, 4, 2);
    add(176, tr("NIBP Leak Test"), QString(), 20, 0, 1, 7, 0, 0);
    add(177, tr("NIBP Pop-off Test"), QString(), 20, 0, 1, 7, 0, 0);
    add(178, tr("NIBP settings (O-curve)"), QString(), 4, 0, 1, 7, 0, 0);
    add(179, tr("NIBP Simulation"), QString(), 4, 0, 1, 7, 0, 0);
    add(180, tr("SPO2 Monitor Type"), QString(), 8, 0, 1, 7, 0, 0);
    add(181, tr("SPO2 Start Simulation"), QString(), 8, 0, 1, 7, 0, 0);
    add(183, tr("SPO2 Start Chronometer Test"), QString(), 8, 0, 1, 7, 0, 0);
    add(184, tr("SPO2 Chronometer Test"), QString(), 8, 0, 1, 7, 0, 0);
    add(185, tr("SPO2 End Chronometer Test"), QString(), 8, 0, 1, 7, 0, 0);
    add(186, tr("NIBP Test Settings"), QString(), 16, 0, 1, 7, 0, 0);
    add(187, tr("SP02 Test Settings"), QString(), 16, 0, 1, 7, 0, 0);
    add(188, tr("Patient Test Settings"), QString(), 16, 0, 1, 7, 0, 0);
    add(189, tr("Start All Tests"), QString(), 16, 0, 1, 7, 0, 0);
    add(190, tr("NIBP Static Pressure Test"), QString(), 20, 0, 1, 7, 0, 0);
    add(191, tr("NIBP Stop Static Pressure Test"), QString(), 20, 0, 1, 7, 0, 0);
    add(192, tr("IBP Static Test"), QString(), 16, 0, 1, 7, 0, 0);
    add(193, tr("Performance Wave Test"), QString(), 16, 0, 1, 7, 0, 0);
    add(253, tr("User Test"), QString(), 29, 0, 1, 7, 4, 4);
}

} // namespace Ux
