#include "edit/editdialogs.h"

#include "edit/roadparametersdialog.h"
#include "edit/routereportdialog.h"
#include "edit/stoproutespopup.h"

#include <QGuiApplication>
#include <QScreen>

namespace lirsk {

RoadParametersDialog* ProgramDialogs::roadParameters() {
    if (!roadParameters_) {
        roadParameters_ = new RoadParametersDialog(owner_);
        roadParameters_->setRunner(runner_);
    }
    return roadParameters_;
}

StopPropertiesDialog* ProgramDialogs::stopProperties() {
    if (!stopProperties_) {
        stopProperties_ = new StopPropertiesDialog(owner_);
        stopProperties_->setRunner(runner_);
    }
    return stopProperties_;
}

RouteReportDialog* ProgramDialogs::routeReport() {
    if (!routeReport_) {
        routeReport_ = new RouteReportDialog(owner_);
        routeReport_->setRunner(runner_);
    }
    return routeReport_;
}

StopRoutesPopup* ProgramDialogs::stopRoutes() {
    if (!stopRoutes_)
        stopRoutes_ = new StopRoutesPopup(owner_);
    return stopRoutes_;
}

void ProgramDialogs::setRunner(DialogRunner runner) {
    runner_ = std::move(runner);
    for (ModalDialog* dialog : {static_cast<ModalDialog*>(roadParameters_.data()),
                                static_cast<ModalDialog*>(stopProperties_.data()),
                                static_cast<ModalDialog*>(routeReport_.data())})
        if (dialog)
            dialog->setRunner(runner_);
}

std::optional<RoadWeight> ProgramDialogs::askRoadWeight(const RoadWeight& current) {
    return roadParameters()->Ask(current);
}

std::optional<StopProperties> ProgramDialogs::askStopProperties(const StopProperties& current) {
    return stopProperties()->SetProperties(current);
}

void ProgramDialogs::showReport(const RouteReport& report, const QString& caption) {
    RouteReportDialog* dialog = routeReport();
    dialog->setWindowTitle(caption);
    dialog->ShowReport(report);
}

void ProgramDialogs::showStopRoutes(const QString& name, const QString& routes,
                                    const QPoint& cursor) {
    StopRoutesPopup* popup = stopRoutes();
    const QScreen* screen = QGuiApplication::screenAt(cursor);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    popup->PlaceBy(cursor, screen ? screen->size() : QSize(cursor.x() + 1000, 10000));
    popup->ShowStop(name, routes);
    popup->show();
    popup->raise();
    popup->activateWindow();
}

void ProgramDialogs::hideStopRoutes() {
    if (stopRoutes_)
        stopRoutes_->close();
}

bool ProgramDialogs::stopRoutesShown() const {
    return stopRoutes_ && stopRoutes_->isVisible();
}

} // namespace lirsk
