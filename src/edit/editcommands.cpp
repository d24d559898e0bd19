#include "edit/editcommands.h"

#include "edit/mapeditor.h"

#include <algorithm>
#include <cstring>

namespace lirsk {

void EditCommand::undo() {
    editor_.forgetGestures();
    revert();
    editor_.document().markChanged();
}

void EditCommand::redo() {
    if (done_) {
        done_ = false;
        return;
    }
    editor_.forgetGestures();
    apply();
    editor_.document().markChanged();
}

GraphMap& EditCommand::map() {
    return editor_.map();
}

MapDocument& EditCommand::document() {
    return editor_.document();
}

// --- Stops ------------------------------------------------------------------------------------

AddStopCommand::AddStopCommand(MapEditor& editor, StopIndex stop, int maxIdBefore, int maxIdAfter)
    : EditCommand(editor, QStringLiteral("добавление остановки")), stop_(stop),
      maxIdBefore_(maxIdBefore), maxIdAfter_(maxIdAfter) {}

void AddStopCommand::apply() {
    document().restoreStops(std::move(taken_));
    taken_ = {};
    map().MaxStopId = maxIdAfter_;
}

void AddStopCommand::revert() {
    taken_ = document().takeStops({stop_});
    map().MaxStopId = maxIdBefore_;
}

DeleteStopsCommand::DeleteStopsCommand(MapEditor& editor, std::vector<StopIndex> stops,
                                       TakenStops taken)
    : EditCommand(editor, QStringLiteral("удаление остановок")), stops_(std::move(stops)),
      taken_(std::move(taken)) {}

void DeleteStopsCommand::apply() {
    taken_ = document().takeStops(stops_);
}

void DeleteStopsCommand::revert() {
    document().restoreStops(std::move(taken_));
    taken_ = {};
}

// --- Links ------------------------------------------------------------------------------------

namespace {

// Links compared bit for bit: a NaN weight equals itself.
bool same(const Link& x, const Link& y) {
    return std::memcmp(&x.Price, &y.Price, sizeof x.Price) == 0 &&
           std::memcmp(&x.Length, &y.Length, sizeof x.Length) == 0 &&
           std::memcmp(&x.Time, &y.Time, sizeof x.Time) == 0 && x.To == y.To && x.IsArc == y.IsArc;
}

} // namespace

LinksCommand::Before LinksCommand::linksOf(const GraphMap& map, StopIndex a, StopIndex b) {
    return {a, b, map.stop(a).Links, map.stop(b).Links};
}

LinksCommand::LinksCommand(MapEditor& editor, const QString& text, const Before& before)
    : EditCommand(editor, text) {
    for (Span span : {spanOf(before.a, before.aLinks, map().stop(before.a).Links),
                      spanOf(before.b, before.bLinks, map().stop(before.b).Links)})
        if (!span.before.empty() || !span.after.empty())
            spans_.push_back(std::move(span));
}

bool LinksCommand::changesNothing() const {
    return spans_.empty();
}

LinksCommand::Span LinksCommand::spanOf(StopIndex stop, const std::vector<Link>& before,
                                        const std::vector<Link>& after) {
    std::size_t head = 0;
    while (head < before.size() && head < after.size() && same(before[head], after[head]))
        ++head;
    std::size_t tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           same(before[before.size() - 1 - tail], after[after.size() - 1 - tail]))
        ++tail;
    Span span;
    span.stop = stop;
    span.at = int(head);
    span.before.assign(before.begin() + std::ptrdiff_t(head), before.end() - std::ptrdiff_t(tail));
    span.after.assign(after.begin() + std::ptrdiff_t(head), after.end() - std::ptrdiff_t(tail));
    return span;
}

void LinksCommand::put(const Span& span, const std::vector<Link>& from,
                       const std::vector<Link>& to) {
    std::vector<Link>& links = map().stop(span.stop).Links;
    const auto at = links.begin() + span.at;
    links.erase(at, at + std::ptrdiff_t(from.size()));
    links.insert(links.begin() + span.at, to.begin(), to.end());
}

void LinksCommand::apply() {
    for (const Span& span : spans_)
        put(span, span.before, span.after);
}

void LinksCommand::revert() {
    for (const Span& span : spans_)
        put(span, span.after, span.before);
}

// --- Places and looks -------------------------------------------------------------------------

StopPlace placeOf(const Stop& stop) {
    return {stop.Left, stop.Top, stop.Label.Left, stop.Label.Top};
}

MoveCommand::MoveCommand(MapEditor& editor, const QString& text, std::vector<StopIndex> stops,
                         std::vector<StopPlace> before)
    : EditCommand(editor, text), stops_(std::move(stops)), before_(std::move(before)) {
    for (const StopIndex stop : stops_)
        after_.push_back(placeOf(map().stop(stop)));
}

void MoveCommand::put(const std::vector<StopPlace>& places) {
    for (std::size_t i = 0; i < stops_.size(); ++i) {
        Stop& stop = map().stop(stops_[i]);
        stop.Left = places[i].left;
        stop.Top = places[i].top;
        stop.Label.Left = places[i].labelLeft;
        stop.Label.Top = places[i].labelTop;
    }
}

StopLook lookOf(const Stop& stop) {
    return {stop.Label.Caption, stop.Width,     stop.Height, stop.Radius,
            stop.Label.Visible, stop.FillColor, stop.Routes, stop.Label.Font};
}

void setLook(Stop& stop, const StopLook& look) {
    stop.Label.Caption = look.caption;
    stop.Width = look.width;
    stop.Height = look.height;
    stop.Radius = look.radius;
    stop.Label.Visible = look.nameVisible;
    stop.FillColor = look.colour;
    stop.Routes = look.routes;
    stop.Label.Font = look.font;
}

StopPropertiesCommand::StopPropertiesCommand(MapEditor& editor, std::vector<StopIndex> stops,
                                             std::vector<StopLook> before)
    : EditCommand(editor, QStringLiteral("свойства остановок")), stops_(std::move(stops)),
      before_(std::move(before)) {
    for (const StopIndex stop : stops_)
        after_.push_back(lookOf(map().stop(stop)));
}

void StopPropertiesCommand::put(const std::vector<StopLook>& looks) {
    for (std::size_t i = 0; i < stops_.size(); ++i)
        setLook(map().stop(stops_[i]), looks[i]);
}

SettingsCommand::SettingsCommand(MapEditor& editor, const DisplaySettings& before,
                                 const DisplaySettings& after)
    : EditCommand(editor, QStringLiteral("настройки карты")), before_(before), after_(after) {}

} // namespace lirsk
