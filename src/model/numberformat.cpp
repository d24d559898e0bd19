#include "model/numberformat.h"

#include "i18n/language.h"

#include <QLocale>

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <string>

namespace lirsk {

QString formatGeneral(double value, QChar sep) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (value == 0)
        return QStringLiteral("0");

    // Round to 15 significant digits first; the notation follows the rounded value.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", value);
    std::string s(buf);
    const bool negative = s[0] == '-';
    if (negative)
        s.erase(0, 1);
    const std::size_t ePos = s.find('e');
    const int exponent = std::stoi(s.substr(ePos + 1));
    std::string digits = s.substr(0, 1) + s.substr(2, ePos - 2);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    QString out;
    if (negative)
        out += QLatin1Char('-');
    if (exponent >= -4 && exponent < 15) {
        if (exponent < 0) {
            out += QLatin1Char('0');
            out += sep;
            out += QString(-exponent - 1, QLatin1Char('0'));
            out += QString::fromLatin1(digits.c_str());
        } else {
            const std::size_t whole = std::size_t(exponent) + 1;
            if (digits.size() <= whole) {
                out += QString::fromLatin1(digits.c_str());
                out += QString(int(whole - digits.size()), QLatin1Char('0'));
            } else {
                out += QString::fromLatin1(digits.substr(0, whole).c_str());
                out += sep;
                out += QString::fromLatin1(digits.substr(whole).c_str());
            }
        }
    } else {
        out += QLatin1Char(digits[0]);
        if (digits.size() > 1) {
            out += sep;
            out += QString::fromLatin1(digits.substr(1).c_str());
        }
        out += QLatin1Char('E');
        out += QString::number(exponent);
    }
    return out;
}

std::optional<double> parseGeneral(const QString& text, QChar sep) {
    const QString t = text.trimmed();
    std::string ascii;
    int i = 0;
    const int n = int(t.size());
    if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) {
        if (t[i] == QLatin1Char('-'))
            ascii += '-';
        ++i;
    }
    int mantissaDigits = 0;
    bool seenSeparator = false;
    for (; i < n; ++i) {
        const QChar c = t[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            ascii += char(c.unicode());
            ++mantissaDigits;
        } else if (c == sep && !seenSeparator) {
            ascii += '.';
            seenSeparator = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < n && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        ascii += 'e';
        ++i;
        if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
            ascii += char(t[i++].unicode());
        int expDigits = 0;
        for (; i < n && t[i] >= QLatin1Char('0') && t[i] <= QLatin1Char('9'); ++i, ++expDigits)
            ascii += char(t[i].unicode());
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;
    double value = 0;
    const char* begin = ascii.data();
    const char* end = begin + ascii.size();
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

QChar localeDecimalSeparator() {
    // English texts read numbers with a point whatever the locale; Russian ones with the
    // locale's separator.
    if (currentLanguage() == Language::English)
        return QLatin1Char('.');
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? QLatin1Char('.') : point.at(0);
}

QString formatNumber(double value) {
    return formatGeneral(value, localeDecimalSeparator());
}

std::optional<double> parseNumber(const QString& text) {
    return parseGeneral(text, localeDecimalSeparator());
}

int roundHalfEven(double value) {
    if (std::isnan(value))
        return 0;
    const double r = std::nearbyint(value); // the default rounding mode: half to even
    if (r <= double(INT_MIN))
        return INT_MIN;
    if (r >= double(INT_MAX))
        return INT_MAX;
    return int(r);
}

QString shortestRoundTrip(double value) {
    char buf[64];
    const auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, value);
    if (ec != std::errc())
        return QString::number(value, 'g', 17);
    return QString::fromLatin1(buf, int(ptr - buf));
}

} // namespace lirsk
