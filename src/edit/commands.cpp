#include "edit/commands.h"

#include "app/mainwindow.h"
#include "app/mapwindow.h"

#include <QAction>

namespace {

using Setter = void (MapWindow::*)();

void connectMode(MainWindow* frame, QAction* action, Setter setter) {
    QObject::connect(action, &QAction::triggered, frame, [frame, setter] {
        MapWindow* current = CurrentMapWindow();
        if (!current)
            return;
        (current->*setter)();
        // A setter that refused leaves the window in its old mode: so does the tool bar.
        if (QAction* shown = ModeAction(frame, current->Mode))
            shown->setChecked(true);
    });
}

} // namespace

QAction* ModeAction(MainWindow* frame, int mode) {
    switch (mode) {
    case PointerMode:
        return frame->acPointer;
    case AddStopMode:
        return frame->acAddStop;
    case AddArcMode:
        return frame->acAddArc;
    case DeleteArcMode:
        return frame->acDeleteArc;
    case AddRoadMode:
        return frame->acAddRoad;
    case DeleteRoadMode:
        return frame->acDeleteRoad;
    case ChangeRoadMode:
        return frame->acChangeRoad;
    case FindWayMode:
        return frame->acFindWay;
    case InfoMode:
        return frame->acInfo;
    default:
        return nullptr;
    }
}

void WireEditCommands(MainWindow* frame) {
    connectMode(frame, frame->acPointer, &MapWindow::SetPointerMode);
    connectMode(frame, frame->acAddStop, &MapWindow::SetAddStopMode);
    connectMode(frame, frame->acAddArc, &MapWindow::SetAddArcMode);
    connectMode(frame, frame->acDeleteArc, &MapWindow::SetDeleteArcMode);
    connectMode(frame, frame->acAddRoad, &MapWindow::SetAddRoadMode);
    connectMode(frame, frame->acDeleteRoad, &MapWindow::SetDeleteRoadMode);
    connectMode(frame, frame->acChangeRoad, &MapWindow::SetChangeRoadMode);
    connectMode(frame, frame->acFindWay, &MapWindow::SetFindWayMode);
    connectMode(frame, frame->acInfo, &MapWindow::SetInfoMode);

    QObject::connect(frame->acDelete, &QAction::triggered, frame, [] {
        MapWindow* current = CurrentMapWindow();
        if (current && current->SelectedCount() > 0)
            current->DeleteStopsFromMenu();
    });
    QObject::connect(frame->acSelectAll, &QAction::triggered, frame, [] {
        if (MapWindow* current = CurrentMapWindow())
            current->SelectAll();
    });
}
