// The map window's side of its left panel (src/app/stoppanel.h): what a stop or a route chosen
// there does to the map, and the two panel commands.

#include "app/mainwindow.h"
#include "app/mapwindow.h"
#include "app/stoppanel.h"

#include <QAction>
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
    searchPanelChecked_ = show;
    stopPanel_->showSearchPanel(show);
    ShowPanelChecks();
}

void MapWindow::ShowRoutesPanel(bool show) {
    routesPanelChecked_ = show;
    stopPanel_->showRoutesPanel(show);
    ShowPanelChecks();
}

void MapWindow::ShowPanelChecks() {
    if (!frame_ || frame_->currentMapWindow() != this)
        return;
    frame_->acSearchPanel->setChecked(searchPanelChecked_);
    frame_->acRouteTable->setChecked(routesPanelChecked_);
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
