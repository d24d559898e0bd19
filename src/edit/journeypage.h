#pragma once

// A journey on one page, as a ticket office prints it: where from and to, the fare, length and
// time, each leg (rides with their route numbers in their colours, the stops they pass and
// their times, walks), and a small map of the way. Printed, or written as a PDF file.

#include "route/report.h"

#include <QColor>
#include <QSizeF>
#include <QString>

#include <functional>
#include <optional>

class QPainter;
class QPagedPaintDevice;
class QListWidget;
class QWidget;

namespace lirsk {

class MapDocument;

// A found way of a map's document (its found way is the one drawn) and its report.
struct JourneyToPrint {
    MapDocument* document = nullptr;
    RouteReport report;
    QString title; // the report's caption: «Отчет — кратчайший путь», …
};

// The lines the page lists for the journey's legs, in travel order: a ride's route numbers with
// the colour of its first route, its ends, the stops between them and its time; a walk's ends
// and time. A journey by the timetable lists the lines of its report, which carry the times.
struct JourneyPageLine {
    bool walk = false;
    QStringList numbers;
    QColor colour;
    QString text; // «Александровский сад → Новогиреево, 21 мин.»
    QString stops; // the stops passed between the ends, comma-separated
};
std::vector<JourneyPageLine> journeyPageLines(const JourneyToPrint& journey);

// A leg's whole minutes as the journey's page and panel show them: rounded up, at least one.
qint64 legMinutes(double seconds);

// Paints the page (screen pixels, 96 an inch, from the painter's origin). A long journey leaves
// its map to a second page when newPage is given (which starts one), and out otherwise.
void paintJourneyPage(QPainter& painter, const QSizeF& page, const JourneyToPrint& journey,
                      const std::function<void()>& newPage = {});
// The page on a printer or any paged device.
void printJourneyPage(QPagedPaintDevice& device, const JourneyToPrint& journey);
// The page as a PDF file, written whole; false with the reason.
bool writeJourneyPdf(const JourneyToPrint& journey, const QString& path, QString* error);

// «Печать» and «Экспорт в PDF»: the print dialog, then the page; the file dialog, then the PDF
// (a failure named in a message box).
void printJourney(QWidget* parent, const JourneyToPrint& journey);
void exportJourneyPdf(QWidget* parent, const JourneyToPrint& journey);

// A row of the two buttons for a journey a function gives (none: nothing to print), enabled while
// a list of its legs shows some.
QWidget* journeyOutputButtons(QWidget* parent, QListWidget* legs,
                              std::function<std::optional<JourneyToPrint>()> journey);

} // namespace lirsk
