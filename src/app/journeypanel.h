#pragma once

// The frame's journey panel «Поездка»: where from, where to, the ways found between them and the
// legs of the one chosen, for the active map window.

#include "app/wayplanner.h"
#include "document/mapdocument.h"
#include "route/criteria.h"

#include <QAbstractListModel>
#include <QHash>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class QAbstractButton;
class QCompleter;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QTimer;
class QToolButton;
class MainWindow;
class MapWindow;

namespace lirsk {

// What a route code of a map reads as: its number and, when the map's description gives one, its
// colour.
struct RouteName {
    QString number;
    std::optional<QColor> colour;
};

// The route names of a map: its description's table, or else the code letter of a built-in map
// followed by the number.
class RouteNames {
public:
    RouteNames() = default;
    explicit RouteNames(const MapDocument& document);
    // The routes a stop's routes text lists, in text order (codes of other maps left out).
    QList<RouteName> of(const QString& routes) const;
    RouteName of(const QString& code, const Stop& stop) const;

private:
    QString m_mapCode;
    QHash<QString, RouteName> m_described;
};

// A strip of route chips: each number on its colour (the stop's own colour where the route has
// none).
QPixmap routeChips(const QList<RouteName>& routes, const QColor& fallback, int height);

// The stops whose names contain what is typed, letter case and ё/е ignored: those whose names
// begin with it first, then those with a word beginning with it, then the rest, each in the map's
// order; at most kMost of them. Each row shows the stop's routes beside its name, so that stops of
// one name can be told apart; its edit text is the name alone.
class StopSuggestions : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int kMost = 40;
    static constexpr int StopRole = Qt::UserRole;

    explicit StopSuggestions(QObject* parent = nullptr);

    // The map to suggest from (null: none); names are read again once it changes.
    void setDocument(const MapDocument* document);
    void setTyped(const QString& text);
    StopIndex stopAt(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    void readNames();

    const MapDocument* m_document = nullptr;
    quint64 m_readRevision = 0;
    bool m_read = false;
    std::vector<QString> m_folded; // by stop
    RouteNames m_routes;
    std::vector<StopIndex> m_shown;
};

} // namespace lirsk

// The dock's widget. It follows the map window the frame gives it; each window keeps its own
// journey (its ends by stop id, and the way chosen).
class JourneyPanel : public QWidget {
    Q_OBJECT
public:
    explicit JourneyPanel(MainWindow* frame, QWidget* parent = nullptr);

    void setMapWindow(MapWindow* window);
    MapWindow* mapWindow() const;

    // An end chosen (NoStop empties its field), as a choice in the map or the lists makes it.
    void setEnd(lirsk::StopIndex stop, bool isStart);
    // The start when none is chosen, else the finish.
    void setNextEnd(lirsk::StopIndex stop);
    // Both ends at once (a drag's).
    void setEnds(lirsk::StopIndex start, lirsk::StopIndex finish);
    void swapEnds();
    lirsk::StopIndex end(bool isStart) const;
    // The frame's criterion changed: its row is chosen.
    void criterionChanged();

    QLineEdit* fromEdit() const { return m_fromEdit; }
    QLineEdit* toEdit() const { return m_toEdit; }
    QToolButton* swapButton() const { return m_swapButton; }
    QLabel* stateLabel() const { return m_stateLabel; }
    QListWidget* waysList() const { return m_waysList; }
    QListWidget* legsList() const { return m_legsList; }
    QCompleter* completer(bool isStart) const;
    // «Когда»: the departure of journeys by the timetable, in the timetable's clock time.
    QDateTimeEdit* departureEdit() const { return m_departureEdit; }
    QAbstractButton* nowButton() const { return m_nowButton; }
    QAbstractButton* earlierButton() const { return m_earlierButton; }
    QAbstractButton* laterButton() const { return m_laterButton; }
    // The rows of the ways list: the journeys by the timetable first, then the ways.
    const std::vector<PlannedJourney>& journeys() const { return m_journeys; }
    const std::vector<PlannedWay>& ways() const { return m_ways; }
    // A row's name: "Кратчайший", "Кратчайший и быстрейший", ...
    static QString wayName(const QList<lirsk::Criterion>& criteria);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // The journey of the window changed (its ends, for the program to remember).
    void endsChanged(MapWindow* window);

private:
    // The row chosen, told apart from the others across a new list: a journey by its times and
    // rides, a way by a criterion that found it.
    struct ChosenRow {
        bool journey = false;
        lirsk::Criterion criterion = lirsk::Criterion::Shortest;
        qint64 departure = 0, arrival = 0;
        int rides = 0;
    };

    void plan();
    void planned(const WayPlan& plan);
    // A page of journeys leaving after the departure (or before it); a page turned from the one
    // shown keeps that one when it holds nothing.
    void requestPage(qint64 departure, bool earlier, bool turning = false);
    void paged(const JourneyPage& page);
    void showWays();
    // Each row as high as its texts need at the list's width.
    void fitRows();
    // The row to choose in a new list: the one chosen before, else the criterion's, once the
    // search of its kind has answered; -1 for none yet.
    int rowToChoose() const;
    int preferredJourneyRow() const;
    bool byTimetable() const;
    void chooseWay(int row);
    void showLegs(const PlannedWay& way);
    void showEnds();
    void showState(const QString& text);
    // The state line from the searches under way and what they said.
    void showSearchState();
    // «Когда» and the paging buttons as the map's timetable has them.
    void showWhen();
    void applyDeparture();
    void endTyped(bool isStart);
    void mapChanged(lirsk::MapChanges what);
    QWidget* wayRow(const PlannedWay& way) const;
    QWidget* journeyRow(const PlannedJourney& journey) const;

    MainWindow* m_frame;
    QPointer<MapWindow> m_window;
    QLineEdit* m_fromEdit;
    QLineEdit* m_toEdit;
    QToolButton* m_swapButton;
    QLabel* m_stateLabel;
    QLabel* m_whenLabel;
    QWidget* m_whenRow;
    QDateTimeEdit* m_departureEdit;
    QAbstractButton* m_nowButton;
    QWidget* m_pagingRow;
    QAbstractButton* m_earlierButton;
    QAbstractButton* m_laterButton;
    QListWidget* m_waysList;
    QListWidget* m_legsList;
    lirsk::StopSuggestions* m_suggestions[2];
    QCompleter* m_completers[2];
    WayPlanner* m_planner;
    // The map changed: the ways are found again once it has stayed so a moment.
    QTimer* m_replan;
    // A departure typed is taken once the typing rests a moment.
    QTimer* m_departureTyped;
    int m_ticket = -1;
    int m_pageTicket = -1;
    std::vector<PlannedWay> m_ways;
    std::vector<PlannedJourney> m_journeys;
    // The copy of the map's timetable the planner searches, and the one the journeys are of.
    std::shared_ptr<const lirsk::Timetable> m_timetable;
    std::shared_ptr<const lirsk::Timetable> m_journeysTimetable;
    QString m_wayFailure, m_pageFailure;
    std::optional<ChosenRow> m_chosen;
    bool m_turningPage = false;
    quint64 m_waysRevision = 0;
    // The copy of the map the planner searches, while the map stays as it was.
    std::shared_ptr<const lirsk::GraphMap> m_snapshot;
    const lirsk::MapDocument* m_snapshotDocument = nullptr;
    quint64 m_snapshotRevision = 0;
    bool m_showingEnds = false;
};
