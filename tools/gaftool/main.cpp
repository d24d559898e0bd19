#include "commands.h"
#include "common.h"

#include "i18n/language.h"

#include <QCoreApplication>

#include <functional>

namespace {

struct Command {
    const char* name;
    const char* summary;
    std::function<int(const QStringList&)> run;
};

const Command kCommands[] = {
    {"dump", "every stored field of a map, as text or JSON", gaftool::cmdDump},
    {"convert", ".gaf to JSON and JSON to .gaf", gaftool::cmdConvert},
    {"validate", "list the broken invariants of a map", gaftool::cmdValidate},
    {"render", "draw a map as SVG, PDF or PNG, with a way found", gaftool::cmdRender},
    {"route", "the shortest, fastest or fewest-changes way between two stops and its report",
     gaftool::cmdRoute},
    {"catalogue", "the built-in maps: menus, paths, pictures and route tables",
     gaftool::cmdCatalogue},
    {"import-gtfs", "make a map and its description from a GTFS transit feed",
     gaftool::cmdImportGtfs},
    {"gtfs-summary", "the agency and the routes of each type that a GTFS feed offers",
     gaftool::cmdGtfsSummary},
    {"build-timetable", "write the timetable of a map imported from a GTFS feed beside it",
     gaftool::cmdBuildTimetable},
    {"timetable", "summarise the timetable kept beside a map", gaftool::cmdTimetable},
};

int help() {
    QString text = QStringLiteral("gaftool: tools for lirskmap map files (.gaf)\n\n"
                                  "usage: gaftool COMMAND [ARGS] (COMMAND --help for its own)\n\n");
    for (const Command& c : kCommands)
        text += QStringLiteral("  %1  %2\n")
                    .arg(QLatin1String(c.name), -10)
                    .arg(QLatin1String(c.summary));
    gaftool::out(text.trimmed());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::unique_ptr<QCoreApplication> app = gaftool::makeApplication(argc, argv);
    // Messages in Russian, or in English where the locale is English; the toolkit's own too.
    lirsk::setLanguage(lirsk::languageFromEnvironment());
    QStringList args = app->arguments().mid(1);
    if (args.isEmpty())
        return gaftool::usage(
            QStringLiteral("usage: gaftool COMMAND [ARGS]; gaftool --help lists the commands"));
    const QString name = args.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h") ||
        name == QLatin1String("help"))
        return gaftool::finishOutput(help());
    for (const Command& c : kCommands)
        if (name == QLatin1String(c.name))
            return gaftool::finishOutput(c.run(args));
    return gaftool::usage(
        QStringLiteral("gaftool: unknown command '%1'; gaftool --help lists them").arg(name));
}
