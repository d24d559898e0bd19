#pragma once

#include "import/gtfsimport.h"

#include <QByteArray>
#include <QDialog>
#include <QMap>
#include <QSet>

#include <functional>

class QCheckBox;
class QProgressDialog;
class QPushButton;

// What «Импорт GTFS…» asks and shows: the route types to take, and the import itself run off the
// GUI thread under a progress dialog that can cancel it.

// The Russian name of a basic route type ("Трамвай", "Метро", ...).
QString routeTypeTitle(int basicType);

// The route types of a feed, each with its count of routes, all chosen at first.
class RouteTypeDialog : public QDialog {
    Q_OBJECT
public:
    RouteTypeDialog(const lirsk::GtfsFeedSummary& summary, QWidget* parent = nullptr);

    QSet<int> chosenTypes() const;

private:
    QMap<int, QCheckBox*> boxes_;
    QPushButton* ok_;
};

struct GtfsImportRun {
    bool cancelled = false;
    QString error;       // empty when the map was made
    QByteArray mapBytes; // the map as its file has it
    lirsk::GtfsImportResult result;
};

// Imports the feed on a worker thread; the progress dialog over parent shows the stage and lets
// the user cancel, and the GUI goes on meanwhile. Returns when the worker has ended. started is
// called with the progress dialog before the worker starts.
GtfsImportRun runGtfsImport(QWidget* parent, const QString& feedPath,
                            const lirsk::GtfsImportOptions& options,
                            const std::function<void(QProgressDialog*)>& started);
