#include "ux/TsqResultStatusByte.h"

namespace Ux {

QDebug operator<<(QDebug debug, const TsqResultStatusByte& byte)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "Ux::TsqResultStatusByte {\n"
                    << "\tAC/DC = " << byte.acDc() << "\n"
                    << "\tRelation = " << byte.relation() << "\n"
                    << "\tResult Negative = " << byte.resultNegative() << "\n"
                    << "\tResult NULL = " << byte.resultNull() << "\n"
                    << "\tStatus = " << byte.status() << "\n}\n";
    return debug;
}

} // namespace Ux
