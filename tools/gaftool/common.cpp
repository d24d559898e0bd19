#include "common.h"

#include "model/mapfile.h"
#include "model/mapjson.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonParseError>

#include <cstdio>

namespace gaftool {

bool isJsonPath(const QString& path) {
    return path.endsWith(QLatin1String(".json"), Qt::CaseInsensitive);
}

bool loadMap(const QString& path, lirsk::GraphMap& map, QString* error) {
    if (!isJsonPath(path))
        return lirsk::readMapFile(path, map, error);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parse);
    if (parse.error != QJsonParseError::NoError) {
        *error = QStringLiteral("JSON: %1 (байт %2)").arg(parse.errorString()).arg(parse.offset);
        return false;
    }
    if (!doc.isObject()) {
        *error = QStringLiteral("JSON: ожидается объект карты");
        return false;
    }
    return lirsk::mapFromJson(doc.object(), map, error);
}

void out(const QString& text) {
    std::fputs(text.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
}

void err(const QString& text) {
    std::fputs(text.toUtf8().constData(), stderr);
    std::fputc('\n', stderr);
}

int failInput(const QString& path, const QString& reason) {
    err(QStringLiteral("gaftool: %1: %2").arg(path, reason));
    return 2;
}

int usage(const QString& text) {
    err(text);
    return 2;
}

bool wantsHelp(const QStringList& args) {
    return args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"));
}

} // namespace gaftool
