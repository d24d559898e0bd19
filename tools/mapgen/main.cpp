#include "metrofacts.h"
#include "metromap.h"

#include "model/mapfile.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

// mapgen FACTS LAYOUT OUT: writes the metro map of a network's facts, laid out by its layout file.

namespace {

void printLine(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 3) {
        printLine(QStringLiteral("usage: mapgen FACTS.json LAYOUT.json OUT.gaf"));
        return 2;
    }
    QString error;
    const std::optional<mapgen::MetroFacts> facts = mapgen::readFacts(args[0], &error);
    if (!facts) {
        printLine(QStringLiteral("mapgen: %1: %2").arg(args[0], error));
        return 1;
    }
    QStringList warnings;
    const auto map = mapgen::buildMetroMap(*facts, args[1], &error, &warnings);
    if (!map) {
        printLine(QStringLiteral("mapgen: ") + error);
        return 1;
    }
    for (const QString& w : warnings)
        printLine(QStringLiteral("mapgen: %1: warning: %2").arg(args[1], w));
    if (!lirsk::saveMapFile(args[2], *map, false, &error)) {
        printLine(QStringLiteral("mapgen: %1: %2").arg(args[2], error));
        return 1;
    }
    return 0;
}
