#include "model/catalogue.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace lirsk {

namespace {

const QString kLirsk = QString::fromUtf8(QT_TRANSLATE_NOOP("Catalogue", "Карта Лирска"));
const QString kMetro = QString::fromUtf8(QT_TRANSLATE_NOOP("Catalogue", "Карты метро России"));
const QString kChelny = QString::fromUtf8(QT_TRANSLATE_NOOP("Catalogue", "Карта Н.Челнов"));

} // namespace

const QList<MapMenuEntry>& mapMenuCatalogue() {
    static const QList<MapMenuEntry> entries = {
        {kLirsk, QT_TRANSLATE_NOOP("Catalogue", "Метро"), "toolbox/map/LirskMetro.gaf",
         QT_TRANSLATE_NOOP("Catalogue", "Карта лирского метро"), true, true, true},
        {kLirsk, QT_TRANSLATE_NOOP("Catalogue", "Автобусная"), "toolbox/map/MapBus.gaf",
         QT_TRANSLATE_NOOP("Catalogue", "Автобусная карта"), false, false, false},
        {kLirsk, QT_TRANSLATE_NOOP("Catalogue", "Троллейбусная"), "toolbox/map/MapTrol.gaf",
         QT_TRANSLATE_NOOP("Catalogue", "Троллейбусная карта"), true, true, false},
        {kLirsk, QT_TRANSLATE_NOOP("Catalogue", "Трамвайная"), "toolbox/map/MapTram.gaf",
         QT_TRANSLATE_NOOP("Catalogue", "Трамвайная карта"), true, true, false},
        {kMetro, QT_TRANSLATE_NOOP("Catalogue", "Санкт-Петербург"), "toolbox/map/MPiter.gaf",
         QT_TRANSLATE_NOOP("Catalogue", "Карта метро Санкт-Петербурга"), true, true, true},
        {kMetro, QT_TRANSLATE_NOOP("Catalogue", "Лирск"), "toolbox/map/MLirsk.gaf",
         QT_TRANSLATE_NOOP("Catalogue", "Карта метро Лирск"), true, true, true},
        {kMetro, QT_TRANSLATE_NOOP("Catalogue", "Москва"), "toolbox/map/MMoscow.gaf",
         QT_TRANSLATE_NOOP("Catalogue", "Карта метро Москвы"), true, true, true},
        {kMetro, QT_TRANSLATE_NOOP("Catalogue", "Н.Новгород"), "", "", true, false, true},
        {kMetro, QT_TRANSLATE_NOOP("Catalogue", "Новосибирск"), "", "", true, false, true},
        {kMetro, QT_TRANSLATE_NOOP("Catalogue", "Екатеринбург"), "toolbox/map/MEkater.gaf",
         QT_TRANSLATE_NOOP("Catalogue", "Карта метро Екатеринбурга"), true, true, true},
        {kMetro, QT_TRANSLATE_NOOP("Catalogue", "Самара"), "toolbox/map/MSamara.gaf",
         QT_TRANSLATE_NOOP("Catalogue", "Карта метро Самара"), true, true, true},
        {kChelny, QT_TRANSLATE_NOOP("Catalogue", "Трамвайная"), "toolbox/map/ChelTram.gaf",
         QT_TRANSLATE_NOOP("Catalogue", "Трамвайная карта Набережных Челнов"), true, false, false},
    };
    return entries;
}

QString catalogueText(const QString& text) {
    return QCoreApplication::translate("Catalogue", text.toUtf8().constData());
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
