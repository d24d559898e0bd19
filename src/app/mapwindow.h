#pragma once

#include "document/mapdocument.h"
#include "edit/mapeditor.h"
#include "view/mapview.h"

#include <QColor>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QFrame;
class QMenu;
class QGroupBox;
class QLineEdit;
class QListView;
class QScrollArea;
class QSplitter;
class QTableWidget;
class QTimer;
class QToolButton;
class MainWindow;
class RecoveryKeeper;
struct RecoveredMap;
class StopPanel;

// One open map: its document, the view that shows it, the editor that takes the mouse, and the
// left panel with the stop search, the stop list and the route table.
class MapWindow : public QWidget {
    Q_OBJECT
public:
    explicit MapWindow(MainWindow* frame, QWidget* parent = nullptr);
    ~MapWindow() override;

    MainWindow* Frame() const { return frame_; }
    lirsk::MapDocument& document() { return *document_; }
    lirsk::GraphMap& Map() { return document_->map(); }
    const lirsk::GraphMap& Map() const { return document_->map(); }
    lirsk::MapView* view() const { return view_; }
    lirsk::MapEditor& editor() { return *editor_; }

    // Reads a map file into this (new, empty) window; false when nothing could be read, in which
    // case the window has told the user and closes itself.
    bool Load(const QString& path);
    // Opens a copy left by a run that stopped with unsaved changes: under the map's own name and
    // file, marked changed, its copy kept on.
    bool LoadRecovered(const RecoveredMap& copy);
    // Reads an imported map (the bytes of a map file) with its description into this window; the
    // map stays unsaved and without a file.
    bool LoadImported(const QByteArray& mapBytes, const lirsk::MapDescription& description,
                      const lirsk::Timetable& timetable);
    // Writes the map to its own file, or to newPath when one is given; a map without a file asks
    // for a name. False when nothing was written (the user has been told why, or cancelled).
    bool Save(const QString& newPath);
    // The map's own description, or what a copy of a built-in map keeps of it in one: the code
    // letter, the route table, the fares and the picture.
    lirsk::MapDescription CurrentDescription() const;

    void RedrawMap(bool withStatus);
    void SetEditorMode(bool on);
    void ShowSearchPanel(bool show);
    void ShowRoutesPanel(bool show);
    // The frame's panel checks show this window's own (when it is the current one).
    void ShowPanelChecks();
    // The window became the active one.
    void Activate();
    // The display settings dialog on this map.
    void ChangeSettings();

    QString StatusText() const;
    void SetStatusText(const QString& text);

    // The left panel: its widgets, as the panel commands and the tests reach them.
    StopPanel* stopPanel() const { return stopPanel_; }
    // A stop chosen in the stop list or found by the search: marked alone and centred.
    void ShowStop(lirsk::StopIndex stop);
    // The stops of a route row, marked.
    void ShowRouteStops(const std::vector<lirsk::StopIndex>& stops);

    // The journey planned on this map: its ends by stop id (-1: none).
    struct Journey {
        int startId = -1;
        int finishId = -1;
    };
    Journey journey;

    StopPanel* sidePanel = nullptr;
    QSplitter* splitter = nullptr;
    QFrame* searchPanel = nullptr;
    QLineEdit* searchBox = nullptr;
    QToolButton* searchButton = nullptr;
    QListView* stopList = nullptr;
    QGroupBox* routesBox = nullptr;
    QTableWidget* routeTable = nullptr;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The title of the window's frame: its own, with "*" while the map is not saved.
    void ShowModifiedMark();
    bool LoadFailed(const QString& error);
    // The description beside a map file, its picture made absolute; nothing when there is none
    // or it cannot be read (the user is told).
    std::optional<lirsk::MapDescription> ReadDescription(const QString& mapPath);
    // The timetable in a file, when there is one; one that cannot be read is told and left out.
    void ReadTimetable(const QString& timetableFile);
    // Says in the status line, once, that the map no longer matches its timetable.
    void TellTimetableState();
    // What follows a successful read: the panels, the set-up and the find-way mode.
    void Loaded();
    // The picture, routes and title of the map's description, or else of the built-in table.
    void BuiltinSetup();
    void ShowPicture(const QString& file);
    void FillStopList();
    void AttachPanels();

    MainWindow* frame_;
    lirsk::MapDocument* document_;
    lirsk::MapView* view_;
    lirsk::MapEditor* editor_;
    RecoveryKeeper* recovery_;
    StopPanel* stopPanel_ = nullptr;
    bool mismatchTold_ = false;
    // The panel commands' checks as this window's user left them.
    bool searchPanelChecked_ = true;
    bool routesPanelChecked_ = false;
};

// Why a map cannot be saved under a name (it is one of the program's own maps), or empty.
QString ShippedMapRefusal(const QString& path);

// Where the program's own data (toolbox/...) is looked for when it is not found relative to the
// current directory: beside the executable, then in the installed data folder.
QStringList DataRoots();
