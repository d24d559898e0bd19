#pragma once

#include "import/gtfsimport.h"

#include <QDialog>
#include <QMap>
#include <QSet>

class QCheckBox;
class QPushButton;

// What «Импорт GTFS…» asks: the route types to take.

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
