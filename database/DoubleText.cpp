#include "database/DoubleText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

void DoubleText::append(QString& out, double value)
{
    // Qt writes a zero of either sign as "0".
    if (value == 0) {
        out += QLatin1Char('0');
        return;
    }
    // The shortest digits that read back exactly, in scientific form:
    // "-d.ddde+XX".
    char buffer[40]; // 24 characters at most, with the terminator
    const std::to_chars_result written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    *written.ptr = '\0'; // for atoi below
    const char* p = buffer;
    const char* const end = written.ptr;
    if (*p == '-') {
        out += QLatin1Char('-');
        ++p;
    }
    char digits[24];
    int digitCount = 0;
    for (; p < end && *p != 'e'; ++p)
        if (*p != '.')
            digits[digitCount++] = *p;
    const int exponent = std::atoi(p + 1);
    // Where the decimal point goes: the value is 0.<digits> x 10^decpt.
    const int decpt = exponent + 1;

    // Qt writes whichever form is shorter; bias is what the exponent form
    // adds ("e", its sign and at least two digits) less what only the
    // decimal form adds, with a decimal point dropped where it would end
    // the text.
    int bias = 4;
    if (digitCount <= decpt && digitCount > 1)
        ++bias;
    else if (digitCount == 1 && decpt <= 0)
        --bias;
    const bool decimal = decpt <= 0 ? 1 - decpt <= bias : decpt <= digitCount || decpt <= digitCount + bias;

    if (decimal) {
        if (decpt <= 0) {
            out += QLatin1String("0.");
            for (int i = decpt; i < 0; ++i)
                out += QLatin1Char('0');
            out += QLatin1String(digits, digitCount);
        } else if (decpt < digitCount) {
            out += QLatin1String(digits, decpt);
            out += QLatin1Char('.');
            out += QLatin1String(digits + decpt, digitCount - decpt);
        } else {
            out += QLatin1String(digits, digitCount);
            for (int i = digitCount; i < decpt; ++i)
                out += QLatin1Char('0');
        }
        return;
    }
    out += QLatin1Char(digits[0]);
    if (digitCount > 1) {
        out += QLatin1Char('.');
        out += QLatin1String(digits + 1, digitCount - 1);
    }
    const int shown = decpt - 1;
    out += shown < 0 ? QLatin1String("e-") : QLatin1String("e+");
    const int magnitude = shown < 0 ? -shown : shown;
    if (magnitude < 10)
        out += QLatin1Char('0');
    out += QString::number(magnitude);
}

bool DoubleText::appendFromText(QString& out, QLatin1StringView text)
{
    if (text.isEmpty())
        return false;
    double value = 0;
    const char* const end = text.data() + text.size();
    const std::from_chars_result read = std::from_chars(text.data(), end, value);
    if (read.ec != std::errc() || read.ptr != end || !std::isfinite(value))
        return false;
    append(out, value);
    return true;
}
