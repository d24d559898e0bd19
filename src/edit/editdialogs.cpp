#include "edit/editdialogs.h"

#include "edit/roadparametersdialog.h"
#include "edit/routereportdialog.h"
#include "edit/stoproutespopup.h"

#include <QGuiApplication>
#include <QScreen>

namespace lirsk {

RoadParametersDialog* ProgramDialogs::roadParameters() {
    if (!m_roadParameters) {
        m_roadParameters = new RoadParametersDialog(m_owner);
        m_roadParameters->setRunner(m_runner);
    }
    return m_roadParameters;
}

StopPropertiesDialog* ProgramDialogs::stopProperties() {
    if (!m_stopProperties) {
        m_stopProperties = new StopPropertiesDialog(m_owner);
        m_stopProperties->setRunner(m_runner);
    }
    return m_stopProperties;
}

RouteReportDialog* ProgramDialogs::routeReport() {
    if (!m_routeReport) {
        m_routeReport = new RouteReportDialog(m_owner);
        m_routeReport->setRunner(m_runner);
    }
    return m_routeReport;
}

StopRoutesPopup* ProgramDialogs::stopRoutes() {
    if (!m_stopRoutes)
        m_stopRoutes = new StopRoutesPopup(m_owner);
    return m_stopRoutes;
}

void ProgramDialogs::setRunner(DialogRunner runner) {
    m_runner = std::move(runner);
    for (ModalDialog* dialog : {static_cast<ModalDialog*>(m_roadParameters.data()),
                                static_cast<ModalDialog*>(m_stopProperties.data()),
                                static_cast<ModalDialog*>(m_routeReport.data())})
        if (dialog)
            dialog->setRunner(m_runner);
}

std::optional<RoadWeight> ProgramDialogs::askRoadWeight(const RoadWeight& current) {
    return roadParameters()->Ask(current);
}

std::optional<StopProperties> ProgramDialogs::askStopProperties(const StopProperties& current) {
    return stopProperties()->SetProperties(current);
}

void ProgramDialogs::showReport(const RouteReport& report, const QString& caption,
                                const QRect& wayOnScreen, MapDocument* document) {
    RouteReportDialog* dialog = routeReport();
    dialog->setJourneyMap(document);
    dialog->setWindowTitle(caption);
    dialog->keepOff(wayOnScreen);
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
    if (m_stopRoutes)
        m_stopRoutes->close();
}

bool ProgramDialogs::stopRoutesShown() const {
    return m_stopRoutes && m_stopRoutes->isVisible();
}

} // namespace lirsk
