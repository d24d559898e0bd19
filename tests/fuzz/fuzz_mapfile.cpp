// Feeds arbitrary bytes to the map file reader and sends what it accepts through the operations a
// loaded map goes through (see mapcheck.h); a step that does not hold aborts with what went wrong.

#include "mapcheck.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString fault = lirsk::fuzz::checkMapBytes(
        QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!fault.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(fault));
        std::abort();
    }
    return 0;
}
