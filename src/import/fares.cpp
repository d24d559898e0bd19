#include "import/fares.h"

#include "import/importtext.h"

#include <QHash>

#include <unicode/timezone.h>
#include <unicode/ucurr.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <cstring>

namespace lirsk::gtfs {

std::optional<Money> moneyOf(const QString& currency) {
    const QString code = currency.trimmed().toUpper();
    if (code.size() != 3)
        return std::nullopt;
    // Roubles are written as the built-in maps write them: «40 руб.».
    if (code == QLatin1String("RUB"))
        return Money{QStringLiteral("руб."), 0};
    const std::u16string isoCode = code.toStdU16String();
    UErrorCode status = U_ZERO_ERROR;
    const int32_t digits = ucurr_getDefaultFractionDigits(isoCode.c_str(), &status);
    if (U_FAILURE(status))
        return std::nullopt;
    static const QHash<QString, QString> signs{{QStringLiteral("USD"), QStringLiteral("$")},
                                               {QStringLiteral("EUR"), QStringLiteral("€")},
                                               {QStringLiteral("GBP"), QStringLiteral("£")},
                                               {QStringLiteral("JPY"), QStringLiteral("¥")},
                                               {QStringLiteral("CNY"), QStringLiteral("¥")},
                                               {QStringLiteral("PLN"), QStringLiteral("zł")},
                                               {QStringLiteral("KRW"), QStringLiteral("₩")},
                                               {QStringLiteral("INR"), QStringLiteral("₹")},
                                               {QStringLiteral("UAH"), QStringLiteral("₴")},
                                               {QStringLiteral("KZT"), QStringLiteral("₸")},
                                               {QStringLiteral("TRY"), QStringLiteral("₺")},
                                               {QStringLiteral("ILS"), QStringLiteral("₪")},
                                               {QStringLiteral("CZK"), QStringLiteral("Kč")},
                                               {QStringLiteral("BYN"), QStringLiteral("Br")}};
    return Money{signs.value(code, code), std::max(0, int(digits))};
}

QString currencyOfTimeZone(const QString& zone) {
    if (zone.isEmpty())
        return QString();
    UErrorCode status = U_ZERO_ERROR;
    char region[8] = {};
    icu::TimeZone::getRegion(icu::UnicodeString(zone.toStdU16String().c_str()), region,
                             sizeof region, status);
    // "001" is the world: a zone of no one country.
    if (U_FAILURE(status) || std::strlen(region) != 2)
        return QString();
    const std::string locale = std::string("und_") + region;
    UChar code[4] = {};
    status = U_ZERO_ERROR;
    const int32_t length = ucurr_forLocale(locale.c_str(), code, 4, &status);
    if (U_FAILURE(status) || length != 3)
        return QString();
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(code), 3);
}

void describeFares(const FareTable& fares, const AgencyInfo& agency,
                   const GtfsImportOptions& options, GtfsImportResult& result) {
    MapDescription& d = result.description;
    const std::optional<FareRule>& fare = fares.commonest;
    if (fare) {
        d.baseFare = fare->price;
        d.transferFare = fare->noTransfers ? fare->price : 0;
    }
    const QString currency = fare && !fare->currency.trimmed().isEmpty()
                                 ? fare->currency
                                 : currencyOfTimeZone(agency.timeZone);
    if (const std::optional<Money> money = moneyOf(currency)) {
        d.fareUnit = money->unit;
        d.fareDecimals = money->decimals;
    } else if (!currency.trimmed().isEmpty()) {
        d.fareUnit = currency.trimmed();
    }
    if (fares.refused > 0)
        result.notes << ImportText::tr("цен в fare_attributes.txt вне 0…10⁹, оставленных без "
                                       "внимания: %1")
                            .arg(fares.refused);
    const auto holds = [](const std::optional<double>& fare) {
        return fare && *fare >= 0 && *fare < kMaxImportedFare;
    };
    if (holds(options.baseFare))
        d.baseFare = *options.baseFare;
    if (holds(options.transferFare))
        d.transferFare = *options.transferFare;
    if ((options.baseFare && !holds(options.baseFare)) ||
        (options.transferFare && !holds(options.transferFare)))
        result.notes << ImportText::tr("стоимость проезда вне 0…10⁹ не задана");
    if (!fare && !holds(options.baseFare)) {
        d.fareGiven = false;
        result.notes << ImportText::noFares(ImportText::FareSetting::CommandLine);
    }
}

} // namespace lirsk::gtfs
