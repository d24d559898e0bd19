#include "commands.h"
#include "common.h"

#ifdef LIRSK_NO_RENDER

namespace gaftool {

std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv) {
    return std::make_unique<QCoreApplication>(argc, argv);
}

int cmdRender(const QStringList&) {
    err(Messages::tr("gaftool: этот gaftool собран без QtGui и не рисует"));
    return 2;
}

} // namespace gaftool

#else

#include "document/mapdocument.h"
#include "model/graphmap.h"
#include "model/mapdescription.h"
#include "model/ownnames.h"
#include "model/safefile.h"
#include "route/criteria.h"
#include "route/report.h"
#include "view/mapexport.h"
#include "view/mapview.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>

#include <climits>
#include <cstring>

using namespace lirsk;

namespace gaftool {

// Only the render command needs fonts and painting: it gets a GUI application on the offscreen
// platform (the map view draws), every other command a plain one.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "render") == 0) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QApplication>(argc, argv);
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

namespace {

const char* const kRenderUsage = QT_TRANSLATE_NOOP(
    "gaftool",
    "вызов: gaftool render ФАЙЛ ВЫХОД.svg|ВЫХОД.pdf|ВЫХОД.png [--scale S] [--visible X,Y,W,H]\n"
    "                      [--way ОТКУДА КУДА [--by C | --depart T]]\n"
    "Рисует карту (.gaf или .json), как её показывает программа: дороги, дуги со стрелками, "
    "длины,\n"
    "остановки и названия, карту из расписания — с линиями и названиями на местах, указанных её\n"
    "описанием (ФАЙЛ.gafd), поверх её картинки, если описание её называет. SVG и PDF хранят всё,\n"
    "кроме картинки, фигурами и текстом, в котором можно искать; PNG — картинка.\n"
    "  --scale S          экранных точек на точку карты (по умолчанию 1, от 0.05 до 8)\n"
    "  --visible X,Y,W,H  только эта часть карты (в точках карты); по умолчанию вся карта\n"
    "  --way ОТКУДА КУДА  путь, найденный между двумя остановками (Id или названия), поверх карты\n"
    "  --by C             shortest (по умолчанию), fastest или changes\n"
    "  --depart T         поездка по расписанию карты с отправлением в T или позже\n"
    "                     («ГГГГ-ММ-ДД ЧЧ:ММ» или «ЧЧ:ММ»)");

struct RenderArgs {
    QString file, output;
    double scale = 1.0;
    std::optional<QRect> visible;
    QString from, to, depart;
    Criterion criterion = Criterion::Shortest;
};

QString parseRenderArgs(const QStringList& args, RenderArgs& parsed) {
    QStringList positional;
    bool way = false, by = false;
    for (int k = 0; k < args.size(); ++k) {
        const QString& a = args[k];
        const bool hasValue = k + 1 < args.size();
        if (a == QLatin1String("--scale")) {
            bool ok = hasValue;
            parsed.scale = ok ? args[++k].toDouble(&ok) : 0;
            if (!ok || !(parsed.scale >= 0.05 && parsed.scale <= 8))
                return Messages::tr("--scale: нужно число от 0.05 до 8");
        } else if (a == QLatin1String("--visible")) {
            const QStringList parts = hasValue ? args[++k].split(QLatin1Char(',')) : QStringList();
            int v[4] = {};
            bool ok = parts.size() == 4;
            for (int i = 0; ok && i < 4; ++i)
                v[i] = parts[i].trimmed().toInt(&ok);
            if (!ok || v[2] <= 0 || v[3] <= 0)
                return Messages::tr("--visible: нужно X,Y,W,H (целые числа, W и H больше 0)");
            parsed.visible = QRect(v[0], v[1], v[2], v[3]);
        } else if (a == QLatin1String("--way")) {
            if (k + 2 >= args.size())
                return Messages::tr("--way: нужны ОТКУДА и КУДА");
            way = true;
            parsed.from = args[++k];
            parsed.to = args[++k];
        } else if (a == QLatin1String("--by")) {
            by = true;
            if (!hasValue || !criterionFromName(args[++k], &parsed.criterion))
                return Messages::tr("--by: нужно shortest, fastest или changes");
        } else if (a == QLatin1String("--depart")) {
            if (!hasValue)
                return Messages::tr("--depart: нужно «ГГГГ-ММ-ДД ЧЧ:ММ» или «ЧЧ:ММ»");
            parsed.depart = args[++k];
        } else if (a.startsWith(QLatin1String("--"))) {
            return Messages::tr("неизвестный ключ %1").arg(a);
        } else {
            positional.append(a);
        }
    }
    if (positional.size() != 2)
        return Messages::tr("ожидаются ФАЙЛ и ВЫХОД");
    if ((by || !parsed.depart.isEmpty()) && !way)
        return Messages::tr("--by и --depart даются вместе с --way");
    if (by && !parsed.depart.isEmpty())
        return Messages::tr("--by и --depart исключают друг друга");
    parsed.file = positional[0];
    parsed.output = positional[1];
    return exportFormatFor(parsed.output)
               ? QString()
               : Messages::tr("ВЫХОД должен кончаться на .svg, .pdf или .png");
}

// A stop by its id, else the first of its name.
StopIndex stopNamed(const GraphMap& map, const QString& text) {
    bool number = false;
    const int id = text.toInt(&number);
    if (number)
        if (const StopIndex stop = map.FindStopById(id); stop != NoStop)
            return stop;
    for (StopIndex i = 0; i < map.stopCount(); ++i)
        if (map.stop(i).Label.Caption == text)
            return i;
    return NoStop;
}

// The way asked for, set as the document's found way; the reason when there is none.
QString findWay(MapDocument& document, const RenderArgs& a) {
    const GraphMap& map = document.map();
    const StopIndex from = stopNamed(map, a.from), to = stopNamed(map, a.to);
    if (from == NoStop || to == NoStop)
        return Messages::tr("нет остановки «%1»").arg(from == NoStop ? a.from : a.to);
    if (from == to)
        return Messages::tr("начало и конец пути — одна и та же остановка");
    if (!a.depart.isEmpty()) {
        GraphMap copy = map;
        Timetable timetable;
        QString error;
        if (!loadTimetable(a.file, copy, timetable, &error))
            return error;
        qint64 departure = 0;
        error = timetableDeparture(timetable, a.depart, &departure);
        if (!error.isEmpty())
            return error;
        document.setTimetable(std::move(timetable), QString());
        if (!document.timetableMismatch().isEmpty())
            return document.timetableMismatch();
        document.setDeparture(departure);
        const std::vector<Journey> journeys = document.findJourneys(from, to);
        const Journey* shown = preferredJourney(journeys);
        if (!shown)
            return Messages::tr("по расписанию пути нет");
        const JourneyWay way = journeyWay(map, document.timetable(), *shown);
        document.setFoundWay({way.stops, way.length, way.time});
        return QString();
    }
    const CriterionResult result = findWayBy(a.criterion, map, from, to);
    if (result.found.outcome != SearchOutcome::Found || result.refusal != Refusal::None) {
        const QString why = failureText(a.criterion, result);
        return why.isEmpty() ? Messages::tr("пути нет") : why;
    }
    document.setFoundWay({result.found.way, result.found.length, result.found.time});
    return QString();
}

} // namespace

int cmdRender(const QStringList& args) {
    if (wantsHelp(args)) {
        out(Messages::tr(kRenderUsage));
        return 0;
    }
    RenderArgs a;
    const QString problem = parseRenderArgs(args, a);
    if (!problem.isEmpty())
        return usage(QStringLiteral("gaftool render: %1 (gaftool render --help)").arg(problem));
    MapDocument document;
    QString error;
    if (!loadMap(a.file, document.map(), &error))
        return failInput(a.file, error);
    MapDescription description;
    const DescriptionRead described = readMapDescription(a.file, &description, &error);
    if (described == DescriptionRead::Broken)
        return failInput(a.file, error);
    if (described == DescriptionRead::Read) {
        showOwnNames(document.map(), description);
        document.setDescription(description);
    }
    if (!a.from.isEmpty()) {
        error = findWay(document, a);
        if (!error.isEmpty())
            return failInput(a.file, error);
    }

    MapView view(&document);
    if (described == DescriptionRead::Read && !description.picture.isEmpty()) {
        const QString picture = QFileInfo(a.file).dir().absoluteFilePath(
            QDir::fromNativeSeparators(description.picture));
        QImageReader reader(picture);
        const QImage image = reader.read();
        if (image.isNull())
            return failInput(picture, reader.errorString());
        view.setPicture(image.convertToFormat(QImage::Format_RGB32));
    }
    // The whole map with a margin, as large as its stops and names are (a damaged file may
    // place them far beyond what can be drawn: the export names that size).
    constexpr qint64 kMargin = 10;
    const MapSize size = mapSize(document.map());
    const auto side = [](qint64 graph, int picture) {
        return int(std::min<qint64>(std::max<qint64>(graph, picture) + kMargin, INT_MAX));
    };
    MapExport what;
    what.area = a.visible.value_or(QRect(0, 0, side(size.width, view.picture().width()),
                                         side(size.height, view.picture().height())));
    what.scale = a.scale;
    what.title =
        description.title.isEmpty() ? QFileInfo(a.file).completeBaseName() : description.title;
    if (!exportMap(view, a.output, what, &error))
        return failInput(a.output, error);
    return 0;
}

} // namespace gaftool

#endif
