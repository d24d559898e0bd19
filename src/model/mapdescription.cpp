#include "model/mapdescription.h"

#include "model/safefile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace lirsk {

QString colourText(Colour c) {
    return QStringLiteral("#%1%2%3")
        .arg(c & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((c >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((c >> 16) & 0xFF, 2, 16, QLatin1Char('0'))
        .toUpper();
}

std::optional<Colour> colourFrom(const QString& text) {
    if (text.size() != 7 || !text.startsWith(QLatin1Char('#')))
        return std::nullopt;
    bool ok = false;
    const uint rgb = text.mid(1).toUInt(&ok, 16);
    if (!ok)
        return std::nullopt;
    return Colour(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

namespace {

// The messages about a map's description, translated in the context "MapDescription".
struct MapDescriptionText {
    Q_DECLARE_TR_FUNCTIONS(MapDescription)
};

QString wrongType(QLatin1String key, const char* expected) {
    return QStringLiteral("%1: %2").arg(key, MapDescriptionText::tr(expected));
}

// Each reader leaves *into as it is when the field is absent, and says why when its value is not
// of the field's type.
bool stringFrom(const QJsonObject& o, QLatin1String key, QString* into, QString* error) {
    const QJsonValue v = o.value(key);
    if (v.isUndefined())
        return true;
    if (!v.isString()) {
        *error = wrongType(key, QT_TRANSLATE_NOOP("MapDescription", "ожидается строка"));
        return false;
    }
    *into = v.toString();
    return true;
}

bool fareFrom(const QJsonObject& o, QLatin1String key, double* into, QString* error) {
    const QJsonValue v = o.value(key);
    if (v.isUndefined())
        return true;
    if (!v.isDouble() || !std::isfinite(v.toDouble()) || v.toDouble() < 0 ||
        v.toDouble() >= kMaxFare) {
        *error = wrongType(
            key, QT_TRANSLATE_NOOP("MapDescription", "ожидается число от 0 до миллиарда"));
        return false;
    }
    *into = v.toDouble();
    return true;
}

QJsonObject withoutKeys(QJsonObject o, std::initializer_list<const char*> known) {
    for (const char* key : known)
        o.remove(QLatin1String(key));
    return o;
}

bool routeFrom(const QJsonValue& v, DescribedRoute* route, QString* error) {
    if (!v.isObject()) {
        *error = wrongType(QLatin1String("routes"),
                           QT_TRANSLATE_NOOP("MapDescription", "ожидается список объектов"));
        return false;
    }
    const QJsonObject r = v.toObject();
    if (!stringFrom(r, QLatin1String("code"), &route->code, error) ||
        !stringFrom(r, QLatin1String("number"), &route->number, error) ||
        !stringFrom(r, QLatin1String("name"), &route->name, error))
        return false;
    for (const auto& [key, into] : {std::pair(QLatin1String("color"), &route->color),
                                    std::pair(QLatin1String("text_color"), &route->textColor)}) {
        QString color;
        if (!stringFrom(r, key, &color, error))
            return false;
        if (!r.contains(key))
            continue;
        *into = colourFrom(color);
        if (!*into) {
            *error = MapDescriptionText::tr("маршрут %1: цвет не вида #RRGGBB").arg(route->code);
            return false;
        }
    }
    route->otherFields = withoutKeys(r, {"code", "number", "name", "color", "text_color"});
    return true;
}

// A whole number that an int holds.
bool intFrom(const QJsonValue& v, int* into) {
    const double d = v.toDouble(-1e300);
    if (!v.isDouble() || d != std::floor(d) || d < -2147483648.0 || d > 2147483647.0)
        return false;
    *into = int(d);
    return true;
}

// "links": [{"from": 3, "to": 4, "routes": [0, 2]}, ...]
bool linksFrom(const QJsonValue& value, QList<DescribedLink>* links, QString* error) {
    const auto wrong = [&] {
        *error = wrongType(
            QLatin1String("links"),
            QT_TRANSLATE_NOOP("MapDescription", "ожидается список {from, to, routes} целых чисел"));
        return false;
    };
    if (value.isUndefined())
        return true;
    if (!value.isArray())
        return wrong();
    for (const QJsonValue& v : value.toArray()) {
        const QJsonObject o = v.toObject();
        DescribedLink link;
        if (!v.isObject() || !intFrom(o.value(QLatin1String("from")), &link.from) ||
            !intFrom(o.value(QLatin1String("to")), &link.to) ||
            !o.value(QLatin1String("routes")).isArray())
            return wrong();
        for (const QJsonValue& route : o.value(QLatin1String("routes")).toArray()) {
            int row = 0;
            if (!intFrom(route, &row))
                return wrong();
            link.routes.append(row);
        }
        links->append(link);
    }
    return true;
}

// "placed_names": [[id, dx, dy], ...]
bool placedNamesFrom(const QJsonValue& value, QList<PlacedName>* names, QString* error) {
    if (value.isUndefined())
        return true;
    const auto wrong = [&] {
        *error =
            wrongType(QLatin1String("placed_names"),
                      QT_TRANSLATE_NOOP("MapDescription", "ожидается список троек целых чисел"));
        return false;
    };
    if (!value.isArray())
        return wrong();
    for (const QJsonValue& v : value.toArray()) {
        const QJsonArray a = v.toArray();
        PlacedName name;
        if (a.size() != 3 || !intFrom(a[0], &name.stopId) || !intFrom(a[1], &name.dx) ||
            !intFrom(a[2], &name.dy))
            return wrong();
        names->append(name);
    }
    return true;
}

// "layouts": {"shown": "schematic", "geographic": [[id, left, top], ...], "schematic": [...]}
bool layoutsFrom(const QJsonValue& value, std::optional<MapLayouts>* layouts, QString* error) {
    if (value.isUndefined())
        return true;
    const auto wrong = [&] {
        *error = wrongType(QLatin1String("layouts"),
                           QT_TRANSLATE_NOOP("MapDescription",
                                             "ожидается {shown, geographic, schematic} со "
                                             "списками троек целых чисел"));
        return false;
    };
    const QJsonObject o = value.toObject();
    const QJsonValue shown = o.value(QLatin1String("shown"));
    if (!value.isObject() || !shown.isString())
        return wrong();
    MapLayouts read;
    read.schematicShown = shown.toString() == QLatin1String("schematic");
    for (const auto& [name, into] : {std::pair(QLatin1String("geographic"), &read.geographic),
                                     std::pair(QLatin1String("schematic"), &read.schematic)}) {
        const QJsonValue list = o.value(name);
        if (!list.isArray())
            return wrong();
        for (const QJsonValue& v : list.toArray()) {
            const QJsonArray a = v.toArray();
            LaidOutStop stop;
            if (a.size() != 3 || !intFrom(a[0], &stop.stopId) || !intFrom(a[1], &stop.left) ||
                !intFrom(a[2], &stop.top))
                return wrong();
            into->append(stop);
        }
    }
    *layouts = read;
    return true;
}

// "names": [[id, "own name", "name in the map file"], ...]
bool ownNamesFrom(const QJsonValue& value, QList<OwnName>* names, QString* error) {
    if (value.isUndefined())
        return true;
    const auto wrong = [&] {
        *error = wrongType(QLatin1String("names"),
                           QT_TRANSLATE_NOOP("MapDescription",
                                             "ожидается список [номер, название, название в "
                                             "файле карты]"));
        return false;
    };
    if (!value.isArray())
        return wrong();
    for (const QJsonValue& v : value.toArray()) {
        const QJsonArray a = v.toArray();
        OwnName name;
        if (a.size() != 3 || !intFrom(a[0], &name.stopId) || !a[1].isString() || !a[2].isString())
            return wrong();
        name.name = a[1].toString();
        name.fileName = a[2].toString();
        names->append(name);
    }
    return true;
}

// "0-1 1-0 5-9": the walks as pairs of stop ids.
bool walksFrom(const QString& text, std::vector<std::pair<int, int>>* walks, QString* error) {
    for (const QStringView pair : QStringView(text).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const qsizetype dash = pair.indexOf(QLatin1Char('-'), 1);
        bool fromOk = false, toOk = false;
        const int from = dash > 0 ? pair.left(dash).toInt(&fromOk) : 0;
        const int to = dash > 0 ? pair.mid(dash + 1).toInt(&toOk) : 0;
        if (!fromOk || !toOk) {
            *error = wrongType(QLatin1String("walks"),
                               QT_TRANSLATE_NOOP("MapDescription",
                                                 "ожидаются пары номеров остановок «1-2» через "
                                                 "пробел"));
            return false;
        }
        walks->emplace_back(from, to);
    }
    return true;
}

bool descriptionFrom(const QJsonObject& o, MapDescription* d, QString* error) {
    const QJsonValue version = o.value(QLatin1String("version"));
    if (!version.isUndefined() && (!version.isDouble() || version.toDouble() < 1 ||
                                   version.toDouble() != std::floor(version.toDouble()))) {
        *error = wrongType(QLatin1String("version"),
                           QT_TRANSLATE_NOOP("MapDescription", "ожидается целое число от 1"));
        return false;
    }
    d->fareGiven = !o.value(QLatin1String("base_fare")).isNull();
    if (!stringFrom(o, QLatin1String("map_code"), &d->mapCode, error) ||
        (d->fareGiven && !fareFrom(o, QLatin1String("base_fare"), &d->baseFare, error)) ||
        !fareFrom(o, QLatin1String("transfer_fare"), &d->transferFare, error) ||
        !stringFrom(o, QLatin1String("fare_unit"), &d->fareUnit, error) ||
        !stringFrom(o, QLatin1String("picture"), &d->picture, error) ||
        !stringFrom(o, QLatin1String("title"), &d->title, error))
        return false;
    QString walks;
    if (!stringFrom(o, QLatin1String("walks"), &walks, error) ||
        !walksFrom(walks, &d->walks, error))
        return false;
    const QJsonValue decimals = o.value(QLatin1String("fare_decimals"));
    if (!decimals.isUndefined()) {
        if (!intFrom(decimals, &d->fareDecimals) || d->fareDecimals < 0 ||
            d->fareDecimals > kMaxFareDecimals) {
            *error = wrongType(QLatin1String("fare_decimals"),
                               QT_TRANSLATE_NOOP("MapDescription", "ожидается целое от 0 до 4"));
            return false;
        }
    }
    const QJsonValue grid = o.value(QLatin1String("grid_step"));
    if (!grid.isUndefined()) {
        if (!grid.isDouble() || grid.toDouble() != std::floor(grid.toDouble()) ||
            grid.toDouble() < kMinGridStep || grid.toDouble() > kMaxGridStep) {
            *error = wrongType(QLatin1String("grid_step"),
                               QT_TRANSLATE_NOOP("MapDescription", "ожидается целое от 2 до 500"));
            return false;
        }
        d->gridStep = grid.toInt();
    }
    if (d->mapCode.size() > 1) {
        *error = MapDescriptionText::tr("map_code: ожидается одна буква");
        return false;
    }
    const QJsonValue routes = o.value(QLatin1String("routes"));
    if (!routes.isUndefined() && !routes.isArray()) {
        *error = wrongType(QLatin1String("routes"),
                           QT_TRANSLATE_NOOP("MapDescription", "ожидается список объектов"));
        return false;
    }
    for (const QJsonValue& v : routes.toArray()) {
        DescribedRoute route;
        if (!routeFrom(v, &route, error))
            return false;
        d->routes.append(route);
    }
    if (!linksFrom(o.value(QLatin1String("links")), &d->links, error) ||
        !placedNamesFrom(o.value(QLatin1String("placed_names")), &d->placedNames, error) ||
        !layoutsFrom(o.value(QLatin1String("layouts")), &d->layouts, error) ||
        !ownNamesFrom(o.value(QLatin1String("names")), &d->ownNames, error))
        return false;
    d->otherFields =
        withoutKeys(o, {"version", "map_code", "base_fare", "transfer_fare", "fare_unit", "picture",
                        "title", "routes", "links", "placed_names", "layouts", "walks", "grid_step",
                        "names", "fare_decimals"});
    return true;
}

} // namespace

QString descriptionPathFor(const QString& mapPath) {
    if (mapPath.endsWith(QLatin1String(".gaf"), Qt::CaseInsensitive))
        return mapPath + QLatin1Char('d');
    return mapPath + QStringLiteral(".gafd");
}

DescriptionRead readMapDescription(const QString& mapPath, MapDescription* description,
                                   QString* error) {
    const QString path = descriptionPathFor(mapPath);
    if (!QFileInfo::exists(path))
        return DescriptionRead::Absent;
    QByteArray bytes;
    QString reason;
    const auto broken = [&](const QString& why) {
        *error = QStringLiteral("%1: %2").arg(path, why);
        return DescriptionRead::Broken;
    };
    if (!readWholeFile(path, kMaxDescriptionSize, &bytes, &reason))
        return broken(reason);
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parse);
    if (parse.error != QJsonParseError::NoError)
        return broken(MapDescriptionText::tr("JSON: %1 (байт %2)")
                          .arg(parse.errorString())
                          .arg(parse.offset));
    if (!doc.isObject())
        return broken(MapDescriptionText::tr("ожидается объект JSON"));
    MapDescription d;
    if (!descriptionFrom(doc.object(), &d, &reason))
        return broken(reason);
    *description = d;
    return DescriptionRead::Read;
}

QByteArray describeAsJson(const MapDescription& d) {
    QJsonObject o = d.otherFields;
    o.insert(QLatin1String("version"), kDescriptionVersion);
    if (!d.mapCode.isEmpty())
        o.insert(QLatin1String("map_code"), d.mapCode);
    if (!d.title.isEmpty())
        o.insert(QLatin1String("title"), d.title);
    if (!d.picture.isEmpty())
        o.insert(QLatin1String("picture"), d.picture);
    o.insert(QLatin1String("base_fare"), d.fareGiven ? QJsonValue(d.baseFare) : QJsonValue());
    o.insert(QLatin1String("transfer_fare"), d.transferFare);
    o.insert(QLatin1String("fare_unit"), d.fareUnit);
    if (d.fareDecimals > 0)
        o.insert(QLatin1String("fare_decimals"), d.fareDecimals);
    if (d.gridStep != kDefaultGridStep)
        o.insert(QLatin1String("grid_step"), d.gridStep);
    QJsonArray routes;
    for (const DescribedRoute& r : d.routes) {
        QJsonObject row = r.otherFields;
        row.insert(QLatin1String("code"), r.code);
        row.insert(QLatin1String("number"), r.number);
        if (!r.name.isEmpty())
            row.insert(QLatin1String("name"), r.name);
        if (r.color)
            row.insert(QLatin1String("color"), colourText(*r.color));
        if (r.textColor)
            row.insert(QLatin1String("text_color"), colourText(*r.textColor));
        routes.append(row);
    }
    o.insert(QLatin1String("routes"), routes);
    if (!d.links.isEmpty()) {
        QJsonArray links;
        for (const DescribedLink& l : d.links) {
            QJsonArray rows;
            for (const int r : l.routes)
                rows.append(r);
            links.append(QJsonObject{{QLatin1String("from"), l.from},
                                     {QLatin1String("to"), l.to},
                                     {QLatin1String("routes"), rows}});
        }
        o.insert(QLatin1String("links"), links);
    }
    if (!d.placedNames.isEmpty()) {
        QJsonArray names;
        for (const PlacedName& n : d.placedNames)
            names.append(QJsonArray{n.stopId, n.dx, n.dy});
        o.insert(QLatin1String("placed_names"), names);
    }
    if (d.layouts) {
        const auto listOf = [](const QList<LaidOutStop>& stops) {
            QJsonArray list;
            for (const LaidOutStop& s : stops)
                list.append(QJsonArray{s.stopId, s.left, s.top});
            return list;
        };
        o.insert(QLatin1String("layouts"),
                 QJsonObject{{QLatin1String("shown"), d.layouts->schematicShown
                                                          ? QLatin1String("schematic")
                                                          : QLatin1String("geographic")},
                             {QLatin1String("geographic"), listOf(d.layouts->geographic)},
                             {QLatin1String("schematic"), listOf(d.layouts->schematic)}});
    }
    if (!d.ownNames.isEmpty()) {
        QJsonArray names;
        for (const OwnName& n : d.ownNames)
            names.append(QJsonArray{n.stopId, n.name, n.fileName});
        o.insert(QLatin1String("names"), names);
    }
    if (!d.walks.empty()) {
        QString walks;
        for (const auto& [from, to] : d.walks)
            walks +=
                QString::number(from) + QLatin1Char('-') + QString::number(to) + QLatin1Char(' ');
        walks.chop(1);
        o.insert(QLatin1String("walks"), walks);
    }
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

bool saveMapDescription(const QString& mapPath, const MapDescription& description, QString* error) {
    return saveWholeFile(descriptionPathFor(mapPath), describeAsJson(description), error);
}

bool saveMapAndDescription(const QString& mapPath, const QByteArray& mapBytes,
                           const MapDescription* description, QString* error) {
    if (!description)
        return saveWholeFile(mapPath, mapBytes, error);
    const QString path = descriptionPathFor(mapPath);
    QByteArray previous;
    const bool hadOne = QFileInfo(path).isFile();
    if (hadOne && !readWholeFile(path, kMaxDescriptionSize, &previous, error))
        return false;
    QString reason;
    if (!saveWholeFile(path, describeAsJson(*description), &reason)) {
        *error = QStringLiteral("%1: %2").arg(path, reason);
        return false;
    }
    if (saveWholeFile(mapPath, mapBytes, error))
        return true;
    if (hadOne)
        saveWholeFile(path, previous, &reason);
    else
        QFile::remove(path);
    return false;
}

} // namespace lirsk
