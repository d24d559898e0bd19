#include "route/report.h"

#include "import/geo.h"
#include "model/numberformat.h"

#include <QCoreApplication>
#include <QDateTime>

#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace lirsk {

namespace {

// The report's texts, translated in the context "RouteReport".
struct RouteReportText {
    Q_DECLARE_TR_FUNCTIONS(RouteReport)
};

QSet<QString> toSet(const TArrVer& pieces) {
    return QSet<QString>(pieces.begin(), pieces.end());
}

bool sharesRoute(const TArrVer& pieces, const QSet<QString>& other) {
    for (const QString& piece : pieces)
        if (other.contains(piece))
            return true;
    return false;
}

// The routes of a ride the report lists: each piece of the finish-side set that the
// boarding-side set shares and that carries the map's code letter, with its number (the table's
// for a listed code, else what follows the letter), in the reverse of the order found.
QList<std::pair<QString, QString>> listedRoutes(const TArrVer& finishSide,
                                                const TArrVer& boardingSide, const QString& mapCode,
                                                const QHash<QString, QString>& numbers) {
    QList<std::pair<QString, QString>> listed;
    if (mapCode.isEmpty())
        return listed;
    const QSet<QString> boarding = toSet(boardingSide);
    for (const QString& piece : finishSide) {
        const qsizetype at = piece.indexOf(mapCode);
        if (at < 0 || !boarding.contains(piece))
            continue;
        listed.prepend({piece, numbers.value(piece, piece.mid(at + mapCode.size()))});
    }
    return listed;
}

// A ride or a walk as the report finds it: from its stop nearest the finish (begin) to the stop
// where it was boarded or the walk began (end), indices of the way finish first.
struct RideSpan {
    std::size_t begin;
    std::size_t end;
    TArrVer set;
    QList<std::pair<QString, QString>> routes; // code and number, in the order the text shows
    bool walk = false;
};

double legTime(const GraphMap& map, const std::vector<StopIndex>& way, std::size_t from,
               std::size_t to) {
    double time = 0;
    for (std::size_t k = to; k < from; ++k)
        if (const Link* link = map.FindLink(way[k + 1], way[k]))
            time += link->Time;
    return time;
}

// The rides in travel order, joined by walks: the map's walking links, and changes where the next
// ride begins at a stop that the ride before does not serve.
std::vector<WayLeg> legsOf(const GraphMap& map, const std::vector<StopIndex>& way,
                           const std::vector<RideSpan>& spans) {
    std::vector<WayLeg> legs;
    std::vector<std::pair<std::size_t, std::size_t>> at; // way indices of each leg
    const TArrVer* lastRideSet = nullptr;
    std::size_t here = way.size() - 1;
    for (auto span = spans.crbegin(); span != spans.crend(); ++span) {
        if (span->end != here) {
            const bool rideGoesOn =
                !legs.empty() && !legs.back().walk && lastRideSet &&
                sharesRoute(SplitRoutes(map.stop(way[span->end]).Routes), toSet(*lastRideSet));
            if (rideGoesOn || (!legs.empty() && legs.back().walk)) {
                at.back().second = span->end;
            } else {
                legs.push_back({way[here], NoStop, true, {}, {}, 0});
                at.push_back({here, span->end});
            }
        }
        if (span->walk && !legs.empty() && legs.back().walk) {
            at.back().second = span->begin;
        } else if (span->walk || span->begin != span->end) {
            WayLeg leg{way[span->end], NoStop, span->walk, {}, {}, 0};
            for (const auto& [code, number] : span->routes) {
                leg.codes.append(code);
                leg.numbers.append(number);
            }
            legs.push_back(leg);
            at.push_back({span->end, span->begin});
            if (!span->walk)
                lastRideSet = &span->set;
        }
        here = span->begin;
    }
    for (std::size_t i = 0; i < legs.size(); ++i) {
        legs[i].from = way[at[i].first];
        legs[i].to = way[at[i].second];
        legs[i].time = legTime(map, way, at[i].first, at[i].second);
    }
    return legs;
}

QString wholeMinutes(double seconds) {
    const double minutes = std::floor(seconds / 60);
    // Beyond the range of a 64-bit integer (or not a number at all) the general format says it.
    if (minutes > -9.2e18 && minutes < 9.2e18)
        return QString::number(qint64(minutes));
    return formatGeneral(minutes, QLatin1Char('.'));
}

} // namespace

TArrVer SplitRoutes(const QString& text) {
    return text.split(QLatin1Char(' '));
}

double Fare(const QString& mapCode, const QString& mapCity, int transfers) {
    if (mapCity == QLatin1String("none")) {
        if (mapCode == QLatin1String("P"))
            return 12;
        if (mapCode == QLatin1String("E") || mapCode == QLatin1String("S"))
            return 9;
    }
    return 7 + 7.0 * transfers;
}

namespace {

// The rides of a stretch of a way given finish first (way[first] its end, way[last] where it
// boards): each ride ends where the next stop shares no route with the set the ride began with.
// One block of text per ride, finish side first, and the ride's span.
void rideBlocks(const GraphMap& map, const std::vector<StopIndex>& way, std::size_t first,
                std::size_t last, const QString& mapCode, const QHash<QString, QString>& numbers,
                QStringList& blocks, std::vector<RideSpan>& spans) {
    std::size_t begin = first;
    std::size_t endAt = first; // where the text says the ride ends: where the next one boards
    TArrVer rideSet = SplitRoutes(map.stop(way[first]).Routes);
    QSet<QString> rideLookup = toSet(rideSet);
    TArrVer lastSet = rideSet;
    const auto endRide = [&](std::size_t boardedAt) {
        RideSpan span{begin, boardedAt, rideSet, listedRoutes(rideSet, lastSet, mapCode, numbers)};
        QString block =
            RouteReportText::tr("\rот ост. %1 до ост. %2\r")
                .arg(map.stop(way[boardedAt]).Label.Caption, map.stop(way[endAt]).Label.Caption);
        for (const auto& route : span.routes)
            block += QStringLiteral("№ ") + route.second + QLatin1Char(' ');
        blocks.append(block);
        spans.push_back(std::move(span));
        endAt = boardedAt;
    };
    for (std::size_t k = first + 1; k <= last; ++k) {
        TArrVer set = SplitRoutes(map.stop(way[k]).Routes);
        if (!sharesRoute(set, rideLookup)) {
            endRide(k - 1);
            begin = k;
            rideSet = set;
            rideLookup = toSet(rideSet);
        }
        lastSet = std::move(set);
    }
    endRide(last);
}

// The rides and transfers of a way; the numbers of routes whose code the table lists are the
// table's, the others are the code without the map's letter. A link that walks (by the stops'
// ids) is no ride: it splits the way and is named as a walk.
RouteReport ridesOf(const GraphMap& map, const std::vector<StopIndex>& way, double length,
                    double time, const QString& mapCode, const QHash<QString, QString>& numbers,
                    const QSet<std::pair<int, int>>& walks, QChar decimalSeparator) {
    RouteReport report;

    if (!way.empty()) {
        QStringList blocks;
        std::vector<RideSpan> spans;
        int rides = 0;
        const auto addRides = [&](std::size_t first, std::size_t last) {
            const qsizetype before = blocks.size();
            rideBlocks(map, way, first, last, mapCode, numbers, blocks, spans);
            rides += int(blocks.size() - before);
        };
        // Travelling from way[k] to way[k - 1]; the stretch ridden so far ends at way[rideEnd].
        std::size_t rideEnd = 0;
        for (std::size_t k = 1; k < way.size(); ++k) {
            const Stop &from = map.stop(way[k]), &to = map.stop(way[k - 1]);
            if (!walks.contains({from.Id, to.Id}))
                continue;
            if (k - 1 > rideEnd)
                addRides(rideEnd, k - 1);
            const Link* link = map.FindLink(way[k], way[k - 1]);
            const double seconds = link ? link->Time : 0;
            blocks.append(RouteReportText::tr("\rпешком от ост. %1 до ост. %2, %3 мин.\r")
                              .arg(from.Label.Caption, to.Label.Caption,
                                   QString::number(qint64(std::ceil(seconds / 60)))));
            spans.push_back({k - 1, k, {}, {}, true});
            rideEnd = k;
        }
        if (rideEnd + 1 < way.size() || blocks.isEmpty())
            addRides(rideEnd, way.size() - 1);
        report.rides = rides;
        report.transfers = std::max(0, rides - 1);
        for (auto it = blocks.crbegin(); it != blocks.crend(); ++it)
            report.ridesText += *it;
        report.legs = legsOf(map, way, spans);
    }

    report.lengthText =
        RouteReportText::tr("%1 км.").arg(formatGeneral(length / 1000, decimalSeparator));
    report.timeText = RouteReportText::tr("%1 мин.").arg(wholeMinutes(time));
    return report;
}

} // namespace

RouteReport BuildRouteReport(const GraphMap& map, const std::vector<StopIndex>& way, double length,
                             double time, const QString& mapCode, const QString& mapCity,
                             QChar decimalSeparator) {
    RouteReport report = ridesOf(map, way, length, time, mapCode, {}, {}, decimalSeparator);
    report.fare = Fare(mapCode, mapCity, report.transfers);
    report.fareText =
        RouteReportText::tr("%1 руб.").arg(formatGeneral(report.fare, decimalSeparator));
    return report;
}

namespace {

// The fare of a way's rides by a map's description: BaseFare + TransferFare x transfers in its
// unit, with the cents of its currency ("2,90 $"); a map that gives no fare says so.
void priceByDescription(RouteReport& report, const MapDescription& description,
                        QChar decimalSeparator) {
    if (!description.fareGiven) {
        report.fareKnown = false;
        report.fareText = QCoreApplication::translate("RouteReport", "стоимость не указана");
        return;
    }
    report.fare =
        report.rides > 0 ? description.baseFare + description.transferFare * report.transfers : 0;
    // A whole amount is written whole ("4 €"), any other with all the currency's cents.
    report.fareText = description.fareDecimals > 0 && report.fare != std::floor(report.fare)
                          ? QString::number(report.fare, 'f', description.fareDecimals)
                                .replace(QLatin1Char('.'), decimalSeparator)
                          : formatGeneral(report.fare, decimalSeparator);
    if (!description.fareUnit.isEmpty())
        report.fareText += QLatin1Char(' ') + description.fareUnit;
}

} // namespace

RouteReport BuildRouteReport(const GraphMap& map, const std::vector<StopIndex>& way, double length,
                             double time, const MapDescription& description,
                             QChar decimalSeparator) {
    QHash<QString, QString> numbers;
    for (const DescribedRoute& route : description.routes)
        numbers.insert(route.code, route.number);
    const QSet<std::pair<int, int>> walks(description.walks.begin(), description.walks.end());
    RouteReport report =
        ridesOf(map, way, length, time, description.mapCode, numbers, walks, decimalSeparator);
    priceByDescription(report, description, decimalSeparator);
    return report;
}

namespace {

// The agency's clock time of a moment, with its date when that is not the journey's first day.
QString clockTime(const Timetable& t, qint64 utc, const QDate& firstDay) {
    const QDateTime at = QDateTime::fromSecsSinceEpoch(utc, t.timeZone());
    const QString time = at.toString(QStringLiteral("HH:mm"));
    return at.date() == firstDay ? time : at.toString(QStringLiteral("dd.MM ")) + time;
}

} // namespace

JourneyWay journeyWay(const GraphMap& map, const Timetable& timetable, const Journey& journey) {
    const QHash<int, StopIndex> byId = map.stopsById();
    const auto stopOf = [&](int station) {
        return byId.value(timetable.stations()[std::size_t(station)].mapStop, NoStop);
    };
    JourneyWay way;
    const auto pass = [&](int fromStation, int toStation) {
        const StopIndex from = stopOf(fromStation), to = stopOf(toStation);
        if (way.stops.empty() || way.stops.back() != from)
            way.stops.push_back(from);
        way.stops.push_back(to);
        if (const Link* link = map.FindLink(from, to)) {
            way.length += link->Length;
            return;
        }
        const Timetable::Station &a = timetable.stations()[std::size_t(fromStation)],
                                 &b = timetable.stations()[std::size_t(toStation)];
        way.length += std::round(greatCircle(a.lat, a.lon, b.lat, b.lon));
    };
    for (const JourneyLeg& leg : journey.legs) {
        if (leg.kind == JourneyLeg::Kind::Walk) {
            pass(leg.from, leg.to);
            continue;
        }
        const auto calls = timetable.stopsOf(timetable.patterns()[std::size_t(leg.pattern)]);
        for (int call = leg.boardCall; call < leg.alightCall; ++call)
            pass(int(calls[std::size_t(call)].station()),
                 int(calls[std::size_t(call) + 1].station()));
    }
    std::reverse(way.stops.begin(), way.stops.end());
    way.time = double(journey.arrival - journey.departure);
    return way;
}

const Journey* preferredJourney(const std::vector<Journey>& journeys) {
    constexpr qint64 kChangeCost = 5 * 60;
    const auto cost = [](const Journey& j) {
        return std::pair(j.arrival + kChangeCost * std::max(0, j.rides - 1), j.rides);
    };
    const auto best =
        std::min_element(journeys.begin(), journeys.end(),
                         [&](const Journey& a, const Journey& b) { return cost(a) < cost(b); });
    return best == journeys.end() ? nullptr : &*best;
}

RouteReport BuildJourneyReport(const GraphMap& map, const Timetable& timetable,
                               const Journey& journey, const MapDescription& description,
                               QChar decimalSeparator) {
    const JourneyWay way = journeyWay(map, timetable, journey);
    RouteReport report =
        ridesOf(map, {}, way.length, way.time, description.mapCode, {}, {}, decimalSeparator);
    report.rides = journey.rides;
    report.transfers = std::max(0, journey.rides - 1);
    priceByDescription(report, description, decimalSeparator);
    const QDate firstDay =
        QDateTime::fromSecsSinceEpoch(journey.departure, timetable.timeZone()).date();
    for (const JourneyLeg& leg : journey.legs) {
        const QString from = timetable.stationName(leg.from), to = timetable.stationName(leg.to);
        const QString times = clockTime(timetable, leg.departure, firstDay) + QStringLiteral("–") +
                              clockTime(timetable, leg.arrival, firstDay);
        if (leg.kind == JourneyLeg::Kind::Walk) {
            report.ridesText += RouteReportText::tr("\rпешком от ост. %1 до ост. %2, %3 мин.\r%4")
                                    .arg(from, to)
                                    .arg((leg.arrival - leg.departure + 59) / 60)
                                    .arg(times);
            continue;
        }
        const Timetable::Pattern& pattern = timetable.patterns()[std::size_t(leg.pattern)];
        report.ridesText +=
            RouteReportText::tr("\rот ост. %1 до ост. %2\r").arg(from, to) +
            RouteReportText::tr("№ %1 «%2», %3")
                .arg(timetable.text(timetable.routes()[pattern.route].shortName),
                     timetable.text(timetable.trips()[std::size_t(leg.trip)].headsign), times);
    }
    return report;
}

} // namespace lirsk
