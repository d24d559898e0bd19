#include "edit/commands.h"

#include "app/mainform.h"
#include "app/mdichild.h"

#include <QAction>

namespace {

using Setter = void (TMDIChild::*)();

void connectMode(TMainForm* frame, QAction* action, Setter setter) {
    QObject::connect(action, &QAction::triggered, frame, [frame, setter] {
        TMDIChild* current = CurrentMapWindow();
        if (!current)
            return;
        (current->*setter)();
        // A setter that refused leaves the window in its old mode: so does the tool bar.
        if (QAction* shown = ModeAction(frame, current->Mode))
            shown->setChecked(true);
    });
}

} // namespace

QAction* ModeAction(TMainForm* frame, int mode) {
    switch (mode) {
    case emPointer:
        return frame->acPointer;
    case emAddVertex:
        return frame->acAddVertex;
    case emAddArc:
        return frame->acAddArc;
    case emDestroyArc:
        return frame->acDestroyArc;
    case emAddRebro:
        return frame->acAddRebro;
    case emDestroyRebro:
        return frame->acDestroyRebro;
    case emChangeRebroWeight:
        return frame->acChangeRebroWeight;
    case emFindWay:
        return frame->acFindWay;
    case emInfo:
        return frame->acInfo;
    default:
        return nullptr;
    }
}

void WireEditCommands(TMainForm* frame) {
    connectMode(frame, frame->acPointer, &TMDIChild::SetPointerMode);
    connectMode(frame, frame->acAddVertex, &TMDIChild::SetAddVertexMode);
    connectMode(frame, frame->acAddArc, &TMDIChild::SetAddArcMode);
    connectMode(frame, frame->acDestroyArc, &TMDIChild::SetDestroyArcMode);
    connectMode(frame, frame->acAddRebro, &TMDIChild::SetAddRebroMode);
    connectMode(frame, frame->acDestroyRebro, &TMDIChild::SetDestroyRebroMode);
    connectMode(frame, frame->acChangeRebroWeight, &TMDIChild::SetChangeRebroWeightMode);
    connectMode(frame, frame->acFindWay, &TMDIChild::SetFindWayMode);
    connectMode(frame, frame->acInfo, &TMDIChild::SetInfoMode);

    QObject::connect(frame->acDelete, &QAction::triggered, frame, [] {
        TMDIChild* current = CurrentMapWindow();
        if (current && current->SelectedCount() > 0)
            current->MIDeleteClick();
    });
    QObject::connect(frame->acSelectAll, &QAction::triggered, frame, [] {
        if (TMDIChild* current = CurrentMapWindow())
            current->SelectAll();
    });
}
