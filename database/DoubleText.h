#pragma once

#include <QString>

// A finite double as the export writes it: the fewest digits that read back
// as the same double, laid out exactly as QString::number(value, 'g',
// QLocale::FloatingPointShortest) lays them out. Qt's own path goes through
// its locale machinery and costs more than the rest of a row; a register
// holds two doubles in every result.
class DoubleText
{
public:
    static void append(QString& out, double value);
    // text: a number as a server writes it ("1e-5", "0.00001", "-12.5").
    // False, with nothing appended, when text is not such a number.
    static bool appendFromText(QString& out, QLatin1StringView text);
};
