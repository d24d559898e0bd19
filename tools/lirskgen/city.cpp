#include "city.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <limits>

namespace lirsk::city {

namespace {

QPointF pointFrom(const QJsonValue& v) {
    const QJsonArray a = v.toArray();
    return a.size() == 2 ? QPointF(a[0].toDouble(), a[1].toDouble()) : QPointF();
}

Polyline polylineFrom(const QJsonValue& v) {
    Polyline line;
    for (const QJsonValue& p : v.toArray())
        line << pointFrom(p);
    return line;
}

QStringList namesFrom(const QJsonValue& v) {
    QStringList names;
    for (const QJsonValue& n : v.toArray())
        names << n.toString();
    return names;
}

QList<NamedPoint> namedPointsFrom(const QJsonValue& v) {
    QList<NamedPoint> points;
    for (const QJsonValue& p : v.toArray())
        points << NamedPoint{p[QLatin1String("name")].toString(),
                             pointFrom(p[QLatin1String("at")])};
    return points;
}

QList<Route> routesFrom(const QJsonValue& v) {
    QList<Route> routes;
    for (const QJsonValue& r : v.toArray())
        routes << Route{r[QLatin1String("code")].toString(), namesFrom(r[QLatin1String("stops")]),
                        namesFrom(r[QLatin1String("back")])};
    return routes;
}

double segmentDistance(QPointF p, QPointF a, QPointF b) {
    const QPointF ab = b - a;
    const double len2 = QPointF::dotProduct(ab, ab);
    double t = len2 > 0 ? QPointF::dotProduct(p - a, ab) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const QPointF d = p - (a + t * ab);
    return std::hypot(d.x(), d.y());
}

double distance(QPointF a, QPointF b) {
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

QPoint centreOf(QPointF p) {
    return QPoint(int(std::lround(p.x())), int(std::lround(p.y())));
}

} // namespace

QStringList Route::wayBack() const {
    if (!backward.isEmpty())
        return backward;
    QStringList back(forward.rbegin(), forward.rend());
    return back;
}

const QList<Route>& City::routes(Network network) const {
    switch (network) {
    case Network::Trolleybus:
        return trolleybus;
    case Network::Tram:
        return tram;
    case Network::Metro:
        break;
    }
    return metro;
}

const QList<NamedPoint>& City::stopsOf(Network network) const {
    return network == Network::Metro ? metroStations : stops;
}

std::optional<QPointF> City::stopAt(Network network, const QString& name) const {
    for (const NamedPoint& s : stopsOf(network)) {
        if (s.name == name)
            return s.at;
    }
    return std::nullopt;
}

std::optional<City> readCity(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!doc.isObject()) {
        *error = QStringLiteral("%1: %2 at offset %3")
                     .arg(path, parseError.errorString())
                     .arg(parseError.offset);
        return std::nullopt;
    }
    const QJsonObject o = doc.object();
    City c;
    const QPointF size = pointFrom(o[QLatin1String("size")]);
    c.size = QSize(int(size.x()), int(size.y()));
    c.metresPerPixel = o[QLatin1String("metresPerPixel")].toDouble();
    const QJsonObject river = o[QLatin1String("river")].toObject();
    c.riverName = river[QLatin1String("name")].toString();
    c.riverWidth = river[QLatin1String("width")].toDouble();
    c.river = polylineFrom(river[QLatin1String("points")]);
    for (const QJsonValue& b : o[QLatin1String("bridges")].toArray())
        c.bridges << Bridge{b[QLatin1String("name")].toString(),
                            pointFrom(b[QLatin1String("from")]), pointFrom(b[QLatin1String("to")])};
    for (const QJsonValue& a : o[QLatin1String("areas")].toArray())
        c.areas << Area{a[QLatin1String("name")].toString(), a[QLatin1String("kind")].toString(),
                        polylineFrom(a[QLatin1String("points")])};
    c.districts = namedPointsFrom(o[QLatin1String("districts")]);
    const QJsonObject railway = o[QLatin1String("railway")].toObject();
    c.railway = polylineFrom(railway[QLatin1String("points")]);
    c.station = NamedPoint{railway[QLatin1String("station")].toString(),
                           pointFrom(railway[QLatin1String("stationAt")])};
    for (const QJsonValue& s : o[QLatin1String("streets")].toArray()) {
        const QString cls = s[QLatin1String("class")].toString();
        c.streets << Street{s[QLatin1String("name")].toString(), cls == QLatin1String("major"),
                            s[QLatin1String("oneWay")].toBool(),
                            polylineFrom(s[QLatin1String("points")])};
    }
    c.stops = namedPointsFrom(o[QLatin1String("stops")]);
    const QJsonObject metro = o[QLatin1String("metro")].toObject();
    for (const QJsonValue& s : metro[QLatin1String("stations")].toArray()) {
        c.metroStations << NamedPoint{s[QLatin1String("name")].toString(),
                                      pointFrom(s[QLatin1String("at")])};
        c.metroDiagram << pointFrom(s[QLatin1String("diagram")]);
    }
    c.metro = routesFrom(metro[QLatin1String("routes")]);
    c.trolleybus = routesFrom(o[QLatin1String("trolleybus")]);
    c.tram = routesFrom(o[QLatin1String("tram")]);
    if (c.size.isEmpty() || c.metresPerPixel <= 0) {
        *error = QStringLiteral("%1: no picture size or scale").arg(path);
        return std::nullopt;
    }
    return c;
}

double distanceToStreet(const City& city, QPointF p, QString* street) {
    double best = std::numeric_limits<double>::infinity();
    for (const Street& s : city.streets) {
        for (qsizetype i = 1; i < s.points.size(); ++i) {
            const double d = segmentDistance(p, s.points[i - 1], s.points[i]);
            if (d < best) {
                best = d;
                if (street)
                    *street = s.name;
            }
        }
    }
    for (const Bridge& b : city.bridges) {
        const double d = segmentDistance(p, b.from, b.to);
        if (d < best) {
            best = d;
            if (street)
                *street = b.name;
        }
    }
    return best;
}

QStringList checkCity(const City& city) {
    QStringList problems;
    for (const Network network : {Network::Trolleybus, Network::Tram, Network::Metro}) {
        QSet<QString> names;
        for (const NamedPoint& s : city.stopsOf(network)) {
            if (names.contains(s.name))
                problems << QStringLiteral("two stops named %1").arg(s.name);
            names.insert(s.name);
        }
        for (const Route& r : city.routes(network)) {
            if (r.forward.size() < 2)
                problems << QStringLiteral("route %1 has fewer than two stops").arg(r.code);
            for (const QStringList& way : {r.forward, r.wayBack()}) {
                for (const QString& n : way) {
                    if (!names.contains(n))
                        problems << QStringLiteral("route %1: no stop %2").arg(r.code, n);
                }
            }
        }
    }
    QSet<QString> used;
    for (const Network network : {Network::Trolleybus, Network::Tram}) {
        for (const Route& r : city.routes(network)) {
            for (const QString& n : r.forward + r.backward)
                used.insert(n);
        }
    }
    for (const NamedPoint& s : city.stops) {
        if (!used.contains(s.name))
            problems << QStringLiteral("no route calls at %1").arg(s.name);
        if (distanceToStreet(city, s.at) > 6)
            problems << QStringLiteral("stop %1 is not on a street").arg(s.name);
    }
    // A stop served only by the routes whose table rows look for "code " would need a trailing
    // space, and so an empty last piece that every such stop shares: no change would ever be
    // counted between them. One-line networks do not mind; the others must not have such stops.
    for (const Network network : {Network::Trolleybus, Network::Tram, Network::Metro}) {
        if (city.routes(network).size() < 2)
            continue;
        for (const NamedPoint& s : city.stopsOf(network)) {
            const QString text = routesText(city, network, s.name);
            if (text.endsWith(QLatin1Char(' ')))
                problems << QStringLiteral("stop %1 needs another route besides %2")
                                .arg(s.name, text.trimmed());
        }
    }
    if (city.metroDiagram.size() != city.metroStations.size())
        problems << QStringLiteral("every metro station needs its diagram position");
    return problems;
}

QStringList spacedKeyCodes(const City& city, Network network) {
    QStringList codes;
    const QList<Route>& routes = city.routes(network);
    const qsizetype n = std::min<qsizetype>(routes.size(), network == Network::Tram ? 2 : 1);
    for (qsizetype i = 0; i < n; ++i)
        codes << routes[i].code;
    return codes;
}

QString routesText(const City& city, Network network, const QString& stop) {
    QStringList codes;
    for (const Route& r : city.routes(network)) {
        if (r.forward.contains(stop) || r.backward.contains(stop))
            codes << r.code;
    }
    QString text = codes.join(QLatin1Char(' '));
    if (!codes.isEmpty() && spacedKeyCodes(city, network).contains(codes.last()))
        text += QLatin1Char(' ');
    return text;
}

QList<QPoint> placeLabels(const QList<LabelBox>& boxes, const QRect& bounds) {
    constexpr int gap = 2;
    QList<QRect> taken;
    for (const LabelBox& b : boxes)
        taken << b.stop.adjusted(-1, -1, 1, 1);
    QList<QPoint> result;
    for (const LabelBox& b : boxes) {
        const QRect s = b.stop;
        const int w = b.text.width();
        const int h = b.text.height();
        const int midY = s.center().y() - h / 2;
        const int midX = s.center().x() - w / 2;
        const QList<QPoint> candidates = {
            {s.right() + gap + 1, midY},         {s.left() - gap - w, midY},
            {midX, s.top() - gap - h},           {midX, s.bottom() + gap + 1},
            {s.right() + gap, s.top() - h},      {s.right() + gap, s.bottom()},
            {s.left() - gap - w, s.top() - h},   {s.left() - gap - w, s.bottom()},
            {s.right() + gap + 6, midY - h + 1}, {s.right() + gap + 6, midY + h - 1},
            {s.left() - gap - w - 6, midY - h},  {s.left() - gap - w - 6, midY + h},
        };
        QPoint best = candidates.front();
        qint64 bestOverlap = std::numeric_limits<qint64>::max();
        for (const QPoint& c : candidates) {
            const QRect r(c, b.text);
            qint64 overlap = bounds.contains(r) ? 0 : qint64(w) * h;
            for (const QRect& t : taken) {
                const QRect x = r.intersected(t);
                if (!x.isEmpty())
                    overlap += qint64(x.width()) * x.height();
            }
            if (overlap < bestOverlap) {
                bestOverlap = overlap;
                best = c;
            }
            if (overlap == 0)
                break;
        }
        taken << QRect(best, b.text);
        result << best;
    }
    return result;
}

StopLook lookOf(Network network) {
    StopLook look;
    look.labelFont.Name = QStringLiteral("Arial");
    look.labelFont.Size = 8;
    look.labelFont.Bold = true;
    switch (network) {
    case Network::Trolleybus:
        look.fill = 0x00E0A040; // blue
        look.labelFont.Color = 0x00602000;
        break;
    case Network::Tram:
        look.fill = 0x004050E0; // red
        look.labelFont.Color = 0x00101070;
        break;
    case Network::Metro:
        look.size = 14;
        look.fill = 0x002020C0; // the line's red
        look.labelFont.Color = 0x00000000;
        look.labelFont.Size = 9;
        break;
    }
    return look;
}

double linkTime(Network network, double metres) {
    // Trams and trolleybuses average 18 km/h with a 20 s stop, the metro 40 km/h with 30 s.
    if (network == Network::Metro)
        return std::round(metres / (40.0 / 3.6) + 30);
    return std::round(metres / (18.0 / 3.6) + 20);
}

void buildMap(const City& city, Network network, bool diagram, const TextMeasure& measure,
              GraphMap& map) {
    const StopLook look = lookOf(network);
    const int radius = look.size / 2;

    // Stops in the order in which the routes first call at them.
    QStringList order;
    for (const Route& r : city.routes(network)) {
        for (const QString& n : r.forward + r.wayBack()) {
            if (!order.contains(n))
                order << n;
        }
    }
    auto positionOf = [&](const QString& name) {
        if (diagram) {
            for (qsizetype i = 0; i < city.metroStations.size(); ++i) {
                if (city.metroStations[i].name == name)
                    return centreOf(city.metroDiagram.value(i));
            }
        }
        return centreOf(city.stopAt(network, name).value_or(QPointF()));
    };

    QList<LabelBox> boxes;
    for (const QString& name : order) {
        const QPoint c = positionOf(name);
        Stop& stop = map.stop(map.AddStop(c.x() - radius, c.y() - radius, true));
        stop.Width = stop.Height = look.size;
        stop.Radius = radius;
        stop.FillColor = look.fill;
        stop.Label.Caption = name;
        stop.Label.Font = look.labelFont;
        stop.Routes = routesText(city, network, name);
        boxes << LabelBox{QRect(stop.Left, stop.Top, look.size, look.size),
                          measure(name, look.labelFont)};
    }
    const QList<QPoint> labels = placeLabels(boxes, QRect(QPoint(0, 0), city.size));
    for (qsizetype i = 0; i < labels.size(); ++i) {
        Stop& stop = map.stop(StopIndex(i));
        stop.Label.Left = labels[i].x();
        stop.Label.Top = labels[i].y();
    }

    auto stopNamed = [&](const QString& name) { return StopIndex(order.indexOf(name)); };
    auto addWay = [&](const QStringList& way) {
        for (qsizetype i = 1; i < way.size(); ++i) {
            const StopIndex from = stopNamed(way[i - 1]);
            const StopIndex to = stopNamed(way[i]);
            if (from == to || map.FindLink(from, to))
                continue;
            const double metres = std::round(
                distance(*city.stopAt(network, way[i - 1]), *city.stopAt(network, way[i])) *
                city.metresPerPixel);
            map.AddLink(from, to, {0, metres, linkTime(network, metres)});
        }
    };
    for (const Route& r : city.routes(network)) {
        addWay(r.forward);
        addWay(r.wayBack());
    }
    map.UpdateArcFlags();
}

} // namespace lirsk::city
