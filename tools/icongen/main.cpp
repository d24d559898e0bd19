// Writes the program's icon in every shipped size as OUTDIR/NxN/apps/lirskmap.png, the layout of
// the desktop's hicolor icon theme.

#include "app/appicon.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: icongen OUTDIR\n");
        return 1;
    }
    for (int side : appIconSizes()) {
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(args[1]).arg(side);
        const QString file = dir + QStringLiteral("/lirskmap.png");
        if (!QDir().mkpath(dir) || !drawAppIcon(side).save(file)) {
            std::fprintf(stderr, "icongen: cannot write %s\n", qPrintable(file));
            return 2;
        }
    }
    return 0;
}
