#include "commands.h"
#include "common.h"

#ifdef LIRSK_NO_RENDER

namespace gaftool {

std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv) {
    return std::make_unique<QCoreApplication>(argc, argv);
}

int cmdRender(const QStringList&) {
    err(QStringLiteral("gaftool: this gaftool was built without QtGui and cannot render"));
    return 2;
}

} // namespace gaftool

#else

#include "model/graphmap.h"
#include "model/mapdescription.h"
#include "model/safefile.h"
#include "view/maprenderer.h"

#include <QBuffer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>

#include <cstring>

namespace gaftool {

// Only the render command needs fonts and painting: it gets a GUI application on the offscreen
// platform, every other command a plain one.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "render") == 0) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QGuiApplication>(argc, argv);
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

int cmdRender(const QStringList& args) {
    const QString help = QStringLiteral(
        "usage: gaftool render FILE OUT.png\n"
        "Draws the graph image of a map (.gaf or .json) as the program draws it: roads, arcs\n"
        "with their arrows, lengths, stops and names, on the window background, as large as the\n"
        "map's stops and names need. A map imported from a feed draws its lines and places its\n"
        "names as its description (FILE.gafd) says.");
    if (wantsHelp(args)) {
        out(help);
        return 0;
    }
    if (args.size() != 2)
        return usage(help);
    lirsk::GraphMap map;
    QString error;
    if (!loadMap(args[0], map, &error))
        return failInput(args[0], error);

    const lirsk::MapSize size = lirsk::mapSize(map);
    constexpr int kMargin = 10;
    constexpr int kLimit = 16000;
    const qint64 width = size.width + kMargin;
    const qint64 height = size.height + kMargin;
    if (width > kLimit || height > kLimit)
        return failInput(args[0], QStringLiteral("карта размером %1 × %2 пикселей больше, "
                                                 "чем %3 × %3")
                                      .arg(width)
                                      .arg(height)
                                      .arg(kLimit));
    // A map imported from a feed draws its lines as its description lists them.
    lirsk::MapDescription description;
    const bool described =
        lirsk::readMapDescription(args[0], &description, &error) == lirsk::DescriptionRead::Read;
    lirsk::GraphCanvas canvas;
    canvas.resize(int(width), int(height));
    lirsk::RedrawGraph(canvas, map, nullptr, described ? &description : nullptr);

    // The picture is made in memory and saved as the maps are, so that a failed write keeps the
    // old file and is reported.
    QByteArray picture;
    QBuffer buffer(&picture);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, QFileInfo(args[1]).suffix().toLatin1());
    if (!writer.write(canvas.image))
        return failInput(args[1], writer.errorString());
    if (!lirsk::saveWholeFile(args[1], picture, &error))
        return failInput(args[1], error);
    return 0;
}

} // namespace gaftool

#endif
