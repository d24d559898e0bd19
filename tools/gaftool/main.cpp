#include "commands.h"
#include "common.h"

#include "i18n/language.h"

#include <QCoreApplication>

#include <functional>
#include <optional>

using gaftool::Messages;

namespace {

struct Command {
    const char* name;
    const char* summary;
    std::function<int(const QStringList&)> run;
};

const Command kCommands[] = {
    {"dump", QT_TRANSLATE_NOOP("gaftool", "все записанные поля карты, текстом или JSON"),
     gaftool::cmdDump},
    {"convert", QT_TRANSLATE_NOOP("gaftool", ".gaf в JSON и JSON в .gaf"), gaftool::cmdConvert},
    {"validate", QT_TRANSLATE_NOOP("gaftool", "нарушенные правила карты"), gaftool::cmdValidate},
    {"render", QT_TRANSLATE_NOOP("gaftool", "рисунок карты в SVG, PDF или PNG, с найденным путём"),
     gaftool::cmdRender},
    {"route",
     QT_TRANSLATE_NOOP("gaftool", "кратчайший, быстрейший путь или путь с наименьшим числом "
                                  "пересадок между двумя остановками и отчёт о нём"),
     gaftool::cmdRoute},
    {"catalogue",
     QT_TRANSLATE_NOOP("gaftool", "встроенные карты: меню, пути, картинки и таблицы маршрутов"),
     gaftool::cmdCatalogue},
    {"import-gtfs", QT_TRANSLATE_NOOP("gaftool", "карта и её описание из расписания GTFS"),
     gaftool::cmdImportGtfs},
    {"gtfs-summary",
     QT_TRANSLATE_NOOP("gaftool", "перевозчик и маршруты каждого вида в расписании GTFS"),
     gaftool::cmdGtfsSummary},
    {"build-timetable",
     QT_TRANSLATE_NOOP("gaftool", "расписание карты, сделанной из GTFS, записывается рядом с ней"),
     gaftool::cmdBuildTimetable},
    {"timetable", QT_TRANSLATE_NOOP("gaftool", "сводка расписания, лежащего рядом с картой"),
     gaftool::cmdTimetable},
};

int help() {
    QString text =
        Messages::tr("gaftool: работа с файлами карт lirskmap (.gaf)\n\n"
                     "вызов: gaftool КОМАНДА [АРГУМЕНТЫ] [--lang ru|en] (КОМАНДА --help — о ней "
                     "самой)\n\n");
    for (const Command& c : kCommands)
        text += QStringLiteral("  %1  %2\n")
                    .arg(QLatin1String(c.name), -15)
                    .arg(Messages::tr(c.summary));
    gaftool::out(text.trimmed());
    return 0;
}

// Takes "--lang CODE" (or "--lang=CODE") out of the arguments, before or after the command: the
// language it names, the environment's without one, nothing for a code that is neither.
std::optional<lirsk::Language> takeLanguage(QStringList& args) {
    std::optional<lirsk::Language> language = lirsk::languageFromEnvironment();
    for (qsizetype k = 0; k < args.size();) {
        QString code;
        if (args[k] == QLatin1String("--lang") && k + 1 < args.size()) {
            code = args[k + 1];
            args.remove(k, 2);
        } else if (args[k].startsWith(QLatin1String("--lang="))) {
            code = args[k].mid(7);
            args.remove(k);
        } else if (args[k] == QLatin1String("--lang")) {
            args.remove(k);
        } else {
            ++k;
            continue;
        }
        language = lirsk::languageFromCode(code);
        if (!language)
            return std::nullopt;
    }
    return language;
}

} // namespace

int main(int argc, char** argv) {
    const std::unique_ptr<QCoreApplication> app = gaftool::makeApplication(argc, argv);
    QStringList args = app->arguments().mid(1);
    // Messages in Russian, or in English where the locale or --lang asks for it; the toolkit's
    // own too. Map files and JSON are the same in either.
    const std::optional<lirsk::Language> language = takeLanguage(args);
    lirsk::setLanguage(language.value_or(lirsk::Language::Russian));
    if (!language)
        return gaftool::usage(Messages::tr("gaftool: --lang: нужно ru или en"));
    if (args.isEmpty())
        return gaftool::usage(
            Messages::tr("вызов: gaftool КОМАНДА [АРГУМЕНТЫ]; gaftool --help перечисляет команды"));
    const QString name = args.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h") ||
        name == QLatin1String("help"))
        return gaftool::finishOutput(help());
    for (const Command& c : kCommands)
        if (name == QLatin1String(c.name))
            return gaftool::finishOutput(c.run(args));
    return gaftool::usage(
        Messages::tr("gaftool: неизвестная команда «%1»; gaftool --help перечисляет команды")
            .arg(name));
}
