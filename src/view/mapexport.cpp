#include "view/mapexport.h"

#include "model/safefile.h"
#include "view/mapview.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <climits>
#include <cmath>

namespace lirsk {

namespace {

constexpr double kScreenDpi = 96;

} // namespace

std::optional<ExportFormat> exportFormatFor(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("svg"))
        return ExportFormat::Svg;
    if (suffix == QLatin1String("pdf"))
        return ExportFormat::Pdf;
    if (suffix == QLatin1String("png"))
        return ExportFormat::Png;
    return std::nullopt;
}

QSize exportSize(const MapExport& what) {
    return QSize(int(std::ceil(std::min<double>(what.area.width() * what.scale, INT_MAX / 2))),
                 int(std::ceil(std::min<double>(what.area.height() * what.scale, INT_MAX / 2))));
}

QByteArray exportMapBytes(MapView& view, ExportFormat format, const MapExport& what,
                          QString* error) {
    const QSize size = exportSize(what);
    const double dots = format == ExportFormat::Png ? what.dpi / kScreenDpi : 1.0;
    if (size.isEmpty() || what.scale <= 0 || size.width() * dots > kMaxExportSide ||
        size.height() * dots > kMaxExportSide) {
        *error = QCoreApplication::translate("MapExport",
                                             "рисунок размером %1 × %2 точек больше, чем %3 × %3")
                     .arg(std::lround(size.width() * dots))
                     .arg(std::lround(size.height() * dots))
                     .arg(kMaxExportSide);
        return {};
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    switch (format) {
    case ExportFormat::Svg: {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setResolution(int(kScreenDpi));
        svg.setTitle(what.title);
        QPainter painter(&svg);
        view.paintMapAt(painter, what.area, what.scale);
        break;
    }
    case ExportFormat::Pdf: {
        QPdfWriter pdf(&buffer);
        pdf.setTitle(what.title);
        pdf.setCreator(QStringLiteral("lirskmap"));
        pdf.setResolution(int(kScreenDpi));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setPageSize(QPageSize(QSizeF(size) * 72 / kScreenDpi, QPageSize::Point, QString(),
                                  QPageSize::ExactMatch));
        QPainter painter(&pdf);
        view.paintMapAt(painter, what.area, what.scale);
        break;
    }
    case ExportFormat::Png: {
        QImage image((QSizeF(size) * dots).toSize(), QImage::Format_RGB32);
        image.setDotsPerMeterX(qRound(what.dpi / 0.0254));
        image.setDotsPerMeterY(qRound(what.dpi / 0.0254));
        {
            QPainter painter(&image);
            painter.scale(dots, dots);
            view.paintMapAt(painter, what.area, what.scale);
        }
        QImageWriter writer(&buffer, "png");
        if (!writer.write(image)) {
            *error = writer.errorString();
            return {};
        }
        break;
    }
    }
    return bytes;
}

bool exportMap(MapView& view, const QString& path, const MapExport& what, QString* error) {
    const std::optional<ExportFormat> format = exportFormatFor(path);
    if (!format) {
        *error = QCoreApplication::translate("MapExport", "файл должен оканчиваться на .svg, "
                                                          ".pdf или .png");
        return false;
    }
    const QByteArray bytes = exportMapBytes(view, *format, what, error);
    return !bytes.isEmpty() && saveWholeFile(path, bytes, error);
}

} // namespace lirsk
