#pragma once

// How journeys by the timetable read in the journey panel: the title and route strip of a row, and
// each leg with its times. Times are the agency's clock times (the timetable's zone).

#include "app/journeypanel.h"

class QListWidget;
class QWidget;

namespace lirsk {

// "без пересадок", "1 пересадка", "2 пересадки", "5 пересадок".
QString changesText(int changes);
// Whole minutes, rounded down: "12 мин".
QString minutesText(double seconds);

// A moment as "08:12", with its date ("02.06 00:15") when it falls on another day than the one
// given.
QString clockText(const Timetable& timetable, qint64 utc, const QDate& day);
// "08:12 → 08:55".
QString journeyTitle(const Journey& journey, const Timetable& timetable, const QDate& day);
// The routes of the rides in travel order, with the timetable's colours (the map's where the feed
// gives none).
QList<RouteName> journeyRoutes(const Journey& journey, const Timetable& timetable,
                               const RouteNames& names);
// Fills the list with the journey's legs: each ride with its route, from and to stops and times,
// each walk, and each wait between them. Stops go by the map's names.
void listJourneyLegs(QListWidget* list, const Journey& journey, const Timetable& timetable,
                     const MapDocument& document);

// A way's name by the criteria that found it: «Кратчайший», «Быстрейший и меньше пересадок».
QString wayName(const QList<Criterion>& criteria);
// A row of the ways list: a way of the map's own searches, a journey by the timetable (times on
// the given day read without their date).
QWidget* wayRow(const PlannedWay& way, const MapDocument& document);
QWidget* journeyRow(const PlannedJourney& planned, const Timetable& timetable, const QDate& day,
                    const MapDocument& document);
// Fills the list with a way's legs: each ride with its routes' numbers and the first one's chip,
// each walk, and each change within a station, with their minutes.
void listWayLegs(QListWidget* list, const PlannedWay& way, const MapDocument& document);

} // namespace lirsk
