#include "model/mapjson.h"

#include <QCoreApplication>
#include <QHash>
#include <QJsonArray>
#include <QJsonParseError>
#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace lirsk {

namespace {

// The messages about a map's JSON, translated in the context "MapJson".
struct MapJsonText {
    Q_DECLARE_TR_FUNCTIONS(MapJson)
};

// JSON numbers cannot carry NaN or the infinities; those travel as strings. The toolkit's JSON
// values drop the sign of zero, so a negative zero is the string "-0" in the object and the
// number -0.0 in the text.
QJsonValue doubleToJson(double d) {
    if (std::isnan(d))
        return QStringLiteral("NaN");
    if (std::isinf(d))
        return d > 0 ? QStringLiteral("Infinity") : QStringLiteral("-Infinity");
    if (d == 0 && std::signbit(d))
        return QStringLiteral("-0");
    return d;
}

// The values of the keys that hold fractions: a negative zero as the object keeps it, and as a
// number in the text.
const QRegularExpression
    kNegativeZeroString(QStringLiteral("(\"(?:arrow_angle|price|length|time)\"\\s*:\\s*)\"-0\""));
const QRegularExpression kNegativeZeroNumber(
    QStringLiteral("(\"(?:arrow_angle|price|length|time)\"\\s*:\\s*)-0(?:\\.0*)?"
                   "(?:[eE][-+]?[0-9]+)?(?=[\\s,}\\]])"));

QJsonObject fontToJson(const FontSpec& f) {
    return QJsonObject{{"name", f.Name},          {"size", f.Size},     {"color", qint64(f.Color)},
                       {"bold", f.Bold},          {"italic", f.Italic}, {"underline", f.Underline},
                       {"strikeout", f.StrikeOut}};
}

// Reads optional fields of one JSON object, remembering the first error with its path.
class Fields {
public:
    Fields(const QJsonObject& obj, QString path, QString* error)
        : obj_(obj), path_(std::move(path)), error_(error) {}

    bool ok() const { return error_->isEmpty(); }

    void read(const char* key, bool& out) {
        const QJsonValue v = obj_.value(QLatin1String(key));
        if (v.isUndefined())
            return;
        if (!v.isBool())
            return fail(key, QT_TRANSLATE_NOOP("MapJson", "true или false"));
        out = v.toBool();
    }
    void read(const char* key, QString& out) {
        const QJsonValue v = obj_.value(QLatin1String(key));
        if (v.isUndefined())
            return;
        if (!v.isString())
            return fail(key, QT_TRANSLATE_NOOP("MapJson", "строка"));
        out = v.toString();
    }
    void read(const char* key, int& out) { readInteger(key, out, INT_MIN, INT_MAX); }
    void read(const char* key, Colour& out) {
        qint64 v = out;
        readInteger(key, v, 0, std::numeric_limits<quint32>::max());
        out = Colour(v);
    }
    void read(const char* key, double& out) {
        const QJsonValue v = obj_.value(QLatin1String(key));
        if (v.isUndefined())
            return;
        if (v.isDouble()) {
            out = v.toDouble();
            return;
        }
        const QString s = v.toString();
        if (s == QLatin1String("NaN"))
            out = std::numeric_limits<double>::quiet_NaN();
        else if (s == QLatin1String("Infinity"))
            out = std::numeric_limits<double>::infinity();
        else if (s == QLatin1String("-Infinity"))
            out = -std::numeric_limits<double>::infinity();
        else if (s == QLatin1String("-0"))
            out = -0.0;
        else
            fail(key, QT_TRANSLATE_NOOP("MapJson", "число"));
    }
    void read(const char* key, FontSpec& out) {
        const QJsonValue v = obj_.value(QLatin1String(key));
        if (v.isUndefined())
            return;
        if (!v.isObject())
            return fail(key, QT_TRANSLATE_NOOP("MapJson", "объект"));
        Fields f(v.toObject(), path_ + QLatin1Char('.') + QLatin1String(key), error_);
        f.read("name", out.Name);
        f.read("size", out.Size);
        f.read("color", out.Color);
        f.read("bold", out.Bold);
        f.read("italic", out.Italic);
        f.read("underline", out.Underline);
        f.read("strikeout", out.StrikeOut);
    }
    QJsonObject object(const char* key) {
        const QJsonValue v = obj_.value(QLatin1String(key));
        if (!v.isUndefined() && !v.isObject())
            fail(key, QT_TRANSLATE_NOOP("MapJson", "объект"));
        return v.toObject();
    }
    QJsonArray array(const char* key) {
        const QJsonValue v = obj_.value(QLatin1String(key));
        if (!v.isUndefined() && !v.isArray())
            fail(key, QT_TRANSLATE_NOOP("MapJson", "массив"));
        return v.toArray();
    }
    QString path(const char* key) const { return path_ + QLatin1Char('.') + QLatin1String(key); }
    // A key that has no default: its absence is an error.
    void require(const char* key) {
        if (!obj_.contains(QLatin1String(key)) && error_->isEmpty())
            *error_ = MapJsonText::tr("%1: ключ обязателен").arg(path(key));
    }

private:
    template <typename T> void readInteger(const char* key, T& out, qint64 lo, qint64 hi) {
        const QJsonValue v = obj_.value(QLatin1String(key));
        if (v.isUndefined())
            return;
        const double d = v.toDouble(std::numeric_limits<double>::quiet_NaN());
        if (!v.isDouble() || d != std::floor(d) || d < double(lo) || d > double(hi))
            return fail(key, QT_TRANSLATE_NOOP("MapJson", "целое число"));
        out = T(d);
    }
    void fail(const char* key, const char* expected) {
        if (error_->isEmpty())
            *error_ = MapJsonText::tr("%1: ожидается %2").arg(path(key), MapJsonText::tr(expected));
    }

    QJsonObject obj_;
    QString path_;
    QString* error_;
};

} // namespace

QJsonObject mapToJson(const GraphMap& map) {
    const DisplaySettings& s = map.Settings;
    QJsonObject header{{"user_weights", s.UserWeights},
                       {"auto_arc_color", s.AutoArcColor},
                       {"arc_color", qint64(s.ArcColor)},
                       {"show_weights", s.ShowWeights},
                       {"tree_color", qint64(s.TreeColor)},
                       {"arrow_size", s.ArrowSize},
                       {"arrow_angle", doubleToJson(s.ArrowAngle)},
                       {"arrow_type", s.ArrowType},
                       {"arc_width", s.ArcWidth},
                       {"max_stop_id", map.MaxStopId},
                       {"show_search_panel", map.StoredSearchPanel}};
    QJsonArray stops;
    for (const Stop& stop : map.stops()) {
        QJsonArray links;
        for (const Link& link : stop.Links)
            links.append(QJsonObject{{"to", map.stop(link.To).Id},
                                     {"price", doubleToJson(link.Price)},
                                     {"length", doubleToJson(link.Length)},
                                     {"time", doubleToJson(link.Time)},
                                     {"is_arc", link.IsArc}});
        const NameLabel& l = stop.Label;
        stops.append(QJsonObject{{"id", stop.Id},
                                 {"left", stop.Left},
                                 {"top", stop.Top},
                                 {"size", stop.Width},
                                 {"radius", stop.Radius},
                                 {"fill_color", qint64(stop.FillColor)},
                                 {"font", fontToJson(stop.Font)},
                                 {"name", l.Caption},
                                 {"routes", stop.Routes},
                                 {"label", QJsonObject{{"left", l.Left},
                                                       {"top", l.Top},
                                                       {"visible", l.Visible},
                                                       {"font", fontToJson(l.Font)}}},
                                 {"links", links}});
    }
    return QJsonObject{{"header", header}, {"stops", stops}};
}

QByteArray mapToJsonText(const GraphMap& map, QJsonDocument::JsonFormat format) {
    QString text = QString::fromUtf8(QJsonDocument(mapToJson(map)).toJson(format));
    text.replace(kNegativeZeroString, QStringLiteral("\\1-0.0"));
    return text.toUtf8();
}

bool mapFromJsonText(const QByteArray& text, GraphMap& map, QString* error) {
    QString local;
    QString* err = error ? error : &local;
    const QString withStrings =
        QString::fromUtf8(text).replace(kNegativeZeroNumber, QStringLiteral("\\1\"-0\""));
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(withStrings.toUtf8(), &parse);
    if (parse.error != QJsonParseError::NoError) {
        *err = MapJsonText::tr("JSON: %1 (байт %2)").arg(parse.errorString()).arg(parse.offset);
        return false;
    }
    if (!doc.isObject()) {
        *err = MapJsonText::tr("JSON: ожидается объект карты");
        return false;
    }
    return mapFromJson(doc.object(), map, err);
}

namespace {

// The stops of a map object, without their links.
void readStops(const QJsonArray& stops, GraphMap& map, QString* err) {
    for (qsizetype k = 0; k < stops.size() && err->isEmpty(); ++k) {
        Fields f(stops[k].toObject(), QStringLiteral("map.stops[%1]").arg(k), err);
        if (!stops[k].isObject()) {
            *err = MapJsonText::tr("map.stops[%1]: ожидается объект").arg(k);
            break;
        }
        int id = -1, left = 0, top = 0;
        QString name;
        f.require("id");
        if (!err->isEmpty())
            break;
        f.read("id", id);
        f.read("left", left);
        f.read("top", top);
        f.read("name", name);
        Stop& stop = map.stop(map.AddStop(left, top, false));
        stop.Id = id;
        int size = stop.Width;
        f.read("size", size);
        stop.Width = stop.Height = size;
        f.read("radius", stop.Radius);
        f.read("fill_color", stop.FillColor);
        f.read("font", stop.Font);
        stop.Label.Caption = name;
        f.read("routes", stop.Routes);
        Fields label(f.object("label"), f.path("label"), err);
        label.read("left", stop.Label.Left);
        label.read("top", stop.Label.Top);
        label.read("visible", stop.Label.Visible);
        label.read("font", stop.Label.Font);
    }
}

// The links of each stop, once every stop is known by its id.
void readLinks(const QJsonArray& stops, GraphMap& map, QString* err) {
    const QHash<int, StopIndex> byId = map.stopsById();
    for (qsizetype k = 0; k < stops.size() && err->isEmpty(); ++k) {
        const QString stopPath = QStringLiteral("map.stops[%1]").arg(k);
        Fields f(stops[k].toObject(), stopPath, err);
        const QJsonArray links = f.array("links");
        const StopIndex from = StopIndex(k);
        for (qsizetype j = 0; j < links.size() && err->isEmpty(); ++j) {
            const QString linkPath = stopPath + QStringLiteral(".links[%1]").arg(j);
            Fields lf(links[j].toObject(), linkPath, err);
            int toId = -1;
            lf.require("to");
            lf.read("to", toId);
            if (!err->isEmpty())
                break;
            const StopIndex to = byId.value(toId, NoStop);
            if (to == NoStop) {
                if (err->isEmpty())
                    *err = MapJsonText::tr("%1: нет остановки с Id %2").arg(linkPath).arg(toId);
                break;
            }
            Link link;
            link.To = to;
            lf.read("price", link.Price);
            lf.read("length", link.Length);
            lf.read("time", link.Time);
            map.appendLink(from, link);
        }
    }
}

} // namespace

bool mapFromJson(const QJsonObject& json, GraphMap& map, QString* error) {
    QString local;
    QString* err = error ? error : &local;
    err->clear();
    map.clearStops();

    Fields root(json, QStringLiteral("map"), err);
    Fields header(root.object("header"), root.path("header"), err);
    DisplaySettings& s = map.Settings;
    header.read("user_weights", s.UserWeights);
    header.read("auto_arc_color", s.AutoArcColor);
    header.read("arc_color", s.ArcColor);
    header.read("show_weights", s.ShowWeights);
    header.read("tree_color", s.TreeColor);
    header.read("arrow_size", s.ArrowSize);
    header.read("arrow_angle", s.ArrowAngle);
    header.read("arrow_type", s.ArrowType);
    header.read("arc_width", s.ArcWidth);
    header.read("max_stop_id", map.MaxStopId);
    header.read("show_search_panel", map.StoredSearchPanel);

    const QJsonArray stops = root.array("stops");
    readStops(stops, map, err);
    readLinks(stops, map, err);
    map.UpdateArcFlags();
    return err->isEmpty();
}

} // namespace lirsk
