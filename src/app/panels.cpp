// The map window's side of its left panel (src/app/stoppanel.h): what a stop or a route chosen
// there does to the map, and the two panel commands.

#include "app/mapwindow.h"
#include "app/stoppanel.h"

#include <QFrame>
#include <QGroupBox>

void MapWindow::AttachPanels() {
    // The search panel and the route box are shown inside the left panel, which starts hidden.
    searchPanel->show();
    routesBox->show();
    connect(stopPanel_, &StopPanel::stopChosen, this, &MapWindow::ShowStop);
    connect(stopPanel_, &StopPanel::routeStopsChosen, this, &MapWindow::ShowRouteStops);
    connect(stopPanel_, &StopPanel::statusText, this, &MapWindow::SetStatusText);
}

void MapWindow::ShowSearchPanel(bool show) {
    stopPanel_->showSearchPanel(show);
}

void MapWindow::ShowRoutesPanel(bool show) {
    stopPanel_->showRoutesPanel(show);
}

void MapWindow::ShowStop(lirsk::StopIndex stop) {
    editor_->ClearSelection(-1, true);
    editor_->ToggleSelected(stop);
    const lirsk::Stop& shown = Map().stop(stop);
    view_->centreOn(QPoint(shown.centreX(), shown.centreY()));
}

void MapWindow::ShowRouteStops(const std::vector<lirsk::StopIndex>& stops) {
    editor_->ClearSelection(-1, true);
    for (const lirsk::StopIndex stop : stops)
        editor_->ToggleSelected(stop);
}
