#include "model/mapdescription.h"

#include "model/safefile.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace lirsk {

namespace {

// A description is a few route rows and texts; anything larger is not one.
constexpr qint64 kMaxDescriptionSize = qint64(16) << 20;

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

bool fareFrom(const QJsonObject& o, const char* key, double* into, QString* error) {
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isUndefined())
        return true;
    if (!v.isDouble() || !std::isfinite(v.toDouble()) || v.toDouble() < 0) {
        *error = QStringLiteral("%1: ожидается неотрицательное число").arg(QLatin1String(key));
        return false;
    }
    *into = v.toDouble();
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
        return broken(
            QStringLiteral("JSON: %1 (байт %2)").arg(parse.errorString()).arg(parse.offset));
    if (!doc.isObject())
        return broken(QStringLiteral("ожидается объект JSON"));
    const QJsonObject o = doc.object();
    MapDescription d;
    d.mapCode = o.value(QLatin1String("map_code")).toString();
    if (d.mapCode.size() > 1)
        return broken(QStringLiteral("map_code: ожидается одна буква"));
    if (!fareFrom(o, "base_fare", &d.baseFare, &reason) ||
        !fareFrom(o, "transfer_fare", &d.transferFare, &reason))
        return broken(reason);
    if (o.contains(QLatin1String("fare_unit")))
        d.fareUnit = o.value(QLatin1String("fare_unit")).toString();
    d.picture = o.value(QLatin1String("picture")).toString();
    d.title = o.value(QLatin1String("title")).toString();
    for (const QJsonValue& v : o.value(QLatin1String("routes")).toArray()) {
        const QJsonObject r = v.toObject();
        DescribedRoute route;
        route.code = r.value(QLatin1String("code")).toString();
        route.number = r.value(QLatin1String("number")).toString();
        route.name = r.value(QLatin1String("name")).toString();
        if (r.contains(QLatin1String("color"))) {
            route.color = colourFrom(r.value(QLatin1String("color")).toString());
            if (!route.color)
                return broken(QStringLiteral("маршрут %1: цвет не вида #RRGGBB").arg(route.code));
        }
        d.routes.append(route);
    }
    *description = d;
    return DescriptionRead::Read;
}

QByteArray describeAsJson(const MapDescription& d) {
    QJsonObject o;
    if (!d.mapCode.isEmpty())
        o.insert(QLatin1String("map_code"), d.mapCode);
    if (!d.title.isEmpty())
        o.insert(QLatin1String("title"), d.title);
    if (!d.picture.isEmpty())
        o.insert(QLatin1String("picture"), d.picture);
    o.insert(QLatin1String("base_fare"), d.baseFare);
    o.insert(QLatin1String("transfer_fare"), d.transferFare);
    o.insert(QLatin1String("fare_unit"), d.fareUnit);
    QJsonArray routes;
    for (const DescribedRoute& r : d.routes) {
        QJsonObject row{{QLatin1String("code"), r.code}, {QLatin1String("number"), r.number}};
        if (!r.name.isEmpty())
            row.insert(QLatin1String("name"), r.name);
        if (r.color)
            row.insert(QLatin1String("color"), colourText(*r.color));
        routes.append(row);
    }
    o.insert(QLatin1String("routes"), routes);
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
