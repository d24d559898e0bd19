// The tool modes of a map window, the selection of stops, and the mouse gestures on the stops
// and on the graph image.

#include "app/mainwindow.h"
#include "app/maparea.h"
#include "app/mapwindow.h"
#include "edit/stoproutespopup.h"
#include "platform/colours.h"

#include <QAction>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>

#include <algorithm>

using lirsk::StopRef;

namespace {

const QColor kBandRed(0xFF, 0, 0);

// Integer halving that truncates toward zero.
int half(int value) {
    return value / 2;
}

bool drawsArrow(int mode) {
    return mode == AddArcMode || mode == DeleteArcMode || mode == FindWayMode;
}

} // namespace

// --- Modes ---------------------------------------------------------------------------------

void MapWindow::SetPointerMode() {
    PickedStop = nullptr;
    SetStatusText(QStringLiteral("Режим просмотра"));
    Mode = PointerMode;
}

void MapWindow::SetAddStopMode() {
    SetStatusText(QStringLiteral("Добавление остановки (щёлкните левой кнопкой мыши на рабочее "
                                 "поле, чтобы добавить остановку)"));
    Mode = AddStopMode;
}

void MapWindow::SetAddArcMode() {
    PickedStop = nullptr;
    SetStatusText(QStringLiteral("Добавление дуги (укажите левой кнопкой мыши вершину из которой "
                                 "исходит дуга, затем в какую вершину входит)"));
    Mode = AddArcMode;
}

void MapWindow::SetDeleteArcMode() {
    PickedStop = nullptr;
    SetStatusText(QStringLiteral("Удаление дуги (укажите левой кнопкой мыши вершину из которой "
                                 "исходит дуга, затем в какую вершину входит)"));
    Mode = DeleteArcMode;
}

void MapWindow::SetAddRoadMode() {
    PickedStop = nullptr;
    SetStatusText(QStringLiteral("Добавление дороги (укажите левой кнопкой мыши остановку из "
                                 "которой исходит дорога, затем в какую входит)"));
    Mode = AddRoadMode;
}

void MapWindow::SetDeleteRoadMode() {
    PickedStop = nullptr;
    SetStatusText(QStringLiteral("Удаление дороги (укажите левой кнопкой мыши остановку из "
                                 "которой исходит дорога, затем в какую входит)"));
    Mode = DeleteRoadMode;
}

void MapWindow::SetChangeRoadMode() {
    PickedStop = nullptr;
    SetStatusText(QStringLiteral("Изменение параметров дороги (укажите левой кнопкой мыши "
                                 "остановку из которой исходит дорога, затем в какую входит)"));
    Mode = ChangeRoadMode;
}

void MapWindow::SetInfoMode() {
    PickedStop = nullptr;
    SetStatusText(QStringLiteral("Просмотр информации об остановки"));
    Mode = InfoMode;
}

bool MapWindow::IsTwoStopMode() const {
    switch (Mode) {
    case AddArcMode:
    case DeleteArcMode:
    case AddRoadMode:
    case DeleteRoadMode:
    case ChangeRoadMode:
    case FindWayMode:
        return true;
    default:
        return false;
    }
}

// --- Selection -----------------------------------------------------------------------------

void MapWindow::ToggleSelected(StopRef stop) {
    if (!stop->Selected) {
        stop->Color = stop->FillColor;
        stop->FillColor = lirsk::SelectionColor;
        stop->Selected = true;
        ++map_->SelectedCount;
    } else {
        stop->FillColor = stop->Color;
        stop->Selected = false;
        --map_->SelectedCount;
    }
    mapArea->update(stop->Left - 1, stop->Top - 1, stop->Width + 2, stop->Height + 2);
}

void MapWindow::ClearSelection(int keepId, bool redraw) {
    if (map_->SelectedCount > 0) {
        int kept = 0;
        for (const auto& stop : map_->stops()) {
            if (!stop->Selected)
                continue;
            if (stop->Id == keepId) {
                ++kept;
                continue;
            }
            stop->FillColor = stop->Color;
            stop->Selected = false;
        }
        map_->SelectedCount = kept;
        mapArea->update();
    }
    if (redraw)
        RedrawMap(false);
}

void MapWindow::SelectAll() {
    for (const auto& stop : map_->stops())
        if (!stop->Selected)
            ToggleSelected(stop.get());
}

// --- The rubber band and the selection rectangle ---------------------------------------------

void MapWindow::DrawBand(StopRef first) {
    SetMapPen(BandColour, map_->Settings.ArcWidth, lirsk::PenMode::NotXor);
    const int x1 = first->centreX(), y1 = first->centreY();
    const int x2 = first->Left + first->DownX, y2 = first->Top + first->DownY;
    if (drawsArrow(Mode)) {
        const lirsk::DisplaySettings& s = map_->Settings;
        DrawStraightArc(x1, y1, x2, y2, first->BandSetback, s.ArrowType, s.ArrowSize, s.ArrowAngle);
    } else {
        PaintOnMap([=](QPainter& painter) { painter.drawLine(x1, y1, x2, y2); });
    }
    BandDrawn = !BandDrawn;
}

void MapWindow::DrawSelectionRect() {
    const int x0 = SelStartX, y0 = SelStartY, x1 = SelEndX, y1 = SelEndY;
    PaintOnMap([=](QPainter& painter) {
        const QPoint corners[] = {{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}, {x0, y0}};
        painter.drawPolyline(corners, 5);
    });
}

// --- Gestures on a stop --------------------------------------------------------------------

void StopHandle::MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
    MapWindow& w = *map_;
    if (button != Qt::RightButton) {
        stop_->Dragging = true;
        stop_->DownX = x;
        stop_->DownY = y;
        stop_->BandSetback = 0;
    }
    if (button == Qt::RightButton) {
        w.MenuStop = stop_;
        if (!stop_->Selected)
            w.ClearSelection(-1, true);
        w.stopMenu->popup(QCursor::pos());
        return;
    }
    if (w.IsTwoStopMode() && !w.PickedStop) {
        w.PickedStop = stop_;
        w.BandColour = Qt::black;
        w.SetMapPen(w.BandColour, w.Map().Settings.ArcWidth, lirsk::PenMode::NotXor);
        w.BandDrawn = false;
        if (drawsArrow(w.Mode))
            w.DrawBand(stop_);
    }
}

void StopHandle::MouseMove(Qt::KeyboardModifiers, int x, int y) {
    MapWindow& w = *map_;
    lirsk::GraphMap& map = w.Map();

    // Information about the stop under the pointer.
    if (!stop_->Dragging && w.Mode == InfoMode) {
        StopRoutesPopup* marsh = stopRoutesPopup();
        const QPoint cursor = QCursor::pos();
        const QScreen* screen = QGuiApplication::screenAt(cursor);
        if (!screen)
            screen = QGuiApplication::primaryScreen();
        marsh->PlaceBy(cursor, screen ? screen->size() : QSize(cursor.x() + 1000, 10000));
        if (StopRef under = map.FindStopAt(stop_->Left + x, stop_->Top + y)) {
            marsh->ShowStop(under->Label.Caption, under->Routes);
            marsh->show();
            marsh->raise();
            marsh->activateWindow();
        }
    }

    // The rubber band follows the pointer and snaps onto a stop the gesture can end on.
    if (w.IsTwoStopMode() && w.PickedStop == stop_) {
        if (w.BandDrawn)
            w.DrawBand(stop_);
        StopRef target = map.FindStopAt(stop_->Left + x, stop_->Top + y);
        bool snaps = false;
        if (target && target != stop_) {
            switch (w.Mode) {
            case AddArcMode:
                snaps = !map.FindLink(stop_, target);
                break;
            case DeleteArcMode:
                snaps = map.FindLink(stop_, target) != nullptr;
                break;
            case AddRoadMode:
                snaps = !map.FindLink(stop_, target) && !map.FindLink(target, stop_);
                break;
            case DeleteRoadMode:
            case ChangeRoadMode:
                snaps = map.IsRoad(stop_, target);
                break;
            default:
                snaps = true;
                break;
            }
        }
        if (snaps) {
            w.BandColour = kBandRed;
            stop_->DownX = target->centreX() - stop_->Left;
            stop_->DownY = target->centreY() - stop_->Top;
            stop_->BandSetback = target->Radius;
        } else {
            w.BandColour = Qt::black;
            stop_->DownX = x;
            stop_->DownY = y;
            stop_->BandSetback = 0;
        }
        w.DrawBand(stop_);
    }

    // Moving the stop, and the marked stops with it.
    if (stop_->Dragging && (w.Mode == PointerMode || w.Mode == AddStopMode)) {
        const int dx = x - half(stop_->Width);
        const int dy = y - half(stop_->Height);
        if (dx == 0 && dy == 0)
            return;
        if (map.SelectedCount > 0 && stop_->Selected) {
            for (const auto& other : map.stops()) {
                if (!other->Selected || other.get() == stop_)
                    continue;
                other->Left = std::max(0, other->Left + dx);
                other->Top = std::max(0, other->Top + dy);
                other->Label.Left = std::max(0, other->Label.Left + dx);
                other->Label.Top = std::max(0, other->Label.Top + dy);
            }
        } else if (!stop_->Selected) {
            w.ClearSelection(-1, false);
        }
        if (stop_->Left + dx >= 0) {
            stop_->Left += dx;
            stop_->Label.Left += dx;
        }
        if (stop_->Top + dy >= 0) {
            stop_->Top += dy;
            stop_->Label.Top += dy;
        }
        w.Modified = true;
        w.RedrawMap(false);
    }
}

void StopHandle::MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
    MapWindow& w = *map_;
    lirsk::GraphMap& map = w.Map();

    if (stop_->Dragging && x == stop_->DownX && y == stop_->DownY) {
        if (!(shift & Qt::ShiftModifier))
            w.ClearSelection(stop_->Id, true);
        if (w.Mode == PointerMode) {
            w.ToggleSelected(stop_);
            w.RedrawMap(false);
        }
    }

    if (button == Qt::LeftButton && w.IsTwoStopMode() && w.PickedStop) {
        StopRef a = w.PickedStop;
        if (w.BandDrawn)
            w.DrawBand(a);
        w.SetMapPen(lirsk::toQColor(map.Settings.ArcColor), map.Settings.ArcWidth,
                    lirsk::PenMode::Copy);
        StopRef b = map.FindStopAt(stop_->Left + x, stop_->Top + y);
        if (b && b != a) {
            switch (w.Mode) {
            case AddArcMode:
                if (!map.FindLink(a, b))
                    w.AddArc(a, b);
                break;
            case DeleteArcMode:
                if (map.FindLink(a, b))
                    w.DeleteArc(a, b);
                break;
            case AddRoadMode:
                if (!map.FindLink(a, b) && !map.FindLink(b, a))
                    w.AddRoad(a, b);
                break;
            case DeleteRoadMode:
                if (map.IsRoad(a, b))
                    w.DeleteRoad(a, b);
                break;
            case ChangeRoadMode:
                if (map.IsRoad(a, b))
                    w.ChangeRoadWeight(a, b);
                break;
            case FindWayMode:
                w.FindWay(a, b);
                break;
            default:
                break;
            }
        }
        if (w.Mode != FindWayMode)
            w.RedrawMap(false);
        w.PickedStop = nullptr;
    }

    stop_->Dragging = false;
}

// --- Gestures on the graph image -----------------------------------------------------------

void MapWindow::DrawnMapClicked() {
    ClearSelection(-1, true);
}

void MapWindow::DrawnMapPressed(Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
    if (button != Qt::LeftButton)
        return;
    mapClickPending = true;
    if (Mode == PointerMode) {
        RedrawMap(false);
        Selecting = true;
        SelStartX = SelEndX = x;
        SelStartY = SelEndY = y;
        SetMapPen(Qt::black, 1, lirsk::PenMode::NotXor);
    } else if (Mode == AddStopMode) {
        AddStopAt(x, y);
    }
}

void MapWindow::DrawnMapMoved(Qt::KeyboardModifiers, int x, int y) {
    if (!Selecting)
        return;
    SetMapPen(Qt::black, 1, lirsk::PenMode::NotXor);
    DrawSelectionRect();
    SelEndX = x;
    SelEndY = y;
    DrawSelectionRect();
}

void MapWindow::DrawnMapReleased(Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
    // The click comes before the release, so a rectangle made by this release survives it.
    if (button == Qt::LeftButton && mapClickPending) {
        mapClickPending = false;
        if (mapArea->rect().contains(x, y))
            DrawnMapClicked();
    }
    if (!Selecting)
        return;
    SetMapPen(Qt::black, 1, lirsk::PenMode::NotXor);
    DrawSelectionRect();
    Selecting = false;
    SetMapPen(lirsk::toQColor(map_->Settings.ArcColor), map_->Settings.ArcWidth,
              lirsk::PenMode::Copy);
    ClearSelection(-1, true);
    const int x0 = std::min(SelStartX, x), x1 = std::max(SelStartX, x);
    const int y0 = std::min(SelStartY, y), y1 = std::max(SelStartY, y);
    for (const auto& stop : map_->stops()) {
        const qint64 left = stop->Left, top = stop->Top;
        if (left + stop->Width > x0 && top + stop->Height > y0 && left < x1 && top < y1)
            ToggleSelected(stop.get());
    }
}

void MapWindow::AttachGestures() {
    stopMenu = new QMenu(this);
    stopMenu->setObjectName(QStringLiteral("stopMenu"));
    stopMenuDelete = stopMenu->addAction(QStringLiteral("Удалить"));
    stopMenuDelete->setObjectName(QStringLiteral("stopMenuDelete"));
    stopMenuProperties = stopMenu->addAction(QStringLiteral("Свойства"));
    stopMenuProperties->setObjectName(QStringLiteral("stopMenuProperties"));
    connect(stopMenuDelete, &QAction::triggered, this, &MapWindow::DeleteStopsFromMenu);
    connect(stopMenuProperties, &QAction::triggered, this, &MapWindow::EditStopProperties);

    connect(mapArea, &MapArea::DrawnMapPressed, this, &MapWindow::DrawnMapPressed);
    connect(mapArea, &MapArea::DrawnMapMoved, this, &MapWindow::DrawnMapMoved);
    connect(mapArea, &MapArea::DrawnMapReleased, this, &MapWindow::DrawnMapReleased);
}
