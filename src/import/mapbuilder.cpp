#include "import/mapbuilder.h"

#include "import/feedfile.h"
#include "import/geo.h"
#include "import/importtext.h"
#include "import/labelplacer.h"
#include "import/transliterate.h"
#include "import/walkingneighbours.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <array>
#include <unordered_set>

namespace lirsk::gtfs {

namespace {

// A way longer than this is "unreached" to the route search.
constexpr double kSearchLimit = 262136;
// The estimated width of a character of a name in the map's default font (8-point MS Sans
// Serif): the core has no font metrics.
constexpr int kCharWidth = 6;
// A name longer than this is placed as if it were this long.
constexpr int kMaxPlacedChars = 200;
constexpr int kMargin = 40;
// The largest description its reader takes.
constexpr qint64 kMaxDescriptionBytes = qint64(16) << 20;

QString typeName(int basicType) {
    switch (basicType) {
    case 0:
        return QStringLiteral("tram");
    case 1:
        return QStringLiteral("metro");
    case 2:
        return QStringLiteral("rail");
    case 4:
        return QStringLiteral("ferry");
    case 5:
        return QStringLiteral("cablecar");
    case 6:
        return QStringLiteral("gondola");
    case 7:
        return QStringLiteral("funicular");
    case 11:
        return QStringLiteral("trolleybus");
    case 12:
        return QStringLiteral("monorail");
    default:
        return QStringLiteral("bus");
    }
}

// Colours that tell lines apart, given to the routes the feed gives none (#RRGGBB).
constexpr unsigned kLinePalette[] = {0xE6194B, 0x3CB44B, 0x4363D8, 0xF58231, 0x911EB4, 0x42D4F4,
                                     0xF032E6, 0x9A6324, 0x808000, 0x000075, 0x469990, 0x800000};

Colour paletteColour(std::size_t k) {
    const unsigned rgb = kLinePalette[k];
    return Colour(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

// A stop of the map to be, with its station's index.
struct MapStop {
    int station;
    int centreX, centreY;
    QString name;
    QString routes;
    Colour fill = DefaultStopFill;
    PixelRect label{};
    bool nameShown = true;
    int trips = 0; // calls of all routes
};

struct MapLink {
    int from, to; // stations
    double length, time;
};

// One projection for the whole feed: metres east and north of the centre of its extent, then
// pixels at the scale asked, or at the one that makes the map about kDefaultMapPixels across.
class Projection {
public:
    Projection(StopTable& stops, const std::vector<int>& served, double metresPerPixel,
               GtfsImportResult& result);
    int pixelX(const Station& s) const { return pixel(kMargin + (s.x - minX_) / scale_); }
    int pixelY(const Station& s) const { return pixel(kMargin + (maxY_ - s.y) / scale_); }

private:
    static int pixel(double v) { return int(std::clamp(v, 0.0, 1e9)); }
    double minX_ = 0, maxY_ = 0, scale_ = 1;
};

Projection::Projection(StopTable& stops, const std::vector<int>& served, double metresPerPixel,
                       GtfsImportResult& result) {
    double minLat = 90, maxLat = -90, minLon = 180, maxLon = -180;
    for (const int k : served) {
        const Station& s = stops.stations[std::size_t(k)];
        minLat = std::min(minLat, s.lat);
        maxLat = std::max(maxLat, s.lat);
        minLon = std::min(minLon, s.lon);
        maxLon = std::max(maxLon, s.lon);
    }
    const double lat0 = (minLat + maxLat) / 2, lon0 = (minLon + maxLon) / 2;
    const double cosLat = std::cos(radians(lat0));
    double maxX = 0, minY = 0;
    for (const int k : served) {
        Station& s = stops.stations[std::size_t(k)];
        s.x = radians(s.lon - lon0) * cosLat * kEarthRadius;
        s.y = radians(s.lat - lat0) * kEarthRadius;
        minX_ = std::min(minX_, s.x);
        maxX = std::max(maxX, s.x);
        minY = std::min(minY, s.y);
        maxY_ = std::max(maxY_, s.y);
    }
    result.extentMetres = greatCircle(minLat, minLon, maxLat, maxLon);
    if (result.extentMetres > kSearchLimit)
        result.notes << ImportText::tr("сеть протянулась на %1 км, а путь длиннее 262 136 м поиск "
                                       "считает недостижимым: сузьте выбор ключами --routes, "
                                       "--route-types или --agency")
                            .arg(qRound(result.extentMetres / 1000));
    const double span = std::max(maxX - minX_, maxY_ - minY);
    scale_ = metresPerPixel > 0 ? metresPerPixel : span > 0 ? span / kDefaultMapPixels : 1;
}

// A stop for each station served: its name fitted to Windows-1251 (the feed's own name kept in
// the description), its routes' codes and the colour of the route with most trips there.
std::vector<MapStop> makeStops(StopTable& stops, const RouteTable& routes,
                               const std::vector<int>& served, const Projection& projection,
                               const FeedTables& feed, GtfsImportResult& result,
                               ImportProgress& progress) {
    const Cp1251Fitter fitter(feed.agency.language);
    std::vector<MapStop> made;
    for (const int k : served) {
        Station& s = stops.stations[std::size_t(k)];
        const StopRow& row = stops.rows[std::size_t(s.stop)];
        MapStop stop{k, projection.pixelX(s), projection.pixelY(s), {}, {}};
        const QString name = row.name.isEmpty() ? text(row.id) : row.name;
        stop.name = fitter.fitName(name, feed.readings.of(row.id, row.name));
        // A name of which nothing is left (emoji) gives way to the stop_id, and that to a number.
        if (stop.name.trimmed().isEmpty())
            stop.name = fitter.fit(text(row.id));
        if (stop.name.trimmed().isEmpty())
            stop.name = ImportText::tr("Остановка %1").arg(made.size() + 1);
        if (stop.name != name) {
            ++result.renamedNames;
            result.description.ownNames.append({int(made.size()), name, stop.name});
        }
        std::sort(s.routeTrips.begin(), s.routeTrips.end());
        QStringList codes;
        int most = 0;
        for (const auto& [route, count] : s.routeTrips) {
            const RouteRow& r = routes.rows[std::size_t(route)];
            codes << r.code;
            stop.trips += count;
            if (count > most) {
                most = count;
                stop.fill = r.color.value_or(DefaultStopFill);
            }
        }
        stop.routes = codes.join(QLatin1Char(' '));
        s.mapIndex = int(made.size());
        made.push_back(std::move(stop));
        progress.tick(double(made.size()) / double(served.size()),
                      name.size() / 64 + qint64(s.routeTrips.size()) / 16 + 1);
    }
    return made;
}

// Stops of the same name closer than this share one name (platforms without a station).
constexpr double kSharedNameMetres = 250;

// Of the stops of one name that lie within kSharedNameMetres of each other, only the one with the
// most calls shows it.
void shareNames(std::vector<MapStop>& stops, const StopTable& table, ImportProgress& progress) {
    QHash<QString, std::vector<int>> byName;
    for (std::size_t k = 0; k < stops.size(); ++k)
        byName[stops[k].name].push_back(int(k));
    for (std::vector<int>& group : byName) {
        if (group.size() < 2)
            continue;
        std::sort(group.begin(), group.end(), [&](int a, int b) {
            return stops[std::size_t(a)].trips > stops[std::size_t(b)].trips;
        });
        std::vector<int> shown;
        for (const int k : group) {
            const Station& s = table.stations[std::size_t(stops[std::size_t(k)].station)];
            for (const int other : shown) {
                const Station& o = table.stations[std::size_t(stops[std::size_t(other)].station)];
                if (greatCircle(s.lat, s.lon, o.lat, o.lon) < kSharedNameMetres) {
                    stops[std::size_t(k)].nameShown = false;
                    break;
                }
                progress.tick(0);
            }
            if (stops[std::size_t(k)].nameShown)
                shown.push_back(k);
        }
    }
}

void placeNames(std::vector<MapStop>& stops, ImportProgress& progress) {
    const Stop shape;
    OccupiedArea occupied;
    for (const MapStop& s : stops) {
        const int left = s.centreX - shape.Radius, top = s.centreY - shape.Radius;
        occupied.add({left, top, left + shape.Width, top + shape.Height});
    }
    const int radius = shape.Width / 2 + 2;
    for (std::size_t k = 0; k < stops.size(); ++k) {
        MapStop& s = stops[k];
        if (!s.nameShown)
            continue;
        const int width = kCharWidth * int(std::min<qsizetype>(s.name.size(), kMaxPlacedChars)) + 2;
        s.label = placeName(occupied, s.centreX, s.centreY, radius, width);
        progress.tick(double(k) / double(stops.size()));
    }
}

double stationDistance(const StopTable& stops, int a, int b) {
    const Station& p = stops.stations[std::size_t(a)];
    const Station& q = stops.stations[std::size_t(b)];
    return greatCircle(p.lat, p.lon, q.lat, q.lon);
}

// A link for each ride, in order of its stations: the length along the shapes (else the
// great-circle distance), the mean of both directions where both exist, so that the pair is a
// road; the median time.
std::vector<MapLink> rideLinks(Rides& rides, const StopTable& stops, ImportProgress& progress) {
    const auto rideLength = [&](std::uint64_t key, const RideStats& r) {
        return r.shapeCount > 0 ? r.shapeLength / r.shapeCount
                                : stationDistance(stops, pairFirst(key), pairSecond(key));
    };
    std::vector<std::pair<std::uint64_t, RideStats*>> ordered;
    ordered.reserve(rides.size());
    for (auto& [key, ride] : rides)
        ordered.emplace_back(key, &ride);
    std::sort(ordered.begin(), ordered.end(), [&](const auto& a, const auto& b) {
        progress.tick(0);
        return a.first < b.first;
    });
    std::vector<MapLink> links;
    for (auto& [key, ride] : ordered) {
        const int a = pairFirst(key), b = pairSecond(key);
        double length = rideLength(key, *ride);
        const auto back = rides.find(pairKey(b, a));
        if (back != rides.end())
            length = (length + rideLength(back->first, back->second)) / 2;
        links.push_back(
            {a, b, std::round(length), ride->times.empty() ? 0.0 : ride->times.median()});
        progress.tick(double(links.size()) / double(ordered.size()),
                      qint64(ride->times.distinct()) / 16 + 1);
    }
    return links;
}

// Walking roads: the walks a timetable of the feed has, where no ride already goes that way. The
// description lists them by the map's stop ids, so that the report names them as walks.
void addWalkingLinks(const FeedTables& feed, const std::vector<int>& served,
                     std::vector<MapLink>& links, MapDescription& description,
                     ImportProgress& progress) {
    const StopTable& stops = feed.stops;
    std::vector<int> place(stops.stations.size(), -1);
    std::vector<WalkingPlace> places;
    for (const int k : served) {
        const Station& s = stops.stations[std::size_t(k)];
        place[std::size_t(k)] = int(places.size());
        places.push_back({s.lat, s.lon, stops.rows[std::size_t(s.stop)].id});
    }
    std::vector<PlaceTransfer> transfers;
    for (const PlaceTransfer& t : feed.transfers.rows)
        if (place[std::size_t(t.from)] >= 0 && place[std::size_t(t.to)] >= 0)
            transfers.push_back(
                {place[std::size_t(t.from)], place[std::size_t(t.to)], t.type, t.minTime});
    for (const PlaceWalk& w : placeWalks(places, transfers, progress)) {
        const int from = served[std::size_t(w.from)], to = served[std::size_t(w.to)];
        if (feed.rides.count(pairKey(from, to)))
            continue;
        links.push_back({from, to, std::round(w.metres), double(w.seconds)});
        description.walks.push_back(
            {stops.stations[std::size_t(from)].mapIndex, stops.stations[std::size_t(to)].mapIndex});
        progress.tick(0);
    }
}

void fillMap(GraphMap& map, const std::vector<MapStop>& stops, const std::vector<MapLink>& links,
             const StopTable& table, ImportProgress& progress) {
    map.clearStops();
    map.Settings.AutoArcColor = true;
    // Lengths on a city's map read like route numbers: they are shown when asked for.
    map.Settings.ShowWeights = false;
    map.MapCode = kImportedMapCode;
    std::vector<StopIndex> made;
    map.reserveStops(int(stops.size()));
    for (const MapStop& s : stops) {
        const int id = int(made.size());
        const StopIndex index = map.AddStop(s.centreX, s.centreY, false);
        Stop& stop = map.stop(index);
        stop.Id = id;
        stop.Left = s.centreX - stop.Radius;
        stop.Top = s.centreY - stop.Radius;
        stop.Label.Caption = s.name;
        stop.Label.Left = s.label.left;
        stop.Label.Top = s.label.top;
        stop.Label.Visible = s.nameShown;
        stop.Routes = s.routes;
        stop.FillColor = s.fill;
        made.push_back(index);
        progress.tick(double(made.size()) / double(stops.size() + links.size()));
    }
    map.MaxStopId = std::max(0, int(made.size()) - 1);
    const auto stopOf = [&](int station) {
        return made[std::size_t(table.stations[std::size_t(station)].mapIndex)];
    };
    // A link whose opposite has the same length is half of a road, any other an arc.
    std::unordered_map<std::uint64_t, double> lengths;
    for (const MapLink& l : links) {
        lengths.emplace(pairKey(l.from, l.to), l.length);
        progress.tick(0);
    }
    for (std::size_t k = 0; k < links.size(); ++k) {
        const MapLink& l = links[k];
        Link link;
        link.To = stopOf(l.to);
        link.Length = l.length;
        link.Time = l.time;
        const auto opposite = lengths.find(pairKey(l.to, l.from));
        link.IsArc = opposite == lengths.end() || opposite->second != l.length;
        map.appendLink(stopOf(l.from), link);
        progress.tick(double(stops.size() + k) / double(stops.size() + links.size()));
    }
}

// The bytes a text takes at most in the description's JSON.
qint64 jsonBytes(const QString& text) {
    qint64 bytes = 2;
    for (const QChar c : text)
        bytes += c.unicode() < 0x20                                ? 6
                 : c == QLatin1Char('"') || c == QLatin1Char('\\') ? 2
                 : c.unicode() < 0x80                              ? 1
                 : c.unicode() < 0x800                             ? 2
                                                                   : 3;
    return bytes;
}

// The bytes of the own names in the indented JSON.
qint64 ownNameBytes(const QList<OwnName>& names) {
    constexpr qint64 kEntryBytes = 48; // the brackets, the stop id and the indentation
    qint64 bytes = 0;
    for (const OwnName& n : names)
        bytes += kEntryBytes + jsonBytes(n.name) + jsonBytes(n.fileName);
    return bytes;
}

// The own names in the description while they take no more than the bytes given; past that
// the map keeps its file names alone, with a note.
void keepOwnNamesWithin(qint64 most, GtfsImportResult& result) {
    if (ownNameBytes(result.description.ownNames) <= most)
        return;
    result.description.ownNames.clear();
    result.notes << ImportText::tr("названий так много, что описание карты не хранит их в "
                                   "написании источника: карта показывает их латиницей");
}

// The route table of the description, within what its reader takes: a table too large for it
// loses the routes' long names, then its last rows, with a note.
std::vector<int> describeRoutes(const RouteTable& routes, const std::vector<Colour>& colours,
                                const QString& title, GtfsImportResult& result,
                                ImportProgress& progress) {
    MapDescription& d = result.description;
    d.mapCode = kImportedMapCode;
    d.title = title;
    // The bytes of a row's keys and indentation in the indented JSON: code and number, a name,
    // a colour (every route has one), a text colour.
    constexpr qint64 kRowBytes = 66, kNameBytes = 22, kColourBytes = 32, kTextColourBytes = 37;
    // A route without a short name goes by its long name («Oyster Bay Branch»), else its id.
    const auto number = [](const RouteRow& r) {
        return !r.shortName.isEmpty()  ? r.shortName
               : !r.longName.isEmpty() ? r.longName
                                       : text(r.id);
    };
    const auto rowBytes = [&](const RouteRow& r, bool name) {
        progress.tick(0);
        return kRowBytes + jsonBytes(r.code) + jsonBytes(number(r)) +
               (name && !r.longName.isEmpty() ? kNameBytes + jsonBytes(r.longName) : 0) +
               kColourBytes + (r.textColor ? kTextColourBytes : 0);
    };
    qint64 walkBytes = 0;
    for (const auto& [from, to] : d.walks)
        walkBytes += QByteArray::number(from).size() + QByteArray::number(to).size() + 2;
    if (walkBytes > kMaxDescriptionBytes / 2) {
        d.walks.clear();
        walkBytes = 0;
        result.notes << ImportText::tr("пеших переходов так много, что описание карты не "
                                       "перечисляет их: отчёт считает их поездками");
    }
    const qint64 head = 1024 + jsonBytes(d.title) + jsonBytes(d.fareUnit) + jsonBytes(d.picture) +
                        walkBytes + ownNameBytes(d.ownNames);
    qint64 bytes = head, calling = 0;
    for (const RouteRow& r : routes.rows)
        if (r.calls) {
            bytes += rowBytes(r, true);
            ++calling;
        }
    const bool names = bytes <= kMaxDescriptionBytes;
    bytes = head;
    std::vector<int> rowOf(routes.rows.size(), -1);
    for (std::size_t k = 0; k < routes.rows.size(); ++k) {
        const RouteRow& r = routes.rows[k];
        if (!r.calls)
            continue;
        bytes += rowBytes(r, names);
        if (bytes > kMaxDescriptionBytes)
            break;
        rowOf[k] = int(d.routes.size());
        d.routes.append(
            {r.code, number(r), names ? r.longName : QString(), colours[k], r.textColor, {}});
    }
    if (!names)
        result.notes << ImportText::tr("маршрутов так много, что описание карты превысило бы %1 "
                                       "МБ: в него вошли %2 маршрутов из %3, без названий")
                            .arg(kMaxDescriptionBytes >> 20)
                            .arg(d.routes.size())
                            .arg(calling);
    return rowOf;
}

// Each route's colour: the feed's, else one of the palette that no route sharing a link with it
// has, where there is one (most shared routes first), else the one fewest of them have.
std::vector<Colour> lineColours(const RouteTable& routes, const Rides& rides,
                                ImportProgress& progress) {
    // More routes over one link than this are a crowd no palette tells apart: they make no
    // neighbours (and the pairs of a crowd would grow as its square).
    constexpr std::size_t kCrowd = 64;
    std::vector<std::unordered_set<int>> neighbours(routes.rows.size());
    for (const auto& [key, ride] : rides) {
        if (ride.routes.size() > kCrowd)
            continue;
        for (const int a : ride.routes)
            for (const int b : ride.routes)
                if (a != b)
                    neighbours[std::size_t(a)].insert(b);
        progress.tick(0);
    }
    std::vector<Colour> colours(routes.rows.size(), DefaultStopFill);
    std::vector<bool> given(routes.rows.size(), false);
    std::vector<int> order;
    for (std::size_t k = 0; k < routes.rows.size(); ++k) {
        if (routes.rows[k].color) {
            colours[k] = *routes.rows[k].color;
            given[k] = true;
        } else {
            order.push_back(int(k));
        }
    }
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return neighbours[std::size_t(a)].size() > neighbours[std::size_t(b)].size();
    });
    constexpr std::size_t kColours = std::size(kLinePalette);
    for (const int k : order) {
        std::array<int, kColours> uses{};
        for (const int n : neighbours[std::size_t(k)])
            for (std::size_t c = 0; c < kColours; ++c)
                if (given[std::size_t(n)] && colours[std::size_t(n)] == paletteColour(c))
                    ++uses[c];
        const std::size_t least =
            std::size_t(std::min_element(uses.begin(), uses.end()) - uses.begin());
        colours[std::size_t(k)] = paletteColour(least);
        given[std::size_t(k)] = true;
        progress.tick(0);
    }
    return colours;
}

// The routes of every ride, by stop id (a stop's id is its index in the map), in the
// description while it stays within what its reader takes.
void describeLinks(const Rides& rides, const StopTable& stops, const std::vector<int>& rowOf,
                   GtfsImportResult& result, ImportProgress& progress) {
    std::vector<std::uint64_t> keys;
    keys.reserve(rides.size());
    for (const auto& [key, ride] : rides)
        keys.push_back(key);
    std::sort(keys.begin(), keys.end());
    QList<DescribedLink> links;
    qint64 bytes = describeAsJson(result.description).size();
    // The bytes of a link in the indented JSON, and of each route on it.
    constexpr qint64 kLinkBytes = 120, kRouteBytes = 24;
    for (const std::uint64_t key : keys) {
        DescribedLink link{stops.stations[std::size_t(pairFirst(key))].mapIndex,
                           stops.stations[std::size_t(pairSecond(key))].mapIndex,
                           {}};
        for (const int route : rides.at(key).routes)
            if (rowOf[std::size_t(route)] >= 0)
                link.routes.append(rowOf[std::size_t(route)]);
        if (link.routes.isEmpty())
            continue;
        bytes += kLinkBytes + kRouteBytes * link.routes.size();
        if (bytes > kMaxDescriptionBytes) {
            result.notes << ImportText::tr("маршруты перегонов не вошли в описание карты: оно "
                                           "превысило бы %1 МБ")
                                .arg(kMaxDescriptionBytes >> 20);
            return;
        }
        links.append(link);
        progress.tick(0);
    }
    result.description.links = links;
}

// Where the import put each name, so that the program may place it anew while it stays there;
// where the description would grow past what its reader takes, the names stay as placed here.
void describePlacedNames(const GraphMap& map, GtfsImportResult& result) {
    // The bytes of a name's place in the indented JSON.
    constexpr qint64 kPlaceBytes = 80;
    if (describeAsJson(result.description).size() + kPlaceBytes * map.stopCount() >
        kMaxDescriptionBytes) {
        result.notes << ImportText::tr("места названий не вошли в описание карты: оно превысило "
                                       "бы %1 МБ")
                            .arg(kMaxDescriptionBytes >> 20);
        return;
    }
    for (const Stop& stop : map.stops())
        if (stop.Label.Visible)
            result.description.placedNames.append(
                {stop.Id, stop.Label.Left - stop.Left, stop.Label.Top - stop.Top});
}

// Empties the container between reports: freeing a million names at once takes a second.
template <class T> void release(std::vector<T>& rows, ImportProgress& progress) {
    while (!rows.empty()) {
        rows.pop_back();
        progress.tick(0);
    }
    rows.shrink_to_fit();
}

template <class Hash> void release(Hash& hash, ImportProgress& progress) {
    for (auto it = hash.begin(); it != hash.end();) {
        it = hash.erase(it);
        progress.tick(0);
    }
}

// The tables, once the map is made.
void releaseTables(FeedTables& feed, ImportProgress& progress) {
    release(feed.routes.rows, progress);
    release(feed.routes.ids, progress);
    release(feed.trips.rows, progress);
    release(feed.trips.ids, progress);
    release(feed.trips.shapeIds, progress);
    release(feed.stops.rows, progress);
    release(feed.stops.ids, progress);
    release(feed.stops.stations, progress);
    release(feed.rides, progress);
    release(feed.transfers.rows, progress);
}

} // namespace

void nameRoutes(RouteTable& routes, ImportProgress& progress) {
    QHash<QString, int> shortNames, typed;
    for (const RouteRow& r : routes.rows) {
        if (r.calls && !r.shortName.isEmpty()) {
            ++shortNames[r.shortName];
            ++typed[r.shortName + QLatin1Char('-') + typeName(r.type)];
        }
        progress.tick(0);
    }
    Cp1251Fitter fitter;
    QSet<QString> used;
    QHash<QString, int> nextNumber; // the number to try first after a base already used
    for (RouteRow& r : routes.rows) {
        if (!r.calls)
            continue;
        QString base = r.shortName;
        if (base.isEmpty())
            base = text(r.id);
        else if (shortNames.value(r.shortName) > 1) {
            base += QLatin1Char('-') + typeName(r.type);
            if (typed.value(base) > 1)
                base += QLatin1Char('-') + text(r.id);
        }
        base = fitter.fit(base).remove(QLatin1Char(' '));
        if (base.isEmpty())
            base = fitter.fit(text(r.id)).remove(QLatin1Char(' '));
        if (base.isEmpty())
            base = QString::number(&r - routes.rows.data() + 1);
        QString code = kImportedMapCode + base;
        if (used.contains(code)) {
            int n = nextNumber.value(base, 2);
            while (used.contains(code = kImportedMapCode + base + QLatin1Char('-') +
                                        QString::number(n)))
                ++n;
            nextNumber.insert(base, n + 1);
        }
        used.insert(code);
        r.code = code;
        progress.tick(0);
    }
    release(shortNames, progress);
    release(typed, progress);
    release(used, progress);
    release(nextNumber, progress);
}

void buildMap(FeedTables& feed, const GtfsImportOptions& options, GraphMap& map,
              GtfsImportResult& result, ImportProgress& progress) {
    std::vector<int> served;
    for (std::size_t k = 0; k < feed.stops.stations.size(); ++k)
        if (feed.stops.stations[k].served)
            served.push_back(int(k));
    const Projection projection(feed.stops, served, options.metresPerPixel, result);
    progress.begin(ImportText::tr("остановки"));
    std::vector<MapStop> stops =
        makeStops(feed.stops, feed.routes, served, projection, feed, result, progress);
    keepOwnNamesWithin(kMaxDescriptionBytes / 4, result);
    shareNames(stops, feed.stops, progress);
    progress.begin(ImportText::tr("названия"));
    placeNames(stops, progress);
    progress.begin(ImportText::tr("перегоны"));
    std::vector<MapLink> links = rideLinks(feed.rides, feed.stops, progress);
    progress.begin(ImportText::tr("пешие переходы"));
    addWalkingLinks(feed, served, links, result.description, progress);
    progress.begin(ImportText::tr("карта"));
    fillMap(map, stops, links, feed.stops, progress);
    const std::vector<int> rowOf = describeRoutes(
        feed.routes, lineColours(feed.routes, feed.rides, progress),
        !options.title.isEmpty() ? options.title : feed.agency.firstName, result, progress);
    describeLinks(feed.rides, feed.stops, rowOf, result, progress);
    describePlacedNames(map, result);
    for (const RouteRow& r : feed.routes.rows)
        if (r.calls)
            result.routeTypes.insert(r.type);
    releaseTables(feed, progress);
    if (result.renamedNames > 0)
        result.notes << ImportText::tr("названий с буквами вне Windows-1251, записанных "
                                       "латиницей: %1")
                            .arg(result.renamedNames);
}

} // namespace lirsk::gtfs
