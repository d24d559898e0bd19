#include "metromap.h"

#include "labelfont.h"
#include "schematic.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <numbers>

namespace mapgen {

double greatCircleMetres(double lat1, double lon1, double lat2, double lon2) {
    const double rad = std::numbers::pi / 180;
    const double dLat = (lat2 - lat1) * rad, dLon = (lon2 - lon1) * rad;
    const double h = std::pow(std::sin(dLat / 2), 2) +
                     std::cos(lat1 * rad) * std::cos(lat2 * rad) * std::pow(std::sin(dLon / 2), 2);
    return 2 * kEarthRadiusM * std::asin(std::min(1.0, std::sqrt(h)));
}

lirsk::RoadWeight segmentWeight(const Station& a, const Station& b, const Segment& segment) {
    lirsk::RoadWeight w;
    w.Length = segment.lengthM ? *segment.lengthM
                               : std::round(greatCircleMetres(a.lat, a.lon, b.lat, b.lon));
    w.Time =
        segment.timeS ? *segment.timeS : std::round(w.Length / (kRunningSpeedKmh / 3.6) + kDwellS);
    return w;
}

lirsk::RoadWeight transferWeight(const Transfer& transfer) {
    lirsk::RoadWeight w;
    w.Time = transfer.timeS ? *transfer.timeS : kUnknownWalkS;
    w.Length = transfer.lengthM ? *transfer.lengthM : std::round(w.Time * kWalkingSpeed);
    return w;
}

namespace {

// Room for a link length drawn in the map's default font, which the generator cannot know:
// generous enough for the usual 8 to 9 point faces.
constexpr int kLengthDigitWidth = 8;
constexpr int kLengthTextHeight = 16;

// "#RRGGBB" as a map colour, 0x00BBGGRR.
lirsk::Colour mapColour(const QString& hex) {
    const unsigned rgb = hex.mid(1).toUInt(nullptr, 16);
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

int intOr(const QJsonObject& o, const char* key, int fallback) {
    return o.value(QLatin1String(key)).toInt(fallback);
}

double numberOr(const QJsonObject& o, const char* key, double fallback) {
    return o.value(QLatin1String(key)).toDouble(fallback);
}

// The stops joined by passages that carry the same name form one interchange with one label.
QList<int> interchangeGroups(const MetroFacts& facts, const QStringList& names) {
    QList<int> group(facts.stations.size());
    for (int i = 0; i < group.size(); ++i)
        group[i] = i;
    auto root = [&](int i) {
        while (group[i] != i)
            i = group[i];
        return i;
    };
    for (const Transfer& t : facts.transfers)
        if (names[t.a] == names[t.b])
            group[root(t.b)] = root(t.a);
    for (int i = 0; i < group.size(); ++i)
        group[i] = root(i);
    return group;
}

void addRoad(lirsk::GraphMap& map, int a, int b, const lirsk::RoadWeight& w) {
    map.AddLink(a, b, w);
    map.AddLink(b, a, w);
}

// Whether the layout's code, names and station overrides name what the facts hold.
bool checkLayout(const MetroFacts& facts, const QJsonObject& layout, const QString& layoutPath,
                 QString* error) {
    const QString code = layout.value(QLatin1String("code")).toString();
    const QJsonObject renames = layout.value(QLatin1String("names")).toObject();
    const QJsonObject overrides = layout.value(QLatin1String("stations")).toObject();
    if (code.size() != 1) {
        *error = layoutPath + QStringLiteral(": \"code\" must be the map's one-letter code");
        return false;
    }
    for (auto it = renames.begin(); it != renames.end(); ++it)
        if (facts.find(it.key()) < 0) {
            *error = layoutPath + QStringLiteral(": \"names\" names no station: ") + it.key();
            return false;
        }
    static const QStringList sides{"", "e", "w", "n", "s", "ne", "nw", "se", "sw"};
    for (auto it = overrides.begin(); it != overrides.end(); ++it) {
        if (facts.find(it.key()) < 0) {
            *error = layoutPath + QStringLiteral(": \"stations\" names no station: ") + it.key();
            return false;
        }
        if (!sides.contains(it.value().toObject().value(QLatin1String("label")).toString())) {
            *error = layoutPath + QStringLiteral(": ") + it.key() +
                     QStringLiteral(": \"label\" is none of e, w, n, s, ne, nw, se, sw");
            return false;
        }
    }

    return true;
}

LayoutOptions layoutOptions(const QJsonObject& layout) {
    const QJsonObject canvas = layout.value(QLatin1String("canvas")).toObject();
    const QJsonObject schematic = layout.value(QLatin1String("schematic")).toObject();
    LayoutOptions options;
    options.width = intOr(canvas, "width", options.width);
    options.height = intOr(canvas, "height", options.height);
    options.marginX = intOr(canvas, "marginX", options.marginX);
    options.marginY = intOr(canvas, "marginY", options.marginY);
    options.stopSize = layout.value(QLatin1String("stopSize")).toInt(options.stopSize);
    options.fisheye = numberOr(schematic, "fisheye", options.fisheye);
    options.stretch = numberOr(schematic, "stretch", options.stretch);
    options.anchor = numberOr(schematic, "anchor", options.anchor);
    options.rounds = intOr(schematic, "rounds", options.rounds);
    options.transferGap = intOr(schematic, "transferGap", options.transferGap);
    options.stopGap = intOr(schematic, "stopGap", options.stopGap);
    options.labelGap = intOr(schematic, "labelGap", options.labelGap);
    return options;
}

// The stations as the diagram's nodes, at their places in metres from the stations' mean place
// (returned in *lat0 and *lon0).
QList<LayoutNode> layoutNodes(const MetroFacts& facts, const QJsonObject& overrides,
                              const QStringList& names, int fontSize, double* lat0Out,
                              double* lon0Out) {
    const QList<int> groups = interchangeGroups(facts, names);
    double lat0 = 0, lon0 = 0;
    for (const Station& s : facts.stations) {
        lat0 += s.lat / facts.stations.size();
        lon0 += s.lon / facts.stations.size();
    }
    const double metresPerDegree = kEarthRadiusM * std::numbers::pi / 180;
    QList<LayoutNode> nodes;
    for (int i = 0; i < facts.stations.size(); ++i) {
        const Station& s = facts.stations[i];
        const QJsonObject o = overrides.value(s.key()).toObject();
        LayoutNode node;
        node.gx = (s.lon - lon0) * metresPerDegree * std::cos(lat0 * std::numbers::pi / 180);
        node.gy = (lat0 - s.lat) * metresPerDegree;
        node.nudgeX = numberOr(o, "dx", 0);
        node.nudgeY = numberOr(o, "dy", 0);
        node.name = s.key();
        node.group = groups[i];
        node.showLabel = groups[i] == i;
        node.labelWidth = arialTextWidth(names[i], fontSize);
        node.labelHeight = arialLineHeight(fontSize);
        node.labelSide = o.value(QLatin1String("label")).toString();
        node.labelDx = intOr(o, "labelDx", 0);
        node.labelDy = intOr(o, "labelDy", 0);
        nodes << node;
    }
    *lat0Out = lat0;
    *lon0Out = lon0;
    return nodes;
}

// The segments and the passages as the diagram's edges.
QList<LayoutEdge> layoutEdges(const MetroFacts& facts, const QJsonObject& layout, double lat0,
                              double lon0, bool showWeights) {
    const QJsonObject segmentScales = layout.value(QLatin1String("segments")).toObject();
    // Edges near the city centre get longer, up to centre.scale times, to make room for the
    // names where lines meet; the stretch fades out linearly at centre.radius metres.
    const QJsonObject centre = layout.value(QLatin1String("centre")).toObject();
    const double centreLat = numberOr(centre, "lat", lat0),
                 centreLon = numberOr(centre, "lon", lon0);
    const double centreRadius = numberOr(centre, "radius", 0);
    const double centreScale = numberOr(centre, "scale", 1);
    QList<LayoutEdge> edges;
    for (const Segment& seg : facts.segments) {
        const Station& a = facts.stations[seg.from];
        const Station& b = facts.stations[seg.to];
        double scale = 1;
        if (centreRadius > 0) {
            const double r =
                greatCircleMetres((a.lat + b.lat) / 2, (a.lon + b.lon) / 2, centreLat, centreLon);
            scale += (centreScale - 1) * std::max(0.0, 1 - r / centreRadius);
        }
        const QString key = a.key() + QLatin1Char('|') + b.key();
        LayoutEdge edge{seg.from, seg.to, false, segmentScales.value(key).toDouble(scale)};
        if (showWeights) {
            const QString text = QString::number(segmentWeight(a, b, seg).Length);
            edge.textWidth = int(text.size()) * kLengthDigitWidth;
            edge.textHeight = kLengthTextHeight;
        }
        edges << edge;
    }
    for (const Transfer& t : facts.transfers) {
        LayoutEdge edge{t.a, t.b, true, 1};
        if (showWeights) {
            edge.textWidth =
                int(QString::number(transferWeight(t).Length).size()) * kLengthDigitWidth;
            edge.textHeight = kLengthTextHeight;
        }
        edges << edge;
    }
    return edges;
}

} // namespace

std::unique_ptr<lirsk::GraphMap> buildMetroMap(const MetroFacts& facts, const QString& layoutPath,
                                               QString* error, QStringList* warnings) {
    QFile file(layoutPath);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = layoutPath + QStringLiteral(": ") + file.errorString();
        return nullptr;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!doc.isObject()) {
        *error = layoutPath + QStringLiteral(": ") + parseError.errorString();
        return nullptr;
    }
    const QJsonObject layout = doc.object();
    const QString code = layout.value(QLatin1String("code")).toString();
    const bool showWeights = layout.value(QLatin1String("display"))
                                 .toObject()
                                 .value(QLatin1String("showWeights"))
                                 .toBool(false);
    const QJsonObject font = layout.value(QLatin1String("font")).toObject();
    const QJsonObject display = layout.value(QLatin1String("display")).toObject();
    const QJsonObject renames = layout.value(QLatin1String("names")).toObject();
    const QJsonObject overrides = layout.value(QLatin1String("stations")).toObject();
    if (!checkLayout(facts, layout, layoutPath, error))
        return nullptr;

    const LayoutOptions options = layoutOptions(layout);
    const QString fontName = font.value(QLatin1String("name")).toString(QStringLiteral("Arial"));
    const int fontSize = intOr(font, "size", 8);

    QStringList names;
    for (const Station& s : facts.stations)
        names << renames.value(s.key()).toString(s.name);
    double lat0 = 0, lon0 = 0;
    const QList<LayoutNode> nodes = layoutNodes(facts, overrides, names, fontSize, &lat0, &lon0);
    const QList<LayoutEdge> edges = layoutEdges(facts, layout, lat0, lon0, showWeights);
    const QList<Placement> placed = layOutDiagram(nodes, edges, options, warnings);

    auto map = std::make_unique<lirsk::GraphMap>();
    const int radius = options.stopSize / 2;
    lirsk::FontSpec labelFont;
    labelFont.Name = fontName;
    labelFont.Size = fontSize;
    labelFont.Color = 0x00000000;
    for (const Line& line : facts.lines) {
        const QString routes = code + QString::number(line.number);
        for (int i : line.stations) {
            const Placement& at = placed[i];
            lirsk::Stop& stop =
                map->stop(map->AddStop(at.centreX - radius, at.centreY - radius, true));
            stop.Width = stop.Height = options.stopSize;
            stop.Radius = radius;
            stop.FillColor = mapColour(line.colour);
            stop.Font = labelFont;
            stop.Routes = routes;
            stop.Label.Caption = names[i];
            stop.Label.Left = at.labelLeft;
            stop.Label.Top = at.labelTop;
            stop.Label.Visible = nodes[i].showLabel;
            stop.Label.Font = labelFont;
        }
    }
    // Stops were added line by line, which is the order of the facts' station list.
    for (const Segment& seg : facts.segments)
        addRoad(*map, seg.from, seg.to,
                segmentWeight(facts.stations[seg.from], facts.stations[seg.to], seg));
    for (const Transfer& t : facts.transfers)
        addRoad(*map, t.a, t.b, transferWeight(t));
    map->UpdateArcFlags();

    map->Settings.UserWeights = true;
    map->Settings.AutoArcColor = true;
    map->Settings.ShowWeights = showWeights;
    map->Settings.ArcWidth = intOr(display, "arcWidth", 3);
    map->Settings.ArcColor =
        mapColour(display.value(QLatin1String("arcColor")).toString(QStringLiteral("#808080")));
    map->Settings.TreeColor =
        mapColour(display.value(QLatin1String("treeColor")).toString(QStringLiteral("#000000")));
    return map;
}

} // namespace mapgen
