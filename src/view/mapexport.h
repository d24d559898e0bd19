#pragma once

#include <QByteArray>
#include <QRect>
#include <QString>

#include <optional>

class QPainter;

// A map as a file of its own: SVG and PDF in vectors (links, arrows, stops and names as shapes
// and text; only the city plan stays a picture), PNG as a picture, each drawn by the map view as
// it draws the screen, the found way and its markers included.

namespace lirsk {

class MapView;

enum class ExportFormat { Svg, Pdf, Png };

// The format a file name asks for by its extension (.svg, .pdf, .png, any letter case).
std::optional<ExportFormat> exportFormatFor(const QString& path);

struct MapExport {
    // The part of the map (map coordinates), drawn at a scale: screen pixels a map pixel.
    QRect area;
    double scale = 1.0;
    // A picture's dots an inch (96: a pixel of the picture a pixel of the screen); SVG and PDF
    // are sized in screen pixels, 96 an inch.
    int dpi = 96;
    // The document's title in SVG and PDF.
    QString title;
};

// The size of the export in screen pixels, and the largest side any export may have.
QSize exportSize(const MapExport& what);
constexpr int kMaxExportSide = 32000;

// The file's bytes; empty with the reason when it cannot be made (too large, a writer failed).
QByteArray exportMapBytes(MapView& view, ExportFormat format, const MapExport& what,
                          QString* error);
// Makes the file and writes it whole (an old file stays when the write fails).
bool exportMap(MapView& view, const QString& path, const MapExport& what, QString* error);

} // namespace lirsk
