#pragma once

#include "edit/modal.h"
#include "edit/stoppropertiesdialog.h"
#include "route/report.h"

#include <QPointer>

#include <optional>

class QWidget;
class RoadParametersDialog;
class RouteReportDialog;
class StopRoutesPopup;

namespace lirsk {

class MapDocument;

// What the map editor asks of the user and shows: a map window is given one set of these. The
// program's frame gives its own (ProgramDialogs); a test may give another.
class EditDialogs {
public:
    virtual ~EditDialogs() = default;
    // The road parameters dialog on a link's weights: the confirmed weights, or nothing.
    virtual std::optional<RoadWeight> askRoadWeight(const RoadWeight& current) = 0;
    // The stop properties dialog: what was confirmed, or nothing.
    virtual std::optional<StopProperties> askStopProperties(const StopProperties& current) = 0;
    // The report window of the way found on a map, modal, under a caption, placed off the screen
    // rectangle where the way is drawn.
    virtual void showReport(const RouteReport& report, const QString& caption,
                            const QRect& wayOnScreen, MapDocument* document) = 0;
    // The information mode's window of a stop's routes, shown by a screen point.
    virtual void showStopRoutes(const QString& name, const QString& routes,
                                const QPoint& cursor) = 0;
    virtual void hideStopRoutes() = 0;
    virtual bool stopRoutesShown() const = 0;
};

// The program's dialogs for the map windows of one frame: made on first use with the frame as
// their parent, so they go with it.
class ProgramDialogs : public EditDialogs {
public:
    explicit ProgramDialogs(QWidget* owner) : m_owner(owner) {}

    RoadParametersDialog* roadParameters();
    StopPropertiesDialog* stopProperties();
    RouteReportDialog* routeReport();
    StopRoutesPopup* stopRoutes();
    // Runs every modal showing of these dialogs, and of the frame's own (a test answers them
    // so); empty: their own loop.
    void setRunner(DialogRunner runner);
    // Shows one of the frame's dialogs modally through the runner.
    int run(QDialog& dialog) { return m_runner ? m_runner(dialog) : dialog.exec(); }

    std::optional<RoadWeight> askRoadWeight(const RoadWeight& current) override;
    std::optional<StopProperties> askStopProperties(const StopProperties& current) override;
    void showReport(const RouteReport& report, const QString& caption, const QRect& wayOnScreen,
                    MapDocument* document) override;
    void showStopRoutes(const QString& name, const QString& routes, const QPoint& cursor) override;
    void hideStopRoutes() override;
    bool stopRoutesShown() const override;

private:
    QWidget* m_owner;
    DialogRunner m_runner;
    QPointer<RoadParametersDialog> m_roadParameters;
    QPointer<StopPropertiesDialog> m_stopProperties;
    QPointer<RouteReportDialog> m_routeReport;
    QPointer<StopRoutesPopup> m_stopRoutes;
};

} // namespace lirsk
