#include "common.h"

#include "model/mapfile.h"
#include "model/mapjson.h"
#include "model/safefile.h"

#include <cerrno>
#include <cstdio>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace gaftool {

bool isJsonPath(const QString& path) {
    return path.endsWith(QLatin1String(".json"), Qt::CaseInsensitive);
}

bool loadMap(const QString& path, lirsk::GraphMap& map, QString* error) {
    if (!isJsonPath(path))
        return lirsk::readMapFile(path, map, error);
    QByteArray text;
    if (!lirsk::readWholeFile(path, lirsk::kMaxMapFileSize, &text, error))
        return false;
    return lirsk::mapFromJsonText(text, map, error);
}

namespace {

// The cause of the first write to standard output that failed; 0 while none did.
int outputError = 0;

void noteOutput(bool ok) {
    if (!ok && outputError == 0)
        outputError = errno != 0 ? errno : EIO;
}

} // namespace

void out(const QString& text) {
    outRaw(text.toUtf8());
    noteOutput(std::fputc('\n', stdout) != EOF);
}

void outRaw(const QByteArray& bytes) {
    noteOutput(std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout) ==
               std::size_t(bytes.size()));
}

int finishOutput(int code) {
    noteOutput(std::fflush(stdout) == 0);
    if (outputError == 0)
        return code;
    err(Messages::tr("gaftool: стандартный вывод: %1").arg(lirsk::systemErrorText(outputError)));
    return 2;
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

void returnLargeBlocksToSystem() {
#ifdef __GLIBC__
    // Setting the threshold also stops glibc from raising it as large blocks are freed.
    mallopt(M_MMAP_THRESHOLD, 256 << 10);
#endif
}

} // namespace gaftool
