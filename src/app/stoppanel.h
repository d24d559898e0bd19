#pragma once

// The map window's left panel: the stop search, the stop list and the route table.

#include "document/mapdocument.h"
#include "model/catalogue.h"
#include "model/mapdescription.h"
#include "model/ownnames.h"

#include <QAbstractListModel>
#include <QWidget>

#include <optional>
#include <vector>

class QAction;
class QFrame;
class QGroupBox;
class QLineEdit;
class QListView;
class QMenu;
class QTableWidget;
class QToolButton;

namespace lirsk {

// A name as the stop search compares it: lower case, ё read as е.
QString searchFolded(QStringView text);

// Whether a routes text ("A1 A12 T3") holds a code as one of its space-separated codes.
bool routesHold(QStringView routes, QStringView code);

// The map's stops, in list order, as the stop list shows them: each stop's current name
// (Label.Caption, read when shown), and only the stops whose names contain the filter text
// (letter case ignored, ё read as е), or whose file names do where they show their own names.
// refresh() takes changes of the document in.
class StopListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit StopListModel(const MapDocument* document, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // The stop a row shows, or NoStop.
    StopIndex stopAt(int row) const;
    // The row that shows a stop, or -1.
    int rowOf(StopIndex stop) const;

    QString filter() const { return m_filter; }
    // Shows only the stops whose names contain the text (all of them for an empty text).
    void setFilter(const QString& text);

    // Takes in every stop of the map anew.
    void reload();
    // Names may have changed, or stops come and gone: the list shows them, and the filter is
    // applied to them again.
    void refresh();

private:
    // A stop's name as last folded.
    struct Entry {
        QString caption;
        QString folded;
    };
    bool matches(StopIndex stop);
    std::vector<StopIndex> matching();

    const MapDocument* m_document;
    FileNames m_fileNames;
    std::vector<Entry> m_entries;   // every stop of the map, in list order
    std::vector<StopIndex> m_shown; // the rows
    quint64 m_loadedStops = 0;      // the document's stops revision when last loaded
    QString m_filter;
    QString m_foldedFilter;
};

} // namespace lirsk

// The left panel of a map window. The search box filters the stop list as the user types;
// Enter searches (with a message), F3 goes on to the next match. A stop chosen in the list or by
// the search is announced by stopChosen, a route row by routeStopsChosen.
class StopPanel : public QWidget {
    Q_OBJECT
public:
    // The owner is the widget the panel's messages belong to (and whose title they carry).
    StopPanel(lirsk::MapDocument* document, QWidget* owner, QWidget* parent = nullptr);

    QFrame* searchPanel() const { return m_searchPanel; }
    QLineEdit* searchBox() const { return m_searchBox; }
    QToolButton* searchButton() const { return m_searchButton; }
    QListView* stopList() const { return m_stopList; }
    lirsk::StopListModel* stopModel() const { return m_model; }
    QGroupBox* routesBox() const { return m_routesBox; }
    QTableWidget* routeTable() const { return m_routeTable; }
    // The stop list's pop-up menu and its two items.
    QMenu* stopMenu() const { return m_stopMenu; }
    QAction* startAction() const { return m_startAction; }
    QAction* finishAction() const { return m_finishAction; }

    void showSearchPanel(bool show);
    void showRoutesPanel(bool show);
    bool searchPanelShown() const;

    // The pop-up menu's items choose a way's start and finish (in find-way mode only).
    void setWayChoiceEnabled(bool enabled);
    bool wayChoiceEnabled() const { return m_wayChoiceEnabled; }

    // The map's stops changed all at once (a file was read).
    void buildRouteTable(QWidget* parent);
    void buildStopMenu();
    void reloadStops();

    // The built-in map's route rows (none: an empty row).
    void setRoutes(const std::optional<lirsk::RouteTable>& routes);
    // A map description's route table: each row's number, name and colour, and the code its
    // stops carry.
    void setRoutes(const QList<lirsk::DescribedRoute>& routes);

    // Enter: the first match, with a message; F3: the match after the current one, silently.
    void searchStop();
    void findNext();
    // The stops of a route row: those with the row's code (MapCode + its number in a built-in
    // table) among their codes.
    std::vector<lirsk::StopIndex> routeStops(int row) const;
    // The stop a row of the list shows, or NoStop.
    lirsk::StopIndex stopAt(int row) const;

signals:
    void stopChosen(lirsk::StopIndex stop);
    void routeStopsChosen(const std::vector<lirsk::StopIndex>& stops);
    void stopDoubleClicked(lirsk::StopIndex stop);
    void startChosen(lirsk::StopIndex stop);
    void finishChosen(lirsk::StopIndex stop);
    // A text for the status line (no stop matches what is typed).
    void statusText(const QString& text);

protected:
    void changeEvent(QEvent* event) override;

private:
    // The route table's caption over the route names.
    static QString routeColumnCaption();
    void filterTyped(const QString& text);
    void chooseRow(int row);
    void stopRowChosen(int row);
    void routeRowChosen(int row);
    void showStopMenu(const QPoint& pos);

    lirsk::MapDocument* m_document;
    QWidget* m_owner;
    QFrame* m_searchPanel;
    QLineEdit* m_searchBox;
    QToolButton* m_searchButton;
    QListView* m_stopList;
    lirsk::StopListModel* m_model;
    QGroupBox* m_routesBox;
    QTableWidget* m_routeTable;
    QMenu* m_stopMenu;
    QAction* m_startAction;
    QAction* m_finishAction;
    lirsk::StopIndex m_menuStop = lirsk::NoStop;
    bool m_wayChoiceEnabled = false;
    bool m_noMatch = false;
};
