#pragma once

#include <QtGlobal>

namespace Ux {

// Which equipment classes a test element applies to: bit 0 class none,
// bit 1 Class I, bit 2 Class II.
class EquipmentClassFlags
{
public:
    EquipmentClassFlags() = default;
    void set(bool classNone, bool classI, bool classII)
    {
        m_flags = quint8((classNone ? 1 : 0) | (classI ? 2 : 0) | (classII ? 4 : 0));
    }
    operator quint8() const { return m_flags; }

private:
    quint8 m_flags = 0;
};

} // namespace Ux
