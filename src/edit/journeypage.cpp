#include "edit/journeypage.h"

#include "document/mapdocument.h"
#include "model/catalogue.h"
#include "model/safefile.h"
#include "platform/colours.h"
#include "platform/messages.h"
#include "platform/translatedtext.h"
#include "view/mapview.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QListWidget>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace lirsk {

namespace {

constexpr double kScreenDpi = 96;

QString minutes(double seconds) {
    return QCoreApplication::translate("JourneyPage", "%1 мин.").arg(legMinutes(seconds));
}

// The colour of a route: its description's, else the colour of the stop it is boarded at.
QColor routeColour(const MapDocument& document, const QString& code, const Stop& boarded) {
    if (const std::optional<MapDescription>& description = document.description())
        for (const DescribedRoute& route : description->routes)
            if (route.code == code && route.color)
                return toQColor(*route.color);
    return toQColor(boarded.FillColor);
}

// The ends of the journey: the found way's start and finish.
QString endsText(const JourneyToPrint& journey) {
    const GraphMap& map = journey.document->map();
    const std::vector<StopIndex>& way = journey.document->foundWay().stops;
    if (way.size() < 2)
        return QString();
    return map.stop(way.back()).Label.Caption + QStringLiteral(" → ") +
           map.stop(way.front()).Label.Caption;
}

QString mapTitle(const MapDocument& document) {
    if (document.description() && !document.description()->title.isEmpty())
        return document.description()->title;
    // A built-in map, opened by its path in the menus' table (as the built-in table knows it),
    // goes by its menu entry's title; its own city field says "none".
    for (const MapMenuEntry& entry : mapMenuCatalogue())
        if (!entry.path.isEmpty() && document.map().FileName == entry.path)
            return entry.title;
    if (!document.map().MapCity.isEmpty() && document.map().MapCity != QLatin1String("none"))
        return document.map().MapCity;
    return QFileInfo(document.filePath()).completeBaseName();
}

} // namespace

qint64 legMinutes(double seconds) {
    return std::max<qint64>(1, std::llround(std::ceil(seconds / 60)));
}

std::vector<JourneyPageLine> journeyPageLines(const JourneyToPrint& journey) {
    std::vector<JourneyPageLine> lines;
    const RouteReport& report = journey.report;
    if (report.legs.empty()) {
        // A journey by the timetable: its report's lines, a stop line and then a route line.
        const QStringList text = report.ridesText.split(QChar(13), Qt::SkipEmptyParts);
        for (int i = 0; i < text.size(); ++i) {
            JourneyPageLine line;
            const QString walkWord = QCoreApplication::translate("JourneyPage", "пешком",
                                                                 "a walk's line in the report") +
                                     QLatin1Char(' ');
            line.walk = text[i].startsWith(walkWord);
            line.text = line.walk ? text[i].mid(walkWord.size()) : text[i];
            if (!line.walk && i + 1 < text.size()) {
                line.stops = text[++i];
                // A number may be a route's long name, spaces and all («Oyster Bay Branch»).
                static const QRegularExpression number(QStringLiteral("^№ (.+?)(?: «| №|\\s*$)"));
                if (const QRegularExpressionMatch m = number.match(line.stops); m.hasMatch())
                    line.numbers = QStringList{m.captured(1).remove(QLatin1Char(','))};
            } else if (line.walk && i + 1 < text.size()) {
                line.text += QStringLiteral(", ") + text[++i];
            }
            // The route's colour, by its number in the map's route table.
            if (const std::optional<MapDescription>& d = journey.document->description();
                d && !line.numbers.isEmpty())
                for (const DescribedRoute& route : d->routes)
                    if (route.number == line.numbers.front() && route.color) {
                        line.colour = toQColor(*route.color);
                        break;
                    }
            lines.push_back(line);
        }
        return lines;
    }
    const GraphMap& map = journey.document->map();
    std::vector<StopIndex> way = journey.document->foundWay().stops;
    std::reverse(way.begin(), way.end());
    std::size_t at = 0;
    for (const WayLeg& leg : report.legs) {
        JourneyPageLine line;
        line.walk = leg.walk;
        line.numbers = leg.numbers;
        const Stop& from = map.stop(leg.from);
        line.colour = leg.codes.isEmpty() ? toQColor(from.FillColor)
                                          : routeColour(*journey.document, leg.codes.front(), from);
        const QString to = map.stop(leg.to).Label.Caption;
        line.text = from.Label.Caption == to
                        ? QCoreApplication::translate("JourneyPage", "пересадка на ост. %1, %2")
                              .arg(to, minutes(leg.time))
                        : QCoreApplication::translate("JourneyPage", "%1 → %2, %3")
                              .arg(from.Label.Caption, to, minutes(leg.time));
        // The stops between the ends, as the way passes them.
        const auto start =
            std::find(way.begin() + std::ptrdiff_t(std::min(at, way.size())), way.end(), leg.from);
        const auto end = start == way.end() ? way.end() : std::find(start, way.end(), leg.to);
        if (end != way.end()) {
            QStringList passed;
            for (auto it = start + 1; it < end; ++it)
                passed.append(map.stop(*it).Label.Caption);
            line.stops = passed.join(QStringLiteral(", "));
            at = std::size_t(end - way.begin());
        }
        lines.push_back(line);
    }
    return lines;
}

namespace {

// A leg's chip: its route numbers on their colour, or «пешком» in a dashed frame.
void paintChip(QPainter& painter, const JourneyPageLine& line, const QRectF& chipBox) {
    const QString chip = line.walk ? QCoreApplication::translate("JourneyPage", "пешком")
                         : line.numbers.isEmpty()
                             ? QCoreApplication::translate("JourneyPage", "проезд")
                             : QCoreApplication::translate("JourneyPage", "№ %1")
                                   .arg(line.numbers.join(QStringLiteral(", ")));
    if (line.walk || !line.colour.isValid()) {
        painter.setPen(QPen(Qt::gray, 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
    } else {
        painter.setPen(Qt::NoPen);
        painter.setBrush(line.colour);
    }
    painter.drawRoundedRect(chipBox, 4, 4);
    painter.setPen(line.walk || !line.colour.isValid() || line.colour.lightnessF() > 0.6
                       ? Qt::black
                       : Qt::white);
    painter.drawText(
        chipBox, Qt::AlignCenter,
        painter.fontMetrics().elidedText(chip, Qt::ElideRight, int(chipBox.width() - 4)));
}

// The way's part of the map, as large as fits the width and the room from the top down.
void paintWayMap(QPainter& painter, MapDocument& document, const std::vector<StopIndex>& way,
                 double width, double room, double top) {
    QRect area;
    for (const StopIndex stop : way)
        area = area.united(stopBox(document.map().stop(stop)));
    area.adjust(-40, -40, 40, 40);
    const double zoom = std::min({width / area.width(), room / area.height(), 1.5});
    const QSizeF shown = QSizeF(area.size()) * zoom;
    painter.save();
    painter.translate((width - shown.width()) / 2, top);
    MapView view(&document);
    view.paintMapAt(painter, area, zoom);
    painter.setPen(QPen(Qt::gray, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(QPointF(0, 0), shown));
    painter.restore();
}

} // namespace

void paintJourneyPage(QPainter& painter, const QSizeF& page, const JourneyToPrint& journey,
                      const std::function<void()>& newPage) {
    painter.save();
    QFont font = painter.font();
    const auto setFont = [&](double pixels, bool bold) {
        font.setPixelSize(int(pixels));
        font.setBold(bold);
        painter.setFont(font);
    };
    painter.setPen(Qt::black);
    double y = 0;
    const auto write = [&](const QString& text, double pixels, bool bold, double left = 0,
                           const QColor& colour = Qt::black) {
        setFont(pixels, bold);
        painter.setPen(colour);
        const QRectF box(left, y, page.width() - left, page.height() - y);
        const QRectF used = painter.boundingRect(box, Qt::TextWordWrap, text);
        painter.drawText(box, Qt::TextWordWrap, text);
        y += used.height();
    };
    write(QCoreApplication::translate("JourneyPage", "Поездка: %1").arg(endsText(journey)), 22,
          true);
    QStringList about{mapTitle(*journey.document), journey.title,
                      QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat)};
    about.removeAll(QString());
    write(about.join(QStringLiteral(" · ")), 12, false, 0, Qt::darkGray);
    y += 12;
    const RouteReport& report = journey.report;
    write(QCoreApplication::translate("JourneyPage", "Стоимость пути: %1").arg(report.fareText), 15,
          false);
    write(QCoreApplication::translate("JourneyPage", "Длина пути: %1").arg(report.lengthText), 15,
          false);
    write(QCoreApplication::translate("JourneyPage", "Время в пути: %1").arg(report.timeText), 15,
          false);
    write(QCoreApplication::translate("JourneyPage", "Пересадок: %1").arg(report.transfers), 15,
          false);
    y += 12;

    // Each leg: a chip with its route numbers on their colour, or «пешком», then its text.
    constexpr double kChip = 86;
    for (const JourneyPageLine& line : journeyPageLines(journey)) {
        // Legs past the page's end go on to the next one.
        if (y + 40 > page.height() && newPage) {
            newPage();
            y = 0;
        }
        const double top = y;
        setFont(13, true);
        paintChip(painter, line, QRectF(0, top + 1, kChip - 8, 20));
        write(line.text, 14, !line.walk, kChip);
        if (!line.stops.isEmpty())
            write(line.stops, 11, false, kChip, Qt::darkGray);
        y = std::max(y, top + 24) + 6;
    }

    // The small map of the way, in what is left of the page; on a page of its own when less
    // than a quarter is left.
    MapDocument& document = *journey.document;
    const std::vector<StopIndex>& way = document.foundWay().stops;
    if (page.height() - y - 12 < page.height() / 4 && newPage) {
        newPage();
        y = 0;
    }
    const double room = page.height() - y - 12;
    if (way.size() >= 2 && room >= page.height() / 4) {
        paintWayMap(painter, document, way, page.width(), room, page.height() - room);
    }
    painter.restore();
}

void printJourneyPage(QPagedPaintDevice& device, const JourneyToPrint& journey) {
    QPainter painter(&device);
    if (!painter.isActive())
        return;
    const double dots = device.logicalDpiX() / kScreenDpi;
    painter.scale(dots, dots);
    paintJourneyPage(painter, QSizeF(device.width(), device.height()) / dots, journey,
                     [&device] { device.newPage(); });
}

bool writeJourneyPdf(const JourneyToPrint& journey, const QString& path, QString* error) {
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setTitle(
            QCoreApplication::translate("JourneyPage", "Поездка: %1").arg(endsText(journey)));
        pdf.setCreator(QStringLiteral("lirskmap"));
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
        printJourneyPage(pdf, journey);
    }
    return saveWholeFile(path, bytes, error);
}

void printJourney(QWidget* parent, const JourneyToPrint& journey) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QCoreApplication::translate("JourneyPage", "Печать поездки"));
    if (dialog.exec() == QDialog::Accepted)
        printJourneyPage(printer, journey);
}

void exportJourneyPdf(QWidget* parent, const JourneyToPrint& journey) {
    QString name = endsText(journey);
    name.replace(QStringLiteral(" → "), QStringLiteral(" - "));
    name.replace(QRegularExpression(QStringLiteral(R"([\\/:*?"<>|])")), QStringLiteral("_"));
    const QString path = QFileDialog::getSaveFileName(
        parent, QCoreApplication::translate("JourneyPage", "Экспорт в PDF"),
        QDir::home().filePath(name + QStringLiteral(".pdf")),
        QCoreApplication::translate("JourneyPage", "Документы PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!writeJourneyPdf(journey, path, &error))
        showMessage(parent,
                    {QMessageBox::Warning,
                     QCoreApplication::translate("JourneyPage", "Экспорт в PDF"),
                     QCoreApplication::translate("JourneyPage", "Не удалось записать %1:\n%2")
                         .arg(QDir::toNativeSeparators(path), error),
                     QMessageBox::Ok});
}

QWidget* journeyOutputButtons(QWidget* parent, QListWidget* legs,
                              std::function<std::optional<JourneyToPrint>()> journey) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* print = new QPushButton(row);
    setTranslatedText(print, "text", "JourneyPage", QT_TRANSLATE_NOOP("JourneyPage", "Печать"));
    print->setObjectName(QStringLiteral("printJourneyButton"));
    auto* pdf = new QPushButton(row);
    setTranslatedText(pdf, "text", "JourneyPage",
                      QT_TRANSLATE_NOOP("JourneyPage", "Экспорт в PDF"));
    pdf->setObjectName(QStringLiteral("pdfJourneyButton"));
    layout->addWidget(print);
    layout->addWidget(pdf);
    // The list's model, not the list: the model still answers when it empties itself while the
    // list is being destroyed.
    QAbstractItemModel* model = legs->model();
    const auto follow = [row, model] { row->setEnabled(model->rowCount() > 0); };
    QObject::connect(model, &QAbstractItemModel::rowsInserted, row, follow);
    QObject::connect(model, &QAbstractItemModel::rowsRemoved, row, follow);
    QObject::connect(model, &QAbstractItemModel::modelReset, row, follow);
    follow();
    QObject::connect(print, &QPushButton::clicked, row, [row, journey] {
        if (const std::optional<JourneyToPrint> shown = journey())
            printJourney(row->window(), *shown);
    });
    QObject::connect(pdf, &QPushButton::clicked, row, [row, journey] {
        if (const std::optional<JourneyToPrint> shown = journey())
            exportJourneyPdf(row->window(), *shown);
    });
    return row;
}

} // namespace lirsk
