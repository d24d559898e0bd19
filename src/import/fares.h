#pragma once

#include "import/gtfsfeed.h"
#include "import/gtfsimport.h"

// The fare rule of an imported map and the money it is written in.

namespace lirsk::gtfs {

// How a map writes amounts of a currency: its sign and, where it has cents, their digits.
struct Money {
    QString unit; // "$", "€", "¥", "zł", "руб."; the ISO 4217 code for one without a sign
    int decimals = 0; // 0: written as any number is (no decimals for whole amounts)
};
// By the ISO 4217 code ("USD"); nothing for a text that is no currency's code.
std::optional<Money> moneyOf(const QString& currency);
// The currency of the one country a time zone lies in ("America/New_York": "USD"); empty for a
// zone of no one country ("Etc/UTC") or one not known.
QString currencyOfTimeZone(const QString& zone);

// The fare rule of the description: the feed's, overridden by the options, in the feed's
// currency (its fares', else its agency's country's); no fare at all when neither gives one,
// with a note, and a note for prices a description cannot hold.
void describeFares(const FareTable& fares, const AgencyInfo& agency,
                   const GtfsImportOptions& options, GtfsImportResult& result);

} // namespace lirsk::gtfs
