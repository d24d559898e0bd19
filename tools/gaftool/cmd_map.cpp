#include "commands.h"
#include "common.h"

#include "model/mapdescription.h"
#include "model/mapfile.h"
#include "model/mapjson.h"
#include "model/numberformat.h"
#include "model/safefile.h"
#include "model/textcodec.h"
#include "timetable/timetable.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <cmath>

using namespace lirsk;

namespace gaftool {

namespace {

QString yesNo(bool b) {
    return b ? QStringLiteral("true") : QStringLiteral("false");
}
QString hex(Colour c) {
    return QStringLiteral("0x%1")
        .arg(c, 8, 16, QLatin1Char('0'))
        .toUpper()
        .replace(QLatin1String("0X"), QLatin1String("0x"));
}
QString num(double d) {
    return shortestRoundTrip(d);
}

QString fontText(const FontSpec& f) {
    QString style;
    if (f.Bold)
        style += QLatin1String(" bold");
    if (f.Italic)
        style += QLatin1String(" italic");
    if (f.Underline)
        style += QLatin1String(" underline");
    if (f.StrikeOut)
        style += QLatin1String(" strikeout");
    return QStringLiteral("\"%1\" %2pt colour %3%4")
        .arg(f.Name)
        .arg(f.Size)
        .arg(hex(f.Color), style);
}

void dumpText(const GraphMap& map) {
    const DisplaySettings& s = map.Settings;
    out(QStringLiteral("header"));
    out(QStringLiteral("  user_weights: %1").arg(yesNo(s.UserWeights)));
    out(QStringLiteral("  auto_arc_color: %1").arg(yesNo(s.AutoArcColor)));
    out(QStringLiteral("  arc_color: %1").arg(hex(s.ArcColor)));
    out(QStringLiteral("  show_weights: %1").arg(yesNo(s.ShowWeights)));
    out(QStringLiteral("  tree_color: %1").arg(hex(s.TreeColor)));
    out(QStringLiteral("  arrow_size: %1").arg(s.ArrowSize));
    out(QStringLiteral("  arrow_angle: %1").arg(num(s.ArrowAngle)));
    out(QStringLiteral("  arrow_type: %1").arg(s.ArrowType));
    out(QStringLiteral("  arc_width: %1").arg(s.ArcWidth));
    out(QStringLiteral("  max_stop_id: %1").arg(map.MaxStopId));
    out(QStringLiteral("  stop_count: %1").arg(map.stopCount()));
    out(QStringLiteral("  show_search_panel: %1").arg(yesNo(map.StoredSearchPanel)));
    int position = 0;
    for (const auto& stop : map.stops()) {
        const NameLabel& l = stop.Label;
        out(QStringLiteral("stop #%1 id %2").arg(++position).arg(stop.Id));
        out(QStringLiteral("  name: \"%1\"").arg(l.Caption));
        out(QStringLiteral("  routes: \"%1\"").arg(stop.Routes));
        out(QStringLiteral("  left %1 top %2 size %3 radius %4 fill %5")
                .arg(stop.Left)
                .arg(stop.Top)
                .arg(stop.Width)
                .arg(stop.Radius)
                .arg(hex(stop.FillColor)));
        out(QStringLiteral("  font: %1").arg(fontText(stop.Font)));
        out(QStringLiteral("  label: left %1 top %2 %3, font %4")
                .arg(l.Left)
                .arg(l.Top)
                .arg(l.Visible ? QStringLiteral("visible") : QStringLiteral("hidden"),
                     fontText(l.Font)));
    }
    for (const auto& stop : map.stops())
        for (const auto& link : stop.Links)
            out(QStringLiteral("link %1 -> %2 price %3 length %4 time %5 %6")
                    .arg(stop.Id)
                    .arg(map.stop(link.To).Id)
                    .arg(num(link.Price), num(link.Length), num(link.Time),
                         link.IsArc ? QStringLiteral("arc") : QStringLiteral("road")));
}

} // namespace

int cmdDump(const QStringList& args) {
    const QString help =
        Messages::tr("вызов: gaftool dump ФАЙЛ [--json]\n"
                     "Печатает все записанные поля заголовка, все остановки по порядку списка со "
                     "всеми их полями\n"
                     "и все связи по порядку с признаком дуги. ФАЙЛ — карта .gaf или её .json.");
    if (wantsHelp(args)) {
        out(help);
        return 0;
    }
    QStringList rest = args;
    const bool json = rest.removeAll(QStringLiteral("--json")) > 0;
    if (rest.size() != 1)
        return usage(help);
    GraphMap map;
    QString error;
    if (!loadMap(rest[0], map, &error))
        return failInput(rest[0], error);
    if (json)
        outRaw(mapToJsonText(map));
    else
        dumpText(map);
    return 0;
}

int cmdConvert(const QStringList& args) {
    const QString help = Messages::tr("вызов: gaftool convert ИЗ В\n"
                                      "Переводит по расширению: карту .gaf в её JSON (то, что "
                                      "печатает dump --json), а карту .json —\n"
                                      "в файл .gaf. JSON в .gaf и снова в JSON даёт тот же текст. "
                                      "Описание рядом с ИЗ (ИЗ.gafd) и\n"
                                      "расписание (ИЗ.gaft) записываются и рядом с В.");
    if (wantsHelp(args)) {
        out(help);
        return 0;
    }
    if (args.size() != 2)
        return usage(help);
    GraphMap map;
    QString error;
    if (!loadMap(args[0], map, &error))
        return failInput(args[0], error);
    MapDescription description;
    const DescriptionRead described = readMapDescription(args[0], &description, &error);
    if (described == DescriptionRead::Broken)
        return failInput(args[0], error);
    // The timetable goes first: if it cannot be written, neither is the map.
    const QString timetableFile = timetablePathFor(args[0]);
    if (QFileInfo::exists(timetableFile)) {
        QByteArray timetable;
        if (!readWholeFile(timetableFile, kMaxTimetableFileSize, &timetable, &error))
            return failInput(timetableFile, error);
        const QString target = timetablePathFor(args[1]);
        if (!saveWholeFile(target, timetable, &error))
            return failInput(target, error);
    }
    std::optional<QByteArray> bytes;
    if (isJsonPath(args[1]))
        bytes = mapToJsonText(map);
    else
        bytes = writeMap(map, map.StoredSearchPanel, &error);
    if (!bytes ||
        !saveMapAndDescription(args[1], *bytes,
                               described == DescriptionRead::Read ? &description : nullptr, &error))
        return failInput(args[1], error);
    return 0;
}

int cmdValidate(const QStringList& args) {
    const QString help = Messages::tr(
        "вызов: gaftool validate ФАЙЛ\n"
        "Перечисляет все нарушенные правила карты: повторённые Id, Id вне 0..max_stop_id, связи\n"
        "остановки с самой собой, две связи одной упорядоченной пары, отрицательные или "
        "бесконечные\n"
        "длины, тексты, которых не вмещает Windows-1251. Код выхода 1, если нарушения есть, 0, "
        "если нет.");
    if (wantsHelp(args)) {
        out(help);
        return 0;
    }
    if (args.size() != 1)
        return usage(help);
    GraphMap map;
    QString error;
    if (!loadMap(args[0], map, &error))
        return failInput(args[0], error);

    QStringList problems;
    QHash<int, int> idCount;
    for (const auto& stop : map.stops())
        ++idCount[stop.Id];
    QSet<int> reported;
    for (StopIndex index = 0; index < map.stopCount(); ++index) {
        const Stop& stop = map.stop(index);
        const QString who =
            QStringLiteral("stop id %1 \"%2\"").arg(stop.Id).arg(stop.Label.Caption);
        if (idCount.value(stop.Id) > 1 && !reported.contains(stop.Id)) {
            reported.insert(stop.Id);
            problems << QStringLiteral("id %1 is held by %2 stops")
                            .arg(stop.Id)
                            .arg(idCount.value(stop.Id));
        }
        if (stop.Id < 0 || stop.Id > map.MaxStopId)
            problems
                << QStringLiteral("%1: id outside 0..%2 (max_stop_id)").arg(who).arg(map.MaxStopId);
        const std::pair<const char*, QString> texts[] = {{"name", stop.Label.Caption},
                                                         {"routes", stop.Routes},
                                                         {"font name", stop.Font.Name},
                                                         {"name font name", stop.Label.Font.Name}};
        for (const auto& [what, text] : texts)
            if (!fitsCp1251(text))
                problems << QStringLiteral("%1: the %2 has characters Windows-1251 cannot hold")
                                .arg(who, QLatin1String(what));
        QSet<StopIndex> targets;
        for (const auto& link : stop.Links) {
            const QString which =
                QStringLiteral("link %1 -> %2").arg(stop.Id).arg(map.stop(link.To).Id);
            if (link.To == index)
                problems << which + QStringLiteral(": joins a stop to itself");
            if (targets.contains(link.To))
                problems << which + QStringLiteral(": a second link for the same ordered pair");
            targets.insert(link.To);
            if (!std::isfinite(link.Length))
                problems << which + QStringLiteral(": length is not a finite number");
            else if (link.Length < 0)
                problems << which + QStringLiteral(": negative length %1").arg(num(link.Length));
        }
    }
    for (const QString& p : problems)
        out(p);
    if (problems.isEmpty())
        out(QStringLiteral("ok: %1 stops, %2 links").arg(map.stopCount()).arg(map.linkCount()));
    return problems.isEmpty() ? 0 : 1;
}

} // namespace gaftool
