#include "app/journeyrows.h"

#include "edit/journeypage.h"
#include "platform/colours.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QVBoxLayout>

#include <cmath>

namespace lirsk {

namespace {

// Whole minutes, rounded up: a walk or a wait takes at least what it says.
QString minutesUp(qint64 seconds) {
    return QCoreApplication::translate("JourneyPanel", "%1 мин").arg((seconds + 59) / 60);
}

// A row of the ways list: its name, its figures and the strip of its routes.
QWidget* rowWidget(const QString& title, const QStringList& figures, const QPixmap& strip) {
    auto* row = new QWidget;
    auto* layout = new QVBoxLayout(row);
    layout->setContentsMargins(4, 3, 4, 3);
    layout->setSpacing(1);
    auto* name = new QLabel(title, row);
    name->setWordWrap(true);
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    layout->addWidget(name);
    auto* numbers = new QLabel(figures.join(QStringLiteral(" · ")), row);
    numbers->setWordWrap(true);
    layout->addWidget(numbers);
    auto* chips = new QLabel(row);
    chips->setPixmap(strip);
    layout->addWidget(chips);
    return row;
}

} // namespace

QString changesText(int changes) {
    if (changes == 0)
        return QCoreApplication::translate("JourneyPanel", "без пересадок");
    const int tens = changes % 100, ones = changes % 10;
    if (ones == 1 && tens != 11)
        return QCoreApplication::translate("JourneyPanel", "%1 пересадка").arg(changes);
    if (ones >= 2 && ones <= 4 && (tens < 12 || tens > 14))
        return QCoreApplication::translate("JourneyPanel", "%1 пересадки").arg(changes);
    return QCoreApplication::translate("JourneyPanel", "%1 пересадок").arg(changes);
}

QString minutesText(double seconds) {
    return QCoreApplication::translate("JourneyPanel", "%1 мин")
        .arg(qint64(std::floor(seconds / 60)));
}

QString clockText(const Timetable& timetable, qint64 utc, const QDate& day) {
    const QDateTime at = QDateTime::fromSecsSinceEpoch(utc, timetable.timeZone());
    return at.toString(at.date() == day ? QStringLiteral("HH:mm") : QStringLiteral("dd.MM HH:mm"));
}

QString journeyTitle(const Journey& journey, const Timetable& timetable, const QDate& day) {
    return clockText(timetable, journey.departure, day) + QStringLiteral(" → ") +
           clockText(timetable, journey.arrival, day);
}

namespace {

// A ride's route: its number and colour by the timetable, the colour the map's description
// gives a route of that number where the feed gives none (as the map draws it).
RouteName routeOf(const JourneyLeg& ride, const Timetable& timetable, const RouteNames& names) {
    const Timetable::Pattern& pattern = timetable.patterns()[std::size_t(ride.pattern)];
    const Timetable::Route& route = timetable.routes()[pattern.route];
    QString number = timetable.text(route.shortName);
    if (number.isEmpty())
        number = timetable.text(route.longName);
    if (route.hasColour)
        return {number, toQColor(route.colour)};
    return {number, names.colourOfNumber(number)};
}

} // namespace

QList<RouteName> journeyRoutes(const Journey& journey, const Timetable& timetable,
                               const RouteNames& names) {
    QList<RouteName> routes;
    for (const JourneyLeg& leg : journey.legs)
        if (leg.kind == JourneyLeg::Kind::Ride)
            routes.append(routeOf(leg, timetable, names));
    return routes;
}

void listJourneyLegs(QListWidget* list, const Journey& journey, const Timetable& timetable,
                     const MapDocument& document) {
    const GraphMap& map = document.map();
    const RouteNames names(document);
    const QHash<int, StopIndex> byId = map.stopsById();
    const auto name = [&](int station) {
        const StopIndex stop =
            byId.value(timetable.stations()[std::size_t(station)].mapStop, NoStop);
        return stop != NoStop ? map.stop(stop).Label.Caption : timetable.stationName(station);
    };
    const QDate day = QDateTime::fromSecsSinceEpoch(journey.departure, timetable.timeZone()).date();
    QFont waitFont = list->font();
    waitFont.setItalic(true);
    // Walks and waits stand in line with the rides' texts.
    QPixmap blank(list->iconSize());
    blank.fill(Qt::transparent);
    qint64 free = journey.departure;
    for (const JourneyLeg& leg : journey.legs) {
        // A wait shorter than a minute says nothing a traveller needs.
        if (leg.departure - free >= 60) {
            auto* wait = new QListWidgetItem(list);
            wait->setText(QCoreApplication::translate("JourneyPanel", "Ожидание: %1, %2")
                              .arg(name(leg.from), minutesUp(leg.departure - free)));
            wait->setFont(waitFont);
            wait->setIcon(QIcon(blank));
        }
        free = leg.arrival;
        // The arrival's date is said only when it is not the departure's.
        const QDate left =
            QDateTime::fromSecsSinceEpoch(leg.departure, timetable.timeZone()).date();
        const QString times = clockText(timetable, leg.departure, day) + QStringLiteral("–") +
                              clockText(timetable, leg.arrival, left);
        auto* item = new QListWidgetItem(list);
        if (leg.kind == JourneyLeg::Kind::Walk) {
            item->setText(QCoreApplication::translate("JourneyPanel", "%1  Пешком: %2 → %3, %4")
                              .arg(times, name(leg.from), name(leg.to),
                                   minutesUp(leg.arrival - leg.departure)));
            item->setIcon(QIcon(blank));
            continue;
        }
        const RouteName route = routeOf(leg, timetable, names);
        const QString headsign = timetable.text(timetable.trips()[std::size_t(leg.trip)].headsign);
        const QString ride =
            headsign.isEmpty()
                ? QCoreApplication::translate("JourneyPanel", "№ %1").arg(route.number)
                : QCoreApplication::translate("JourneyPanel", "№ %1 «%2»")
                      .arg(route.number, headsign);
        item->setText(QCoreApplication::translate("JourneyPanel", "%1  %2\n%3 → %4")
                          .arg(times, ride, name(leg.from), name(leg.to)));
        // The chip at the left of an icon's box, so that every text starts at one place.
        QPixmap chip = blank;
        QPainter(&chip).drawPixmap(0, 0, routeChips({route}, Qt::gray, blank.height()));
        item->setIcon(QIcon(chip));
    }
}

QString wayName(const QList<Criterion>& criteria) {
    QStringList names;
    for (const Criterion criterion : criteria) {
        switch (criterion) {
        case Criterion::Shortest:
            names.append(QCoreApplication::translate("JourneyPanel", "кратчайший"));
            break;
        case Criterion::Fastest:
            names.append(QCoreApplication::translate("JourneyPanel", "быстрейший"));
            break;
        case Criterion::FewestChanges:
            names.append(QCoreApplication::translate("JourneyPanel", "меньше пересадок"));
            break;
        }
    }
    QString name = names.size() < 2
                       ? names.value(0)
                       : names.mid(0, names.size() - 1).join(QStringLiteral(", ")) +
                             QCoreApplication::translate("JourneyPanel", " и ") + names.back();
    if (!name.isEmpty())
        name[0] = name[0].toUpper();
    return name;
}

QWidget* wayRow(const PlannedWay& way, const MapDocument& document) {
    const RouteReport& report = way.report;
    // The rides' routes in travel order.
    const RouteNames names(document);
    const GraphMap& map = document.map();
    QList<RouteName> strip;
    QColor fallback = Qt::gray;
    for (const WayLeg& leg : report.legs) {
        if (leg.walk)
            continue;
        const Stop& boarding = map.stop(leg.from);
        if (leg.codes.isEmpty())
            strip.append({QStringLiteral("?"), toQColor(boarding.FillColor)});
        for (int i = 0; i < leg.codes.size(); ++i) {
            RouteName route = names.of(leg.codes[i], boarding);
            route.number = leg.numbers[i];
            strip.append(route);
        }
        fallback = toQColor(boarding.FillColor);
    }
    return rowWidget(wayName(way.criteria),
                     {minutesText(way.way.time), changesText(report.transfers), report.fareText,
                      report.lengthText},
                     routeChips(strip, fallback, 16));
}

QWidget* journeyRow(const PlannedJourney& planned, const Timetable& timetable, const QDate& day,
                    const MapDocument& document) {
    const Journey& journey = planned.journey;
    QList<RouteName> strip = journeyRoutes(journey, timetable, RouteNames(document));
    if (strip.isEmpty())
        strip.append({QCoreApplication::translate("JourneyPanel", "пешком"), std::nullopt});
    return rowWidget(journeyTitle(journey, timetable, day),
                     {minutesText(double(journey.arrival - journey.departure)),
                      changesText(planned.report.transfers), planned.report.fareText,
                      planned.report.lengthText},
                     routeChips(strip, Qt::gray, 16));
}

void listWayLegs(QListWidget* list, const PlannedWay& way, const MapDocument& document) {
    const GraphMap& map = document.map();
    const RouteNames names(document);
    for (const WayLeg& leg : way.report.legs) {
        const QString from = map.stop(leg.from).Label.Caption;
        const QString to = map.stop(leg.to).Label.Caption;
        auto* item = new QListWidgetItem(list);
        if (leg.walk) {
            item->setText(
                from == to ? QCoreApplication::translate("JourneyPanel", "Пересадка: %1, %2 мин")
                                 .arg(from)
                                 .arg(legMinutes(leg.time))
                           : QCoreApplication::translate("JourneyPanel", "Пешком: %1 → %2, %3 мин")
                                 .arg(from, to)
                                 .arg(legMinutes(leg.time)));
            continue;
        }
        QList<RouteName> routes;
        for (int i = 0; i < leg.codes.size(); ++i) {
            RouteName route = names.of(leg.codes[i], map.stop(leg.from));
            route.number = leg.numbers[i];
            routes.append(route);
        }
        const QString numbers = leg.numbers.isEmpty()
                                    ? QCoreApplication::translate("JourneyPanel", "Проезд")
                                    : QCoreApplication::translate("JourneyPanel", "№ %1")
                                          .arg(leg.numbers.join(QStringLiteral(", ")));
        item->setText(QCoreApplication::translate("JourneyPanel", "%1: %2 → %3, %4 мин")
                          .arg(numbers, from, to)
                          .arg(legMinutes(leg.time)));
        if (!routes.isEmpty())
            item->setIcon(
                QIcon(routeChips(routes.mid(0, 1), toQColor(map.stop(leg.from).FillColor), 14)));
    }
}

} // namespace lirsk
