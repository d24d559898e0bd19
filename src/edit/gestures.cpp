// The tool modes of a map window, the selection of stops, and the mouse gestures on the stops
// and on the graph image.

#include "app/mainform.h"
#include "app/maparea.h"
#include "app/mdichild.h"
#include "edit/marshrut.h"
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
    return mode == emAddArc || mode == emDestroyArc || mode == emFindWay;
}

} // namespace

// --- Modes ---------------------------------------------------------------------------------

void TMDIChild::SetPointerMode() {
    PickedStop = nullptr;
    SetStatusText(QStringLiteral("Режим просмотра"));
    Mode = emPointer;
}

void TMDIChild::SetAddVertexMode() {
    SetStatusText(QStringLiteral("Добавление остановки (щёлкните левой кнопкой мыши на рабочее "
                                 "поле, чтобы добавить остановку)"));
    Mode = emAddVertex;
}

void TMDIChild::SetAddArcMode() {
    PickedStop = nullptr;
    SetStatusText(QStringLiteral("Добавление дуги (укажите левой кнопкой мыши вершину из которой "
                                 "исходит дуга, затем в какую вершину входит)"));
    Mode = emAddArc;
}

void TMDIChild::SetDestroyArcMode() {
    PickedStop = nullptr;
    SetStatusText(QStringLiteral("Удаление дуги (укажите левой кнопкой мыши вершину из которой "
                                 "исходит дуга, затем в какую вершину входит)"));
    Mode = emDestroyArc;
}

void TMDIChild::SetAddRebroMode() {
    PickedStop = nullptr;
    SetStatusText(QStringLiteral("Добавление дороги (укажите левой кнопкой мыши остановку из "
                                 "которой исходит дорога, затем в какую входит)"));
    Mode = emAddRebro;
}

void TMDIChild::SetDestroyRebroMode() {
    PickedStop = nullptr;
    SetStatusText(QStringLiteral("Удаление дороги (укажите левой кнопкой мыши остановку из "
                                 "которой исходит дорога, затем в какую входит)"));
    Mode = emDestroyRebro;
}

void TMDIChild::SetChangeRebroWeightMode() {
    PickedStop = nullptr;
    SetStatusText(QStringLiteral("Изменение параметров дороги (укажите левой кнопкой мыши "
                                 "остановку из которой исходит дорога, затем в какую входит)"));
    Mode = emChangeRebroWeight;
}

void TMDIChild::SetInfoMode() {
    PickedStop = nullptr;
    SetStatusText(QStringLiteral("Просмотр информации об остановки"));
    Mode = emInfo;
}

bool TMDIChild::IsTwoStopMode() const {
    switch (Mode) {
    case emAddArc:
    case emDestroyArc:
    case emAddRebro:
    case emDestroyRebro:
    case emChangeRebroWeight:
    case emFindWay:
        return true;
    default:
        return false;
    }
}

// --- Selection -----------------------------------------------------------------------------

void TMDIChild::ToggleSelected(StopRef stop) {
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
    Area->update(stop->Left - 1, stop->Top - 1, stop->Width + 2, stop->Height + 2);
}

void TMDIChild::ClearSelection(int keepId, bool redraw) {
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
        Area->update();
    }
    if (redraw)
        RedrawMap(false);
}

void TMDIChild::SelectAll() {
    for (const auto& stop : map_->stops())
        if (!stop->Selected)
            ToggleSelected(stop.get());
}

// --- The rubber band and the selection rectangle ---------------------------------------------

void TMDIChild::DrawBand(StopRef first) {
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

void TMDIChild::DrawSelectionRect() {
    const int x0 = SelStartX, y0 = SelStartY, x1 = SelEndX, y1 = SelEndY;
    PaintOnMap([=](QPainter& painter) {
        const QPoint corners[] = {{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}, {x0, y0}};
        painter.drawPolyline(corners, 5);
    });
}

// --- Gestures on a stop --------------------------------------------------------------------

void TVertex::MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
    TMDIChild& w = *map_;
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
        w.VertexPopup->popup(QCursor::pos());
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

void TVertex::MouseMove(Qt::KeyboardModifiers, int x, int y) {
    TMDIChild& w = *map_;
    lirsk::GraphMap& map = w.Map();

    // Information about the stop under the pointer.
    if (!stop_->Dragging && w.Mode == emInfo) {
        TMarsh* marsh = MarshWindow();
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
            case emAddArc:
                snaps = !map.FindLink(stop_, target);
                break;
            case emDestroyArc:
                snaps = map.FindLink(stop_, target) != nullptr;
                break;
            case emAddRebro:
                snaps = !map.FindLink(stop_, target) && !map.FindLink(target, stop_);
                break;
            case emDestroyRebro:
            case emChangeRebroWeight:
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
    if (stop_->Dragging && (w.Mode == emPointer || w.Mode == emAddVertex)) {
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

void TVertex::MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
    TMDIChild& w = *map_;
    lirsk::GraphMap& map = w.Map();

    if (stop_->Dragging && x == stop_->DownX && y == stop_->DownY) {
        if (!(shift & Qt::ShiftModifier))
            w.ClearSelection(stop_->Id, true);
        if (w.Mode == emPointer) {
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
            case emAddArc:
                if (!map.FindLink(a, b))
                    w.AddArc(a, b);
                break;
            case emDestroyArc:
                if (map.FindLink(a, b))
                    w.DeleteArc(a, b);
                break;
            case emAddRebro:
                if (!map.FindLink(a, b) && !map.FindLink(b, a))
                    w.AddRoad(a, b);
                break;
            case emDestroyRebro:
                if (map.IsRoad(a, b))
                    w.DeleteRoad(a, b);
                break;
            case emChangeRebroWeight:
                if (map.IsRoad(a, b))
                    w.ChangeRoadWeight(a, b);
                break;
            case emFindWay:
                w.FindWay(a, b);
                break;
            default:
                break;
            }
        }
        if (w.Mode != emFindWay)
            w.RedrawMap(false);
        w.PickedStop = nullptr;
    }

    stop_->Dragging = false;
}

// --- Gestures on the graph image -----------------------------------------------------------

void TMDIChild::ImgGrafClick() {
    ClearSelection(-1, true);
}

void TMDIChild::ImgGrafMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
    if (button != Qt::LeftButton)
        return;
    ImgGrafPressed = true;
    if (Mode == emPointer) {
        RedrawMap(false);
        Selecting = true;
        SelStartX = SelEndX = x;
        SelStartY = SelEndY = y;
        SetMapPen(Qt::black, 1, lirsk::PenMode::NotXor);
    } else if (Mode == emAddVertex) {
        AddStopAt(x, y);
    }
}

void TMDIChild::ImgGrafMouseMove(Qt::KeyboardModifiers, int x, int y) {
    if (!Selecting)
        return;
    SetMapPen(Qt::black, 1, lirsk::PenMode::NotXor);
    DrawSelectionRect();
    SelEndX = x;
    SelEndY = y;
    DrawSelectionRect();
}

void TMDIChild::ImgGrafMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
    // The click comes before the release, so a rectangle made by this release survives it.
    if (button == Qt::LeftButton && ImgGrafPressed) {
        ImgGrafPressed = false;
        if (Area->rect().contains(x, y))
            ImgGrafClick();
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

void TMDIChild::AttachGestures() {
    VertexPopup = new QMenu(this);
    VertexPopup->setObjectName(QStringLiteral("VertexPopup"));
    MIDelete = VertexPopup->addAction(QStringLiteral("Удалить"));
    MIDelete->setObjectName(QStringLiteral("MIDelete"));
    MIProperties = VertexPopup->addAction(QStringLiteral("Свойства"));
    MIProperties->setObjectName(QStringLiteral("MIProperties"));
    connect(MIDelete, &QAction::triggered, this, &TMDIChild::MIDeleteClick);
    connect(MIProperties, &QAction::triggered, this, &TMDIChild::MIPropertiesClick);

    connect(Area, &MapArea::ImgGrafMouseDown, this, &TMDIChild::ImgGrafMouseDown);
    connect(Area, &MapArea::ImgGrafMouseMove, this, &TMDIChild::ImgGrafMouseMove);
    connect(Area, &MapArea::ImgGrafMouseUp, this, &TMDIChild::ImgGrafMouseUp);
}
