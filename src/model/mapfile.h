#pragma once

#include "model/graphmap.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The ".gaf" map file: a 56-byte header, the stop records with their four counted strings, then
// 32-byte link records up to the end. Little-endian, Windows-1251 text, no signature.

namespace lirsk {

constexpr int kHeaderSize = 56;
constexpr int kStopRecordSize = 60;
constexpr int kLinkRecordSize = 32;

// Reads the bytes of a map file into a map in place of its stops; its identity (file name, code,
// city) stays. On failure the map keeps what was read so far and the error says what is wrong
// and where.
bool readMap(const QByteArray& data, GraphMap& map, QString* error);
// Opens the file for reading only (an installed, read-only map opens too) and reads it. What is
// not a regular file, or is larger than kMaxMapFileSize, is refused before anything is read.
bool readMapFile(const QString& path, GraphMap& map, QString* error);

// The bytes of the map file for a map; nothing when some text cannot be stored in Windows-1251
// (the error names the stop). The search-panel flag is the main window's, not the map's.
std::optional<QByteArray> writeMap(const GraphMap& map, bool searchPanelShown, QString* error);
// A map taken to be written on another thread: its header's values and its stops, which the map
// shares with it in chunks of stops and copies only as it changes them. Taking it costs a pointer
// a chunk; the map may change as soon as it is taken.
struct MapSnapshot {
    explicit MapSnapshot(const GraphMap& map);
    DisplaySettings settings;
    int maxStopId = 0;
    bool storedSearchPanel = false;
    StopList stops;
};
std::optional<QByteArray> writeMap(const MapSnapshot& map, bool searchPanelShown, QString* error);

// Writes through a temporary file that replaces the old one only when everything was written
// (saveWholeFile).
bool saveMapFile(const QString& path, const GraphMap& map, bool searchPanelShown, QString* error);

} // namespace lirsk
