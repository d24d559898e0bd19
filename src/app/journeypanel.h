#pragma once

// The frame's journey panel «Поездка»: where from, where to, the ways found between them and the
// legs of the one chosen, for the active map window.

#include "app/stopsuggestions.h"
#include "app/wayplanner.h"
#include "document/mapdocument.h"
#include "route/criteria.h"

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
class QVBoxLayout;
class MainWindow;
class MapWindow;

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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // In another language the state and the ways are written anew.
    void changeEvent(QEvent* event) override;

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

    void buildEndFields(QVBoxLayout* layout);
    void buildSuggestions();
    void buildLists(QVBoxLayout* layout);
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
    void showEnds();
    void showState(const QString& text);
    // The state line from the searches under way and what they said.
    void showSearchState();
    // «Когда» and the paging buttons as the map's timetable has them.
    void showWhen();
    void applyDeparture();
    void endTyped(bool isStart);
    void mapChanged(lirsk::MapChanges what);

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
