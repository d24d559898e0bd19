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

class QCompleter;
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
    const std::vector<PlannedWay>& ways() const { return m_ways; }
    // A row's name: "Кратчайший", "Кратчайший и быстрейший", ...
    static QString wayName(const QList<lirsk::Criterion>& criteria);

signals:
    // The journey of the window changed (its ends, for the program to remember).
    void endsChanged(MapWindow* window);

private:
    void plan();
    void planned(const WayPlan& plan);
    void showWays();
    void chooseWay(int row);
    void showLegs(const PlannedWay& way);
    void showEnds();
    void showState(const QString& text);
    void endTyped(bool isStart);
    void mapChanged(lirsk::MapChanges what);
    QWidget* wayRow(const PlannedWay& way) const;

    MainWindow* m_frame;
    QPointer<MapWindow> m_window;
    QLineEdit* m_fromEdit;
    QLineEdit* m_toEdit;
    QToolButton* m_swapButton;
    QLabel* m_stateLabel;
    QListWidget* m_waysList;
    QListWidget* m_legsList;
    lirsk::StopSuggestions* m_suggestions[2];
    QCompleter* m_completers[2];
    WayPlanner* m_planner;
    // The map changed: the ways are found again once it has stayed so a moment.
    QTimer* m_replan;
    int m_ticket = -1;
    std::vector<PlannedWay> m_ways;
    quint64 m_waysRevision = 0;
    // The copy of the map the planner searches, while the map stays as it was.
    std::shared_ptr<const lirsk::GraphMap> m_snapshot;
    const lirsk::MapDocument* m_snapshotDocument = nullptr;
    quint64 m_snapshotRevision = 0;
    bool m_showingEnds = false;
};
