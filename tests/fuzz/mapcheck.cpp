#include "mapcheck.h"

#include "model/mapfile.h"
#include "model/stopselection.h"
#include "route/findway.h"
#include "route/report.h"

#include <QSet>

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace lirsk::fuzz {

namespace {

bool uniqueIds(const GraphMap& map) {
    QSet<int> seen;
    for (const Stop& stop : map.stops()) {
        if (seen.contains(stop.Id))
            return false;
        seen.insert(stop.Id);
    }
    return true;
}

// A byte of the input counted from its end (where the last record's values lie), so that the
// fuzzer steers which stops are searched and edited.
int byteFromEnd(const QByteArray& bytes, qsizetype back) {
    return bytes.isEmpty() ? 0 : std::uint8_t(bytes.at(bytes.size() - 1 - back % bytes.size()));
}

StopIndex pickStop(const GraphMap& map, const QByteArray& bytes, qsizetype back) {
    if (map.stopCount() == 0)
        return NoStop;
    return StopIndex(std::size_t(byteFromEnd(bytes, back)) % map.stops().size());
}

bool linksStayOnTheMap(const GraphMap& map) {
    for (const Stop& stop : map.stops()) {
        for (const Link& link : stop.Links) {
            if (!map.isStop(link.To))
                return false;
        }
    }
    return true;
}

QString checkSearch(GraphMap& map, const QByteArray& bytes) {
    const StopIndex start = pickStop(map, bytes, 0);
    const StopIndex finish = pickStop(map, bytes, 1);
    if (start == NoStop)
        return {};
    const SearchResult result = FindWay(map, start, finish);
    if (result.outcome != SearchOutcome::Found)
        return result.way.empty() ? QString() : QStringLiteral("a way given with no way found");
    if (result.way.empty() || result.way.front() != finish || result.way.back() != start)
        return QStringLiteral("a found way does not run from the start to the finish");
    for (std::size_t k = 0; k + 1 < result.way.size(); ++k) {
        if (!map.FindLink(result.way[k + 1], result.way[k]))
            return QStringLiteral("a found way steps where no link goes");
    }
    const RouteReport report = BuildRouteReport(map, result.way, result.length, result.time,
                                                map.MapCode, map.MapCity, QLatin1Char(','));
    if (report.fareText.isEmpty() || report.lengthText.isEmpty() || report.timeText.isEmpty())
        return QStringLiteral("the report of a found way is missing a figure");
    return {};
}

// What editing does to a loaded map with no window behind it: a link added and one removed, a
// stop added where the input says and one deleted.
QString checkEdits(GraphMap& map, const QByteArray& bytes) {
    const StopIndex a = pickStop(map, bytes, 2);
    const StopIndex b = pickStop(map, bytes, 3);
    if (a != NoStop && a != b && !map.FindLink(a, b)) {
        map.AddLink(a, b, {0, map.cornerDistance(a, b), 0});
        if (!map.FindLink(a, b))
            return QStringLiteral("an added link is not found");
    }
    if (a != NoStop && map.FindLink(b, a))
        map.RemoveLink(b, a);

    const int x = (byteFromEnd(bytes, 4) << 8 | byteFromEnd(bytes, 5)) - 1000;
    const int y = (byteFromEnd(bytes, 6) << 8 | byteFromEnd(bytes, 7)) - 1000;
    const StopIndex added = map.AddStop(x, y, true);
    for (StopIndex stop = 0; stop < map.stopCount(); ++stop) {
        if (stop != added && map.stop(stop).Id == map.stop(added).Id)
            return QStringLiteral("a new stop was given the id %1 of another")
                .arg(map.stop(added).Id);
    }

    // Every other stop marked, and one stop deleted: the marks follow the stops.
    StopSelection marks;
    for (StopIndex stop = 0; stop < map.stopCount(); stop += 2)
        marks.insert(stop);
    const QString lastMarked = map.stop(marks.stops().back()).Label.Caption;
    if (const StopIndex gone = pickStop(map, bytes, 8); gone != NoStop) {
        const int before = map.stopCount();
        const bool goneMarked = marks.contains(gone);
        const int markedBefore = marks.count();
        map.takeStops({gone});
        marks.stopsTaken({gone});
        map.UpdateArcFlags();
        if (map.stopCount() != before - 1)
            return QStringLiteral("a deleted stop stays on the map");
        if (marks.count() != markedBefore - goneMarked ||
            (!marks.isEmpty() && marks.stops().back() >= map.stopCount()))
            return QStringLiteral("the marks did not follow the stops");
        if (!goneMarked && map.stop(marks.stops().back()).Label.Caption != lastMarked)
            return QStringLiteral("a mark moved to another stop");
    }
    if (!linksStayOnTheMap(map))
        return QStringLiteral("a link leads off the map after editing");
    return {};
}

} // namespace

QString checkMapBytes(const QByteArray& bytes) {
    GraphMap map;
    QString error;
    if (!readMap(bytes, map, &error))
        return error.isEmpty() ? QStringLiteral("a refusal that does not say why") : QString();
    map.UpdateArcFlags();
    if (const QString fault = checkSearch(map, bytes); !fault.isEmpty())
        return fault;
    const std::optional<QByteArray> saved = writeMap(map, map.StoredSearchPanel, &error);
    if (!saved)
        return {}; // texts the code page cannot hold are refused, never written
    GraphMap again;
    if (!readMap(*saved, again, &error))
        return QStringLiteral("what the writer wrote does not read back: ") + error;
    // With unique ids a saved map is a fixed point of reading and writing.
    if (uniqueIds(map) && writeMap(again, again.StoredSearchPanel, &error) != saved)
        return QStringLiteral("a saved map changes when read and saved again");

    if (const QString fault = checkEdits(map, bytes); !fault.isEmpty())
        return fault;
    map.UpdateArcFlags();
    const std::optional<QByteArray> edited = writeMap(map, map.StoredSearchPanel, &error);
    GraphMap reread;
    if (edited && !readMap(*edited, reread, &error))
        return QStringLiteral("an edited map, once saved, does not read back: ") + error;
    return {};
}

QByteArray decodeHex(const QByteArray& text, bool* ok) {
    QByteArray digits;
    bool comment = false;
    for (const char c : text) {
        if (c == '\n') {
            comment = false;
        } else if (comment || c == ' ' || c == '\t' || c == '\r') {
            continue;
        } else if (c == '#') {
            comment = true;
        } else if (std::isxdigit(static_cast<unsigned char>(c))) {
            digits.append(c);
        } else {
            *ok = false;
            return {};
        }
    }
    *ok = digits.size() % 2 == 0;
    return *ok ? QByteArray::fromHex(digits) : QByteArray();
}

} // namespace lirsk::fuzz
