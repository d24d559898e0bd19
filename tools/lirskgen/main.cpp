// lirskgen: makes the Lirsk maps and the city plan under them from data/lirsk/city.json.
//
//   lirskgen CITY.json TOOLBOX_DIR [--preview DIR]
//
// Writes TOOLBOX_DIR/FonBitmap/Lirsk.jpg and TOOLBOX_DIR/map/{MapTrol,MapTram,LirskMetro,
// MLirsk}.gaf. With --preview it also writes one PNG per map into DIR: the map as the program
// shows it (the plan with the stops and their names over it, or the drawn metro diagram).

#include "city.h"
#include "plan.h"

#include "model/mapfile.h"
#include "view/maprenderer.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>

#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace lirsk;
using namespace lirsk::city;

namespace {

// The size of a stop's name as the map window shows it.
QSize measure(const QString& text, const FontSpec& font) {
    Stop stop;
    stop.Label.Caption = text;
    stop.Label.Font = font;
    return nameLabelRect(stop).size();
}

int fail(const QString& message) {
    std::fprintf(stderr, "lirskgen: %s\n", qPrintable(message));
    return EXIT_FAILURE;
}

void paintStops(QPainter& p, const GraphMap& map) {
    for (const Stop& s : map.stops())
        paintStopControl(p, s, false);
    for (const Stop& s : map.stops())
        paintNameLabel(p, s);
}

// The metro diagram as its map window shows it: the drawn graph with the stop controls over it.
QImage previewDiagram(const GraphMap& map) {
    const QRect box = mapExtent(map);
    GraphCanvas canvas;
    canvas.resize(box.right() + 40, box.bottom() + 40);
    RedrawGraph(canvas, map);
    QPainter p(&canvas.image);
    paintStops(p, map);
    p.end();
    return canvas.image;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3 && !(args.size() == 5 && args[3] == QLatin1String("--preview")))
        return fail(QStringLiteral("usage: lirskgen CITY.json TOOLBOX_DIR [--preview DIR]"));

    QString error;
    const std::optional<City> city = readCity(args[1], &error);
    if (!city)
        return fail(error);
    if (const QStringList problems = checkCity(*city); !problems.isEmpty())
        return fail(problems.join(QLatin1Char('\n')));

    struct Output {
        QString file;
        Network network;
        bool diagram;
    };
    const QList<Output> outputs = {{"MapTrol.gaf", Network::Trolleybus, false},
                                   {"MapTram.gaf", Network::Tram, false},
                                   {"LirskMetro.gaf", Network::Metro, false},
                                   {"MLirsk.gaf", Network::Metro, true}};
    const QDir toolbox(args[2]);
    if (!toolbox.mkpath(QStringLiteral("map")) || !toolbox.mkpath(QStringLiteral("FonBitmap")))
        return fail(QStringLiteral("cannot create the folders under %1").arg(args[2]));

    QList<QRect> keepClear;
    struct Built {
        Output out;
        std::shared_ptr<GraphMap> map;
    };
    QList<Built> built;
    for (const Output& out : outputs) {
        auto map = std::make_shared<GraphMap>();
        buildMap(*city, out.network, out.diagram, measure, *map);
        if (out.diagram) {
            map->Settings.ArcColor = lookOf(Network::Metro).fill;
            map->Settings.ArcWidth = 5;
            map->Settings.ShowWeights = false;
        } else {
            for (const Stop& s : map->stops()) {
                keepClear << QRect(s.Left, s.Top, s.Width, s.Height).adjusted(-3, -3, 3, 3);
                keepClear << QRect(QPoint(s.Label.Left, s.Label.Top),
                                   measure(s.Label.Caption, s.Label.Font));
            }
        }
        if (!saveMapFile(toolbox.filePath(QStringLiteral("map/") + out.file), *map, false, &error))
            return fail(error);
        built << Built{out, map};
    }

    const QImage plan = drawPlan(*city, keepClear);
    if (!plan.save(toolbox.filePath(QStringLiteral("FonBitmap/Lirsk.jpg")), "JPG", 90))
        return fail(QStringLiteral("cannot write the picture (is Qt's JPEG plugin installed?)"));

    if (args.size() == 5) {
        const QDir preview(args[4]);
        preview.mkpath(QStringLiteral("."));
        for (const Built& b : built) {
            QImage image;
            if (b.out.diagram) {
                image = previewDiagram(*b.map);
            } else {
                image = plan.copy();
                QPainter p(&image);
                p.setRenderHint(QPainter::Antialiasing);
                paintStops(p, *b.map);
            }
            QString name = b.out.file;
            name.replace(QLatin1String(".gaf"), QLatin1String(".png"));
            if (!image.save(preview.filePath(name)))
                return fail(QStringLiteral("cannot write %1").arg(preview.filePath(name)));
        }
    }
    return EXIT_SUCCESS;
}
