#include "commands.h"
#include "common.h"

#include "import/gtfsimport.h"
#include "model/mapdescription.h"
#include "model/mapfile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <unistd.h>

using namespace lirsk;

namespace gaftool {

namespace {

const char* const kImportUsage =
    "usage: gaftool import-gtfs FEED OUT.gaf [--route-types LIST] [--routes LIST]\n"
    "                           [--agency ID] [--scale METRES_PER_PIXEL] [--title TEXT]\n"
    "                           [--fare X] [--transfer-fare X] [--max-memory BYTES] [--quiet]\n"
    "Makes a map from a GTFS feed (a .zip or a folder): one stop per station, a link for each\n"
    "pair of stations a trip serves one after the other, walking roads for transfers. Writes\n"
    "OUT.gaf and its description OUT.gafd (code letter, route table, fares, title).\n"
    "  --route-types LIST  route types to keep, comma-separated (0 tram, 1 metro, 2 rail, 3 bus,\n"
    "                      4 ferry, 5 cable tram, 6 aerial lift, 7 funicular, 11 trolleybus,\n"
    "                      12 monorail); extended types count as their basic type\n"
    "  --routes LIST       route_id or route_short_name values to keep, comma-separated\n"
    "  --agency ID         keep the routes of one agency_id\n"
    "  --scale M           metres per pixel (default: the map is about 3000 pixels across)\n"
    "  --title TEXT        the window title (default: the first agency's name)\n"
    "  --fare X, --transfer-fare X  the fare rule, over the feed's fare_attributes.txt\n"
    "  --max-memory BYTES  the most memory the import may take at its peak (default 2G); a feed\n"
    "                      that needs more is refused; K, M and G suffixes count 1024s\n"
    "  --quiet             no progress on standard error\n"
    "Exit 0 when the map was written; 2 for bad arguments, a feed that cannot be read or a map\n"
    "that cannot be written.";

bool number(const QString& text, double* into) {
    bool ok = false;
    *into = text.toDouble(&ok);
    return ok && std::isfinite(*into) && *into >= 0;
}

// A positive count of bytes, maybe with a K, M or G suffix; 0 when the text is none.
qint64 byteCount(QString text) {
    int shift = 0;
    const QString suffixes = QStringLiteral("KMG");
    if (!text.isEmpty() && suffixes.contains(text.back().toUpper())) {
        shift = 10 * int(suffixes.indexOf(text.back().toUpper()) + 1);
        text.chop(1);
    }
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    return ok && n > 0 && n <= (std::numeric_limits<qint64>::max() >> shift) ? n << shift : 0;
}

// Progress on standard error: one bar redrawn in place on a terminal, a line per stage elsewhere.
class ProgressPrinter {
public:
    explicit ProgressPrinter(bool quiet) : quiet_(quiet), terminal_(isatty(STDERR_FILENO)) {}
    ~ProgressPrinter() { finish(); }
    bool operator()(const QString& stage, double done) {
        if (quiet_)
            return true;
        if (terminal_) {
            const int filled = int(std::clamp(done, 0.0, 1.0) * 30);
            const QString bar = QStringLiteral("\r%1 [%2%3] %4%")
                                    .arg(stage, -16)
                                    .arg(QString(filled, QLatin1Char('#')))
                                    .arg(QString(30 - filled, QLatin1Char(' ')))
                                    .arg(int(done * 100), 3);
            std::fputs(bar.toUtf8().constData(), stderr);
            std::fflush(stderr);
            drawn_ = true;
        } else if (stage != lastStage_) {
            err(QStringLiteral("%1…").arg(stage));
        }
        lastStage_ = stage;
        return true;
    }
    void finish() {
        if (drawn_)
            std::fputc('\n', stderr);
        drawn_ = false;
    }

private:
    bool quiet_;
    bool terminal_;
    bool drawn_ = false;
    QString lastStage_;
};

} // namespace

int cmdImportGtfs(const QStringList& args) {
    if (wantsHelp(args)) {
        out(QString::fromUtf8(kImportUsage));
        return 0;
    }
    const auto bad = [](const QString& problem) {
        return usage(
            QStringLiteral("gaftool import-gtfs: %1 (gaftool import-gtfs --help)").arg(problem));
    };
    GtfsImportOptions options;
    QStringList positional;
    bool quiet = false;
    for (int k = 0; k < args.size(); ++k) {
        const QString& a = args[k];
        if (a == QLatin1String("--quiet")) {
            quiet = true;
            continue;
        }
        if (!a.startsWith(QLatin1String("--"))) {
            positional << a;
            continue;
        }
        if (k + 1 >= args.size())
            return bad(QStringLiteral("%1 needs a value").arg(a));
        const QString v = args[++k];
        double x = 0;
        if (a == QLatin1String("--route-types")) {
            for (const QString& t : v.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                bool ok = false;
                const int type = basicRouteType(t.trimmed().toInt(&ok));
                if (!ok || type < 0)
                    return bad(QStringLiteral("unknown route type %1").arg(t));
                options.routeTypes.insert(type);
            }
        } else if (a == QLatin1String("--routes")) {
            for (const QString& r : v.split(QLatin1Char(','), Qt::SkipEmptyParts))
                options.routes << r.trimmed();
        } else if (a == QLatin1String("--agency")) {
            options.agency = v;
        } else if (a == QLatin1String("--title")) {
            options.title = v;
        } else if (a == QLatin1String("--scale")) {
            if (!number(v, &x) || x <= 0)
                return bad(QStringLiteral("--scale needs a positive number"));
            options.metresPerPixel = x;
        } else if (a == QLatin1String("--max-memory")) {
            options.maxMemory = byteCount(v);
            if (options.maxMemory == 0)
                return bad(QStringLiteral("--max-memory needs a number of bytes, as 512M or 2G"));
        } else if (a == QLatin1String("--fare") || a == QLatin1String("--transfer-fare")) {
            if (!number(v, &x))
                return bad(QStringLiteral("%1 needs a number of at least 0").arg(a));
            (a == QLatin1String("--fare") ? options.baseFare : options.transferFare) = x;
        } else {
            return bad(QStringLiteral("unknown option %1").arg(a));
        }
    }
    if (positional.size() != 2)
        return bad(QStringLiteral("expected FEED OUT.gaf"));
    const QString& feed = positional[0];
    const QString& target = positional[1];

    GraphMap map;
    GtfsImportResult result;
    QString error;
    ProgressPrinter printer(quiet);
    const bool ok =
        importGtfs(feed, options, map, &result, &error,
                   [&](const QString& stage, double done) { return printer(stage, done); });
    printer.finish();
    if (!ok)
        return failInput(feed, error);
    for (const QString& note : result.notes)
        err(QStringLiteral("gaftool: %1: %2").arg(feed, note));

    const std::optional<QByteArray> bytes = writeMap(map, false, &error);
    if (!bytes || !saveMapAndDescription(target, *bytes, &result.description, &error))
        return failInput(target, error);
    if (!quiet)
        err(QStringLiteral("%1: %2 остановок, %3 связей, %4 маршрутов")
                .arg(target)
                .arg(map.stopCount())
                .arg(map.linkCount())
                .arg(result.description.routes.size()));
    return 0;
}

} // namespace gaftool
