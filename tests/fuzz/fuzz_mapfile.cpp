// Feeds arbitrary bytes to the map file reader and sends what it accepts through the operations a
// loaded map goes through: arc flags, saving to memory and reading that back.

#include "model/mapfile.h"

#include <QSet>

#include <cstdint>
#include <cstdlib>

using namespace lirsk;

namespace {

bool uniqueIds(const GraphMap& map) {
    QSet<int> seen;
    for (const auto& stop : map.stops()) {
        if (seen.contains(stop->Id))
            return false;
        seen.insert(stop->Id);
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    GraphMap map;
    QString error;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (!readMap(bytes, map, &error)) {
        if (error.isEmpty())
            std::abort(); // a refusal always says why
        return 0;
    }
    map.UpdateArcFlags();
    const std::optional<QByteArray> saved = writeMap(map, map.StoredSearchPanel, &error);
    if (!saved)
        return 0; // texts the code page cannot hold are refused, never written
    GraphMap again;
    if (!readMap(*saved, again, &error))
        std::abort(); // what the writer wrote must read back
    // With unique ids a saved map is a fixed point of reading and writing.
    if (uniqueIds(map) && writeMap(again, again.StoredSearchPanel, &error) != saved)
        std::abort();
    return 0;
}
