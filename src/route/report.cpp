#include "route/report.h"

#include "model/numberformat.h"

#include <QHash>
#include <QSet>

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

// "№ 12 " for each piece of the finish-side set that the boarding-side set shares and that
// carries the map's code letter, in the reverse of the order found; the number is the table's
// for a listed code, else what follows the letter.
QString rideNumbers(const TArrVer& finishSide, const TArrVer& boardingSide, const QString& mapCode,
                    const QHash<QString, QString>& numbers) {
    QString text;
    if (mapCode.isEmpty())
        return text;
    const QSet<QString> boarding = toSet(boardingSide);
    for (const QString& piece : finishSide) {
        const qsizetype at = piece.indexOf(mapCode);
        if (at < 0 || !boarding.contains(piece))
            continue;
        const QString number = numbers.value(piece, piece.mid(at + mapCode.size()));
        text.prepend(QStringLiteral("№ ") + number + QLatin1Char(' '));
    }
    return text;
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
        // the ride began with. One block of text per ride, finish side first.
        QStringList blocks;
        QString endName = map.stop(way.front()).Label.Caption;
        TArrVer rideSet = SplitRoutes(map.stop(way.front()).Routes);
        QSet<QString> rideLookup = toSet(rideSet);
        TArrVer lastSet = rideSet;
        const auto endRide = [&](std::size_t boardedAt) {
            const QString boardName = map.stop(way[boardedAt]).Label.Caption;
            blocks.append(QStringLiteral("\rот ост. %1 до ост. %2\r").arg(boardName, endName) +
                          rideNumbers(rideSet, lastSet, mapCode, numbers));
            endName = boardName;
        };
        for (std::size_t k = 1; k < way.size(); ++k) {
            TArrVer set = SplitRoutes(map.stop(way[k]).Routes);
            if (!sharesRoute(set, rideLookup)) {
                endRide(k - 1);
                ++report.transfers;
                rideSet = set;
                rideLookup = toSet(rideSet);
            }
            lastSet = std::move(set);
        }
        endRide(way.size() - 1);
        for (auto it = blocks.crbegin(); it != blocks.crend(); ++it)
            report.ridesText += *it;
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
