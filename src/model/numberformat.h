#pragma once

#include <QChar>
#include <QString>

#include <optional>

// Numbers as the user reads and types them.

namespace lirsk {

// At most 15 significant digits, no trailing zeros, no separator for whole values; fixed-point for
// zero and for 0.0001 <= |x| < 1e15, otherwise a mantissa, "E" and the exponent ("1,5E-5").
QString formatGeneral(double value, QChar decimalSeparator);

// An optional sign, digits with at most one decimal separator, an optional exponent, blanks around.
std::optional<double> parseGeneral(const QString& text, QChar decimalSeparator);

// The decimal separator of the texts shown: a point in English, else the user's locale's (a
// comma under a Russian locale).
QChar localeDecimalSeparator();
QString formatNumber(double value);
std::optional<double> parseNumber(const QString& text);

// Nearest integer, an exact half to the even neighbour; clamped to the int range.
int roundHalfEven(double value);

// The shortest decimal text that reads back to the same double (for machine-readable output).
QString shortestRoundTrip(double value);

} // namespace lirsk
