#include "app/modecommands.h"

#include "app/mainwindow.h"
#include "app/mapwindow.h"

#include <QAction>

namespace {

using Setter = void (lirsk::MapEditor::*)();

void connectMode(MainWindow* frame, QAction* action, Setter setter) {
    QObject::connect(action, &QAction::triggered, frame, [frame, setter] {
        MapWindow* current = frame->currentMapWindow();
        if (!current)
            return;
        (current->editor().*setter)();
        // A setter that refused leaves the window in its old mode: so does the tool bar.
        if (QAction* shown = ModeAction(frame, current->editor().mode()))
            shown->setChecked(true);
    });
}

} // namespace

QAction* ModeAction(MainWindow* frame, lirsk::MapMode mode) {
    switch (mode) {
    case lirsk::MapMode::Pointer:
        return frame->acPointer;
    case lirsk::MapMode::AddStop:
        return frame->acAddStop;
    case lirsk::MapMode::AddArc:
        return frame->acAddArc;
    case lirsk::MapMode::DeleteArc:
        return frame->acDeleteArc;
    case lirsk::MapMode::AddRoad:
        return frame->acAddRoad;
    case lirsk::MapMode::DeleteRoad:
        return frame->acDeleteRoad;
    case lirsk::MapMode::ChangeRoad:
        return frame->acChangeRoad;
    case lirsk::MapMode::FindWay:
        return frame->acFindWay;
    case lirsk::MapMode::Info:
        return frame->acInfo;
    }
    return nullptr;
}

void WireEditCommands(MainWindow* frame) {
    connectMode(frame, frame->acPointer, &lirsk::MapEditor::SetPointerMode);
    connectMode(frame, frame->acAddStop, &lirsk::MapEditor::SetAddStopMode);
    connectMode(frame, frame->acAddArc, &lirsk::MapEditor::SetAddArcMode);
    connectMode(frame, frame->acDeleteArc, &lirsk::MapEditor::SetDeleteArcMode);
    connectMode(frame, frame->acAddRoad, &lirsk::MapEditor::SetAddRoadMode);
    connectMode(frame, frame->acDeleteRoad, &lirsk::MapEditor::SetDeleteRoadMode);
    connectMode(frame, frame->acChangeRoad, &lirsk::MapEditor::SetChangeRoadMode);
    connectMode(frame, frame->acFindWay, &lirsk::MapEditor::SetFindWayMode);
    connectMode(frame, frame->acInfo, &lirsk::MapEditor::SetInfoMode);

    QObject::connect(frame->acDelete, &QAction::triggered, frame, [frame] {
        MapWindow* current = frame->currentMapWindow();
        if (current && current->editor().editing() && current->editor().SelectedCount() > 0)
            current->editor().DeleteStopsFromMenu();
    });
    QObject::connect(frame->acSelectAll, &QAction::triggered, frame, [frame] {
        if (MapWindow* current = frame->currentMapWindow())
            current->editor().SelectAll();
    });
}
