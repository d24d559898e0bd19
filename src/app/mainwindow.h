#pragma once

#include "app/desktopdialogs.h"
#include "app/importjob.h"
#include "edit/editdialogs.h"
#include "i18n/language.h"
#include "import/gtfsimport.h"
#include "model/catalogue.h"
#include "route/criteria.h"

#include <QIcon>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QSet>

#include <functional>
#include <optional>

class QActionGroup;
class QDialog;
class QDockWidget;
class QUndoGroup;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QProgressDialog;
class QStatusBar;
class QToolBar;
class AccessDialog;
class AboutDialog;
class CreditsDialog;
class DisplaySettingsDialog;
class JourneyPanel;
class MapWindow;
struct RecoveredMap;

// The program's frame: the menus, the tool bar, the status line and the map windows. It owns
// every command; most of them act on the current map window.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // The commands, in the frame's order.
    QAction* acOpen;
    QAction* acImportGtfs;
    QAction* acSave;
    QAction* acSaveAs;
    QAction* acClose;
    QAction* acExit;
    QAction* acArrange;
    QAction* acCascade;
    QAction* acMinimizeAll;
    QAction* acTileHorizontally;
    QAction* acTileVertically;
    QAction* acAbout;
    QAction* acPointer;
    QAction* acAddStop;
    QAction* acAddRoad;
    QAction* acDeleteRoad;
    QAction* acChangeRoad;
    QAction* acFindWay;
    QAction* acSettings;
    QAction* acSelectAll;
    QAction* acDelete;
    QAction* acSearchPanel;
    QAction* acHelp;
    QAction* acAssistant;
    QAction* acRouteTable;
    QAction* acEditorMode;
    QAction* acNew;
    QAction* acAddArc;
    QAction* acDeleteArc;
    QAction* acInfo;
    QAction* acCredits; // "Соавторы"
    // «Критерий поиска»: the shortest, the fastest way, fewer changes; by the timetable on a map
    // that has one (for that map window alone).
    QAction* acShortest;
    QAction* acFastest;
    QAction* acFewestChanges;
    QAction* acByTimetable;
    QAction* acZoomIn;
    QAction* acZoomOut;
    QAction* acActualSize;
    QAction* acFitToWindow;
    // «Правка»: undo and redo in the current map window, named by what they undo and redo.
    QAction* acUndo;
    QAction* acRedo;
    // The map maker's commands (src/app/editingcommands.h).
    QAction* acCut = nullptr;
    QAction* acCopy = nullptr;
    QAction* acPaste = nullptr;
    QAction* acDuplicate = nullptr;
    QMenu* AlignMenu = nullptr;
    QMenu* SpreadMenu = nullptr;
    QAction* acGrid = nullptr;
    QAction* acMapDescription = nullptr;
    QAction* acHistory = nullptr;
    QDockWidget* HistoryDock = nullptr;
    QUndoGroup* UndoGroup = nullptr;
    // The pointer's place on the map, in the status line.
    QLabel* PointerLabel = nullptr;
    // «Вид» → «Поездка»: shows and hides the journey panel.
    QAction* acJourneyPanel;

    QList<QIcon> menuImages;
    QMdiArea* MdiArea;
    QStatusBar* StatusBar;
    QToolBar* toolBar;
    QActionGroup* ModeGroup;
    QMenu* WindowMenu;
    // The journey panel «Поездка», for the current map window.
    QDockWidget* journeyDock;
    JourneyPanel* journeyPanel;

    // The frame's own windows, made on first use.
    AboutDialog* aboutDialog();
    DisplaySettingsDialog* displaySettingsDialog();
    AccessDialog* accessDialog(); // editor access
    CreditsDialog* creditsDialog();
    // Another editor access dialog in place of the frame's own (one that reads another account).
    void setAccessDialog(AccessDialog* dialog);

    // The dialogs of the map windows: the frame's own, unless it was given others (a test's).
    lirsk::ProgramDialogs& programDialogs() { return programDialogs_; }
    lirsk::EditDialogs& editDialogs() { return editDialogs_ ? *editDialogs_ : programDialogs_; }
    void setEditDialogs(lirsk::EditDialogs* dialogs) { editDialogs_ = dialogs; }
    // The file dialogs and the desktop's viewer: the desktop's own, unless the frame was given
    // others.
    DesktopDialogs& desktop() { return desktop_ ? *desktop_ : systemDesktop_; }
    void setDesktopDialogs(DesktopDialogs* desktop) { desktop_ = desktop; }

    // The map window activated last, or null once it is gone.
    MapWindow* currentMapWindow() const;
    void setCurrentMapWindow(MapWindow* window);

    // What a way is searched for in every map window: «Критерий поиска».
    lirsk::Criterion criterion() const { return criterion_; }
    void setCriterion(lirsk::Criterion criterion);
    // «Критерий поиска» shows the current map window's choice: by the timetable, offered where
    // the map has a timetable that matches it, or the frame's criterion.
    void ShowCriterion();
    // The help's first page, looked for like the built-in maps.
    QString HelpPage = QStringLiteral("toolbox/help/index.html");

    // The entry of a map menu, by menu and caption (null when there is none).
    QAction* MapMenuAction(const QString& menu, const QString& entry) const;
    QMenu* MapMenu(const QString& menu) const;

    MapWindow* CreateMapWindow(const QString& title);
    // Opens a map file in a new window titled so; the window, or null when loading failed.
    MapWindow* OpenMap(const QString& path, const QString& title);
    // Opens a copy of a map left unsaved by a run that stopped.
    MapWindow* OpenRecoveredMap(const RecoveredMap& copy);
    // A new map window filled by load; closed again, and null, when load fails.
    MapWindow* OpenWith(const QString& title, const std::function<bool(MapWindow*)>& load);
    MapWindow* OpenBuiltinMap(const lirsk::MapMenuEntry& entry);
    // A built-in map's window title from the catalogue, in the program's language.
    static QString builtinMapTitle(const QString& title);
    // A map from a file or a feed opens whole in its window, centred.
    void showWhole(MapWindow* window);

    void EnableMapCommands();
    void DisableMapCommands();
    int MapWindowCount() const;
    MapWindow* ActiveMapWindow() const;

    // Names and enables undo and redo after the current map window's undo stack.
    void ShowUndoState();

    // Shows a map window's zoom in the status line.
    void ShowZoom(double zoom);
    QLabel* ZoomLabel = nullptr;

    // Sets a text property of a widget or action to a text of the frame's (its source marked by
    // QT_TRANSLATE_NOOP("MainWindow", …)) that follows the language.
    static void keepText(QObject* object, const char* property, const char* source);
    // A menu of the menu bar or of another menu, its title following the language.
    static QMenu* addFrameMenu(QWidget* parent, const char* title);
    // An entry of a menu, its caption following the language.
    static QAction* addFrameAction(QMenu* menu, const char* caption);

    QString StatusText() const;
    void SetStatusText(const QString& text);

public slots:
    void acOpenExecute();
    // Imports a feed into a new, unsaved map window, in a worker process: returns at once,
    // importFinished() tells how it ended.
    void acImportGtfsExecute();
    void acSaveExecute();
    bool acSaveAsExecute();
    void acCloseExecute();
    void acNewExecute();
    void acAboutExecute();
    void acHelpExecute();
    void RedactorExecute();
    void Cascade();
    void TileHorizontally();
    void TileVertically();
    void MinimizeAll();

signals:
    // An import is about to start on its worker, under this progress dialog.
    void importStarted(QProgressDialog* progress);
    // The import ended: its new map window, or null when it was cancelled or failed.
    void importFinished(MapWindow* window);
    // The frame is asked to close, and its map windows are still there (the program remembers
    // its session then).
    void closing();
    // «Язык»: the user chose another language, and the program shows it.
    void languageChosen(lirsk::Language language);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // An action whose caption and hint (sources marked by QT_TR_NOOP, or none) follow the
    // language.
    QAction* makeAction(const char* name, const char* caption, const char* hint, int image);
    // A menu of the menu bar or of another menu, its title following the language.

    void createActions();
    void createMapActions();
    void setInitialActionStates();
    void connectActions();
    void buildMenus();
    void buildToolBar();
    void buildWindowList();
    void subWindowActivated(QMdiSubWindow* window);

    QList<std::pair<QString, QMenu*>> mapMenus_;
    QList<std::pair<QString, QAction*>> mapEntries_; // "menu|entry" -> action
    void importSummarized(const lirsk::GtfsFeedSummary& summary);
    void importDone(const GtfsImportJob::Imported& result);
    void importFailed(const QString& error);
    void endImport(MapWindow* window);

    GtfsImportJob* importJob_ = nullptr;
    QProgressDialog* importProgress_ = nullptr;
    QString importFeed_;
    QString importAgency_;

    QPointer<MapWindow> current_;
    lirsk::Criterion criterion_ = lirsk::Criterion::Shortest;
    lirsk::ProgramDialogs programDialogs_;
    lirsk::EditDialogs* editDialogs_ = nullptr;
    SystemDesktopDialogs systemDesktop_;
    DesktopDialogs* desktop_ = nullptr;
    QPointer<AboutDialog> aboutDialog_;
    QPointer<DisplaySettingsDialog> displaySettingsDialog_;
    QPointer<AccessDialog> accessDialog_;
    QPointer<CreditsDialog> creditsDialog_;
};
