#include "route/report.h"

#include "model/numberformat.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace lirsk {

namespace {

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
// boarding-side set shares and that carries the map's code letter, in the order found, with its
// number (the table's for a listed code, else what follows the letter).
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
        listed.append({piece, numbers.value(piece, piece.mid(at + mapCode.size()))});
    }
    return listed;
}

// A ride as the report finds it: from its stop nearest the finish (begin) to the stop where it
// was boarded (end), indices of the way finish first.
struct RideSpan {
    std::size_t begin;
    std::size_t end;
    TArrVer set;
    QList<std::pair<QString, QString>> routes; // code and number, in the order the text shows
};

double legTime(const GraphMap& map, const std::vector<StopIndex>& way, std::size_t from,
               std::size_t to) {
    double time = 0;
    for (std::size_t k = to; k < from; ++k)
        if (const Link* link = map.FindLink(way[k + 1], way[k]))
            time += link->Time;
    return time;
}

// The rides in travel order, joined by walks where the next ride begins at a stop that the
// ride before does not serve.
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
        if (span->begin != span->end) {
            WayLeg ride{way[span->end], NoStop, false, {}, {}, 0};
            for (const auto& [code, number] : span->routes) {
                ride.codes.append(code);
                ride.numbers.append(number);
            }
            legs.push_back(ride);
            at.push_back({span->end, span->begin});
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

// The rides and transfers of a way; the numbers of routes whose code the table lists are the
// table's, the others are the code without the map's letter.
RouteReport ridesOf(const GraphMap& map, const std::vector<StopIndex>& way, double length,
                    double time, const QString& mapCode, const QHash<QString, QString>& numbers,
                    QChar decimalSeparator) {
    RouteReport report;

    if (!way.empty()) {
        // Walk from the finish; each ride ends where the next stop shares no route with the set
        // the ride began with.
        std::vector<RideSpan> spans;
        std::size_t begin = 0;
        TArrVer rideSet = SplitRoutes(map.stop(way.front()).Routes);
        QSet<QString> rideLookup = toSet(rideSet);
        TArrVer lastSet = rideSet;
        const auto endRide = [&](std::size_t boardedAt) {
            QList<std::pair<QString, QString>> routes =
                listedRoutes(rideSet, lastSet, mapCode, numbers);
            std::reverse(routes.begin(), routes.end());
            spans.push_back({begin, boardedAt, rideSet, std::move(routes)});
        };
        for (std::size_t k = 1; k < way.size(); ++k) {
            TArrVer set = SplitRoutes(map.stop(way[k]).Routes);
            if (!sharesRoute(set, rideLookup)) {
                endRide(k - 1);
                ++report.transfers;
                begin = k;
                rideSet = set;
                rideLookup = toSet(rideSet);
            }
            lastSet = std::move(set);
        }
        endRide(way.size() - 1);
        // One block of text per ride, the start's ride first: its stop line, then its numbers.
        for (auto span = spans.crbegin(); span != spans.crend(); ++span) {
            const QString& boardName = map.stop(way[span->end]).Label.Caption;
            const QString& endName =
                map.stop(way[span == spans.crend() - 1 ? 0 : (span + 1)->end]).Label.Caption;
            report.ridesText += QStringLiteral("\rот ост. %1 до ост. %2\r").arg(boardName, endName);
            for (const auto& route : span->routes)
                report.ridesText += QStringLiteral("№ ") + route.second + QLatin1Char(' ');
        }
        report.legs = legsOf(map, way, spans);
    }

    report.lengthText = formatGeneral(length / 1000, decimalSeparator) + QStringLiteral(" км.");
    report.timeText = wholeMinutes(time) + QStringLiteral(" мин.");
    return report;
}

} // namespace

RouteReport BuildRouteReport(const GraphMap& map, const std::vector<StopIndex>& way, double length,
                             double time, const QString& mapCode, const QString& mapCity,
                             QChar decimalSeparator) {
    RouteReport report = ridesOf(map, way, length, time, mapCode, {}, decimalSeparator);
    report.fare = Fare(mapCode, mapCity, report.transfers);
    report.fareText = formatGeneral(report.fare, decimalSeparator) + QStringLiteral(" руб.");
    return report;
}

RouteReport BuildRouteReport(const GraphMap& map, const std::vector<StopIndex>& way, double length,
                             double time, const MapDescription& description,
                             QChar decimalSeparator) {
    QHash<QString, QString> numbers;
    for (const DescribedRoute& route : description.routes)
        numbers.insert(route.code, route.number);
    RouteReport report =
        ridesOf(map, way, length, time, description.mapCode, numbers, decimalSeparator);
    report.fare = description.baseFare + description.transferFare * report.transfers;
    report.fareText = formatGeneral(report.fare, decimalSeparator);
    if (!description.fareUnit.isEmpty())
        report.fareText += QLatin1Char(' ') + description.fareUnit;
    return report;
}

} // namespace lirsk
