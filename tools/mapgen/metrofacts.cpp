#include "metrofacts.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace mapgen {

int MetroFacts::find(const QString& key) const {
    for (int i = 0; i < stations.size(); ++i)
        if (stations[i].key() == key)
            return i;
    return -1;
}

namespace {

std::optional<double> optionalNumber(const QJsonValue& v) {
    if (v.isDouble())
        return v.toDouble();
    return std::nullopt;
}

bool fail(QString* error, const QString& text) {
    *error = text;
    return false;
}

bool readLine(const QJsonObject& o, MetroFacts& facts, QString* error) {
    Line line;
    line.number = o.value(QLatin1String("number")).toInt(-1);
    line.colour = o.value(QLatin1String("colour")).toString();
    if (line.number < 0 || line.colour.size() != 7 || !line.colour.startsWith(QLatin1Char('#')))
        return fail(error, QStringLiteral("a line without a number or a #RRGGBB colour"));
    for (const QJsonValue& v : o.value(QLatin1String("stations")).toArray()) {
        const QJsonObject s = v.toObject();
        Station st;
        st.name = s.value(QLatin1String("name")).toString();
        st.line = line.number;
        if (st.name.isEmpty() || !s.value(QLatin1String("lat")).isDouble() ||
            !s.value(QLatin1String("lon")).isDouble())
            return fail(error, QStringLiteral("line %1: a station without a name or coordinates")
                                   .arg(line.number));
        st.lat = s.value(QLatin1String("lat")).toDouble();
        st.lon = s.value(QLatin1String("lon")).toDouble();
        if (facts.find(st.key()) >= 0)
            return fail(error, QStringLiteral("station %1 is listed twice").arg(st.key()));
        line.stations << int(facts.stations.size());
        facts.stations << st;
    }
    for (const QJsonValue& v : o.value(QLatin1String("segments")).toArray()) {
        const QJsonObject s = v.toObject();
        Segment seg;
        const QString suffix = QLatin1Char('@') + QString::number(line.number);
        seg.from = facts.find(s.value(QLatin1String("from")).toString() + suffix);
        seg.to = facts.find(s.value(QLatin1String("to")).toString() + suffix);
        if (seg.from < 0 || seg.to < 0 || seg.from == seg.to)
            return fail(error, QStringLiteral("line %1: segment %2 - %3 names an unknown station")
                                   .arg(line.number)
                                   .arg(s.value(QLatin1String("from")).toString(),
                                        s.value(QLatin1String("to")).toString()));
        seg.lengthM = optionalNumber(s.value(QLatin1String("length_m")));
        seg.timeS = optionalNumber(s.value(QLatin1String("time_s")));
        facts.segments << seg;
    }
    facts.lines << line;
    return true;
}

} // namespace

std::optional<MetroFacts> readFacts(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return std::nullopt;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!doc.isObject()) {
        *error = parseError.errorString();
        return std::nullopt;
    }
    const QJsonObject root = doc.object();
    MetroFacts facts;
    for (const QJsonValue& v : root.value(QLatin1String("lines")).toArray())
        if (!readLine(v.toObject(), facts, error))
            return std::nullopt;
    for (const QJsonValue& v : root.value(QLatin1String("transfers")).toArray()) {
        const QJsonObject t = v.toObject();
        Transfer tr;
        tr.a = facts.find(t.value(QLatin1String("a")).toString());
        tr.b = facts.find(t.value(QLatin1String("b")).toString());
        if (tr.a < 0 || tr.b < 0 || tr.a == tr.b) {
            *error = QStringLiteral("transfer %1 - %2 names an unknown station")
                         .arg(t.value(QLatin1String("a")).toString(),
                              t.value(QLatin1String("b")).toString());
            return std::nullopt;
        }
        tr.lengthM = optionalNumber(t.value(QLatin1String("length_m")));
        tr.timeS = optionalNumber(t.value(QLatin1String("time_s")));
        facts.transfers << tr;
    }
    if (facts.lines.isEmpty()) {
        *error = QStringLiteral("no lines");
        return std::nullopt;
    }
    return facts;
}

} // namespace mapgen
