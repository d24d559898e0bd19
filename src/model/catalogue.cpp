#include "model/catalogue.h"

#include <QDir>
#include <QFileInfo>

namespace lirsk {

namespace {

const QString kLirsk = QStringLiteral("Карта Лирска");
const QString kMetro = QStringLiteral("Карты метро России");
const QString kChelny = QStringLiteral("Карта Н.Челнов");

QList<RouteRow> numbered(const QStringList& numbers, const QStringList& names) {
    QList<RouteRow> rows;
    for (qsizetype i = 0; i < numbers.size(); ++i)
        rows.append({numbers[i], i < names.size() ? names[i] : QString()});
    return rows;
}

RouteTable tableOf(const QList<RouteRow>& rows) {
    return {int(rows.size()) + 1, rows};
}

} // namespace

const QList<MapMenuEntry>& mapMenuCatalogue() {
    static const QList<MapMenuEntry> entries = {
        {kLirsk, "Метро", "toolbox/map/LirskMetro.gaf", "Карта лирского метро", true, true, true},
        {kLirsk, "Автобусная", "toolbox/map/MapBus.gaf", "Автобусная карта", false, false, false},
        {kLirsk, "Троллейбусная", "toolbox/map/MapTrol.gaf", "Троллейбусная карта", true, true,
         false},
        {kLirsk, "Трамвайная", "toolbox/map/MapTram.gaf", "Трамвайная карта", true, true, false},
        {kMetro, "Санкт-Петербург", "toolbox/map/MPiter.gaf", "Карта метро Санкт-Петербурга", true,
         true, true},
        {kMetro, "Лирск", "toolbox/map/MLirsk.gaf", "Карта метро Лирск", true, true, true},
        {kMetro, "Москва", "toolbox/map/MMoscow.gaf", "Карта метро Москвы", true, true, true},
        {kMetro, "Н.Новгород", "", "", true, false, true},
        {kMetro, "Новосибирск", "", "", true, false, true},
        {kMetro, "Екатеринбург", "toolbox/map/MEkater.gaf", "Карта метро Екатеринбурга", true, true,
         true},
        {kMetro, "Самара", "toolbox/map/MSamara.gaf", "Карта метро Самара", true, true, true},
        {kChelny, "Трамвайная", "toolbox/map/ChelTram.gaf", "Трамвайная карта Набережных Челнов",
         true, false, false},
    };
    return entries;
}

bool mapMenuVisible(const QString& menu) {
    return menu != kChelny;
}

MapIdentity recognizeMapPath(const QString& path) {
    static const QList<std::pair<QString, MapIdentity>> table = {
        {"toolbox/map/MapTrol.gaf", {"T", "Lirsk"}},
        {"toolbox/map/MapBus.gaf", {"B", "Lirsk"}},
        {"toolbox/map/MapTram.gaf", {"A", "Lirsk"}},
        {"toolbox/map/LirskMetro.gaf", {"K", "Lirsk"}},
        {"toolbox/map/LirskMar.gaf", {"C", "Lirsk"}},
        {"toolbox/map/ChelTram.gaf", {"T", "Chelny"}},
        {"toolbox/map/MLirsk.gaf", {"K", "none"}},
        {"toolbox/map/MPiter.gaf", {"P", "none"}},
        {"toolbox/map/MSamara.gaf", {"S", "none"}},
        {"toolbox/map/MEkater.gaf", {"E", "none"}},
        {"toolbox/map/MMoscow.gaf", {"M", "none"}},
    };
    for (const auto& [builtin, identity] : table)
        if (path == builtin)
            return identity;
    return {};
}

std::optional<RouteTable> routeTableFor(const QString& mapCode) {
    if (mapCode == QLatin1String("T"))
        return tableOf(lirskTrolleybusRoutes());
    if (mapCode == QLatin1String("K"))
        return tableOf(lirskMetroRoutes());
    if (mapCode == QLatin1String("E"))
        return tableOf({{"1", "пр. Космонавтов- Геологическая"}});
    if (mapCode == QLatin1String("S"))
        return tableOf({{"1", "Московская- Юнгородок"}});
    if (mapCode == QLatin1String("M"))
        return tableOf(
            numbered({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"},
                     {"Сокольническая", "Замоскворецкая", "Арбатско- Покровская", "Филевская",
                      "Кольцевая", "Калужско- Рижская", "Таганско- Краснопресненская",
                      "Калининская", "Серпуховско- Тимирязевская", "Люблинская", "Каховская"}));
    if (mapCode == QLatin1String("P"))
        return tableOf(
            numbered({"1", "2", "3", "4"}, {"Девяткино- пр.Ветеранов", "пр.Просвещения- Купчино",
                                            "Приморская- Рыбацкое", "Старая деревня- ул.Дыбенко"}));
    if (mapCode == QLatin1String("A"))
        return tableOf(lirskTramRoutes());
    if (mapCode == QLatin1String("B"))
        return RouteTable{16, {}}; // the bus network's fifteen rows stay empty
    return std::nullopt;
}

BuiltinSetup builtinSetup(const MapIdentity& identity) {
    BuiltinSetup setup;
    if (identity.mapCity == QLatin1String("Lirsk"))
        setup.picture = QStringLiteral("toolbox/FonBitmap/Lirsk.jpg");
    if (identity.mapCity == QLatin1String("Chelny"))
        setup.picture = QStringLiteral("toolbox/FonBitmap/Chelny.jpg");
    if (identity.mapCity == QLatin1String("none"))
        setup.showGraph = true;
    setup.routes = routeTableFor(identity.mapCode);
    return setup;
}

QString resolveDataPath(const QString& relative, const QStringList& roots) {
    if (QFileInfo::exists(relative) || QDir::isAbsolutePath(relative))
        return relative;
    for (const QString& root : roots) {
        const QString candidate = QDir(root).filePath(relative);
        if (QFileInfo::exists(candidate))
            return candidate;
    }
    return relative;
}

} // namespace lirsk
