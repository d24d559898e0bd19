#include "model/catalogue.h"

// The route tables of the built-in networks: each route's number and the names of its termini,
// place names as the maps' stops have them (never translated). Lirsk's own are as the city's
// description (data/lirsk/city.json) lays the routes out; tram routes 20 and 21 name their middle
// point too. The Lirsk map tests check these names against the routes of the built maps.

namespace lirsk {

namespace {

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

QList<RouteRow> lirskTrolleybusRoutes() {
    return {
        {"1", "Вокзал- Южная"},
        {"2", "Западная- Восточная"},
        {"3", "Депо- Завод «Электроприбор»"},
        {"4", "Северный посёлок- Площадь Строителей"},
        {"5", "Вокзал- Медгородок"},
        {"6", "Тракторный завод- Медгородок"},
        {"7", "Вокзал- Сосновый бор"},
        {"8", "Заречье- Вокзал"},
        {"9", "Депо- Северный посёлок"},
        {"10", "Речной порт- Сосновый бор"},
        {"11", "Тракторный завод- Заречье"},
        {"12", "Кировский рынок- Завод «Электроприбор»"},
        {"13", "Западная- Северный посёлок"},
        {"15", "Медгородок- Заречье"},
        {"17", "Вокзал- Завод «Электроприбор»"},
        {"18", "Депо- Речной порт"},
    };
}

QList<RouteRow> lirskTramRoutes() {
    return {
        {"1", "Вокзал- Тракторный завод"},
        {"2", "Заречье- Речной порт"},
        {"3", "Сосновый бор- Центральный рынок"},
        {"4", "Вокзал- Северный посёлок"},
        {"5", "Тракторный завод- Медгородок"},
        {"6", "Депо- Сосновая улица"},
        {"7", "Кировский рынок- Заречье"},
        {"8", "Вокзал- Завод «Электроприбор»"},
        {"9", "Западная- Медгородок"},
        {"10", "Северный посёлок- Сосновый бор"},
        {"11", "Медгородок- Вокзал"},
        {"12", "Вокзал- Заречье"},
        {"13", "Заречье- Сосновый бор"},
        {"14", "Кировский рынок- Речной порт"},
        {"16", "Тракторный завод- Сосновый бор"},
        {"19", "Площадь Победы- Депо"},
        {"20", "Депо- Горсовет- Южная"},
        {"21", "Северный посёлок- Площадь Победы- Заречье"},
        {"22", "Медгородок- Площадь Строителей"},
        {"23", "Речной порт- Завод «Электроприбор»"},
    };
}

QList<RouteRow> lirskMetroRoutes() {
    return {{"1", "Тракторная- Сосновый бор"}};
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

} // namespace lirsk
