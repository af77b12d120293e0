#pragma once

#include <QString>

class QSqlQuery;

// How a measured value and its limit are written wherever a result is shown:
// the result forms and the certificates. Both texts use the default locale,
// which the program sets from the chosen translation.

// Fewer decimals the larger the value, so that every value shows about four
// significant digits. Classified as single precision, as the instruments send.
int decimalsForValue(float value);

// The row's Result with its comparison sign: ">1.500", "<0.0500", "2.250".
QString formatResult(QSqlQuery& query);

// The row's ResultLimit, always with four decimals.
QString formatLimit(QSqlQuery& query);
