#include "commands.h"
#include "common.h"

#include "model/catalogue.h"

using namespace lirsk;

namespace gaftool {

namespace {

QString state(const MapMenuEntry& e) {
    if (!e.visible)
        return e.enabled ? QStringLiteral("hidden") : QStringLiteral("hidden, disabled");
    return e.enabled ? QStringLiteral("enabled") : QStringLiteral("disabled");
}

} // namespace

int cmdCatalogue(const QStringList& args) {
    const QString help = Messages::tr(
        "вызов: gaftool catalogue\n"
        "Печатает встроенные карты, как их знает программа: меню карт с путём, заголовком окна и\n"
        "состоянием каждого пункта; код и город, которые узнаются по каждому пути, с настройкой "
        "после\n"
        "загрузки (картинка, рисунок графа); таблицу маршрутов каждого кода.");
    if (wantsHelp(args)) {
        out(help);
        return 0;
    }
    if (!args.isEmpty())
        return usage(help);

    out(QStringLiteral("Map menus"));
    QString menu;
    for (const MapMenuEntry& e : mapMenuCatalogue()) {
        if (e.menu != menu) {
            menu = e.menu;
            out(QStringLiteral("  «%1»%2")
                    .arg(catalogueText(menu),
                         mapMenuVisible(menu) ? QString() : QStringLiteral(" (hidden, disabled)")));
        }
        out(QStringLiteral("    «%1»: %2%3 [%4%5]")
                .arg(catalogueText(e.entry),
                     e.path.isEmpty() ? QStringLiteral("opens nothing") : e.path,
                     e.title.isEmpty() ? QString()
                                       : QStringLiteral(", «%1»").arg(catalogueText(e.title)),
                     state(e), e.metro ? QStringLiteral(", metro") : QString()));
    }

    out(QStringLiteral("\nBuilt-in paths"));
    QStringList codes;
    for (const MapMenuEntry& e : mapMenuCatalogue()) {
        if (e.path.isEmpty())
            continue;
        const MapIdentity id = recognizeMapPath(e.path);
        const BuiltinSetup setup = builtinSetup(id);
        out(QStringLiteral("  %1: code %2, city %3, %4")
                .arg(e.path, id.mapCode, id.mapCity,
                     setup.showGraph ? QStringLiteral("drawn graph")
                                     : QStringLiteral("picture %1").arg(setup.picture)));
        if (!codes.contains(id.mapCode))
            codes << id.mapCode;
    }

    for (const QString& code : codes) {
        const std::optional<RouteTable> table = routeTableFor(code);
        if (!table) {
            out(QStringLiteral("\nRoute table %1: none").arg(code));
            continue;
        }
        out(QStringLiteral("\nRoute table %1: %2 rows with the header")
                .arg(code)
                .arg(table->rowCount));
        for (const RouteRow& row : table->rows)
            out(QStringLiteral("  %1\t%2").arg(row.number, row.name));
    }
    return 0;
}

} // namespace gaftool
