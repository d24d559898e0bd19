// The operations that change a map's graph, the stop properties command, and the route search
// as the map window shows it.

#include "app/mdichild.h"
#include "edit/modal.h"
#include "edit/rez.h"
#include "edit/vertexparam.h"
#include "model/numberformat.h"
#include "platform/colours.h"
#include "platform/messages.h"
#include "route/findway.h"
#include "route/report.h"

using lirsk::StopRef;

namespace {

// The fill colour that is a stop's own: a marked stop keeps it aside while it shows the
// selection colour.
lirsk::Colour ownColour(const lirsk::Stop& stop) {
    return stop.Selected ? stop.Color : stop.FillColor;
}

void setOwnColour(lirsk::Stop& stop, lirsk::Colour colour) {
    if (stop.Selected)
        stop.Color = colour;
    else
        stop.FillColor = colour;
}

} // namespace

void TMDIChild::AddArc(StopRef a, StopRef b) {
    map_->AddLink(a, b);
    Modified = true;
}

void TMDIChild::DeleteArc(StopRef a, StopRef b) {
    map_->RemoveLink(a, b);
    map_->UpdateArcFlags();
    Modified = true;
}

void TMDIChild::AddRoad(StopRef a, StopRef b) {
    lirsk::Link* first = map_->AddLink(a, b);
    const bool userWeights = map_->Settings.UserWeights;
    map_->Settings.UserWeights = false;
    const lirsk::RoadWeight weight = first->weight();
    first->IsArc = false;
    lirsk::Link* second = map_->AddLink(b, a);
    second->IsArc = false;
    second->setWeight(weight);
    map_->Settings.UserWeights = userWeights;
    Modified = true;
}

void TMDIChild::DeleteRoad(StopRef a, StopRef b) {
    map_->RemoveLink(a, b);
    map_->RemoveLink(b, a);
    Modified = true;
}

void TMDIChild::ChangeRoadWeight(StopRef a, StopRef b) {
    lirsk::Link* link = map_->FindLink(a, b);
    const lirsk::RoadWeight before = link->weight();
    map_->EditLinkWeights(link, false);
    if (lirsk::Link* back = map_->FindLink(b, a))
        back->setWeight(link->weight());
    map_->UpdateArcFlags();
    const lirsk::RoadWeight after = link->weight();
    if (after.Price != before.Price || after.Length != before.Length || after.Time != before.Time)
        Modified = true;
}

StopRef TMDIChild::AddStopAt(int x, int y) {
    StopRef stop = map_->AddStopAt(x, y);
    Modified = true;
    return stop;
}

void TMDIChild::DeleteStop(StopRef stop) {
    // Nothing may go on naming the stop once it is gone.
    if (MenuStop == stop)
        MenuStop = nullptr;
    if (PickedStop == stop)
        PickedStop = nullptr;
    if (LabelDragStop == stop)
        LabelDragStop = nullptr;
    map_->DeleteStop(stop);
    Modified = true;
}

void TMDIChild::MIDeleteClick() {
    if (map_->SelectedCount != 0) {
        StopRef stop = map_->FirstStop();
        while (stop) {
            StopRef following = map_->next(stop);
            if (stop->Selected)
                DeleteStop(stop);
            stop = following;
        }
    } else if (MenuStop) {
        DeleteStop(MenuStop);
    }
}

void TMDIChild::MIPropertiesClick() {
    StopRef menuStop = MenuStop;
    if (!menuStop)
        return;
    VertexProperties values;
    values.Name = menuStop->Label.Caption;
    values.Size = QString::number(menuStop->Width);
    values.Id = QString::number(menuStop->Id);
    values.ShowName = menuStop->Label.Visible;
    values.Color = ownColour(*menuStop);
    values.Routes = menuStop->Routes;
    values.Font = menuStop->Label.Font;
    const std::optional<VertexProperties> answer = VertexParamForm()->SetProperties(values);

    if (answer && MenuStop == menuStop) {
        const VertexProperties& typed = *answer;
        const int size = typed.Size.toInt();
        // Each value is compared with the menu's stop as it was, so that stop goes last.
        bool changed = false;
        auto apply = [&](lirsk::Stop& target) {
            if (typed.Name != menuStop->Label.Caption) {
                target.Label.Caption = typed.Name;
                changed = true;
            }
            if (size != menuStop->Width) {
                target.Width = size;
                target.Height = size;
                target.Radius = target.Width / 2;
                changed = true;
            }
            if (typed.ShowName != menuStop->Label.Visible) {
                target.Label.Visible = typed.ShowName;
                changed = true;
            }
            if (typed.Color != ownColour(*menuStop)) {
                setOwnColour(target, typed.Color);
                changed = true;
            }
            if (typed.Routes != menuStop->Routes) {
                target.Routes = typed.Routes;
                changed = true;
            }
            if (typed.FontChanged) {
                target.Label.Font = typed.Font;
                changed = true;
            }
        };
        if (map_->SelectedCount > 0)
            for (const auto& stop : map_->stops())
                if (stop->Selected && stop.get() != menuStop)
                    apply(*stop);
        apply(*menuStop);
        if (changed)
            Modified = true;
    }

    MenuStop = nullptr;
    map_->UpdateArcFlags();
    RedrawMap(true);
}

void TMDIChild::FindWay(StopRef start, StopRef finish) {
    const lirsk::SearchResult found = lirsk::FindWay(*map_, start, finish);
    RedrawMap(false);
    switch (found.outcome) {
    case lirsk::SearchOutcome::NoWayMessage:
        lirsk::showMessage(this, {QMessageBox::Information, windowTitle(),
                                  QStringLiteral("Пути нет"), QMessageBox::Ok});
        return;
    case lirsk::SearchOutcome::Unreached:
        if (found.passesCapped)
            lirsk::showMessage(this, {QMessageBox::Warning, windowTitle(),
                                      lirsk::negativeCycleText(), QMessageBox::Ok});
        return;
    case lirsk::SearchOutcome::NegativeCycle:
        lirsk::showMessage(this, {QMessageBox::Warning, windowTitle(), lirsk::negativeCycleText(),
                                  QMessageBox::Ok});
        return;
    case lirsk::SearchOutcome::LoopingWay:
        lirsk::showMessage(this,
                           {QMessageBox::Warning, windowTitle(),
                            QStringLiteral("Путь не найден: на карте есть дороги с отрицательной "
                                           "длиной, и путь замыкается сам на себя."),
                            QMessageBox::Ok});
        return;
    case lirsk::SearchOutcome::Found:
        break;
    }

    const lirsk::DisplaySettings& s = map_->Settings;
    SetMapPen(lirsk::toQColor(s.TreeColor), s.ArcWidth, lirsk::PenMode::Copy);
    const std::vector<StopRef>& way = found.way;
    PaintOnMap([&way, &s](QPainter& painter) {
        for (std::size_t k = 0; k + 1 < way.size(); ++k) {
            const lirsk::MapPoint later = lirsk::shownCentre(*way[k]);
            const lirsk::MapPoint earlier = lirsk::shownCentre(*way[k + 1]);
            lirsk::DrawStraightArc(painter, earlier.x, earlier.y, later.x, later.y, way[k]->Radius,
                                   s.ArrowType, s.ArrowSize, s.ArrowAngle);
        }
    });
    ReportWay(way, found.length, found.time);
}

void TMDIChild::ReportWay(const std::vector<StopRef>& way, double length, double time) {
    const lirsk::RouteReport report = lirsk::BuildRouteReport(
        way, length, time, map_->MapCode, map_->MapCity, lirsk::localeDecimalSeparator());
    FRez()->ShowReport(report);
}
