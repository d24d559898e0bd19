#include "edit/editcommands.h"

#include "edit/mapeditor.h"

#include <algorithm>

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

// --- Stops ------------------------------------------------------------------------------------

AddStopCommand::AddStopCommand(MapEditor& editor, StopRef stop, int maxIdBefore, int maxIdAfter)
    : EditCommand(editor, QStringLiteral("добавление остановки")), stop_(stop),
      maxIdBefore_(maxIdBefore), maxIdAfter_(maxIdAfter) {}

void AddStopCommand::apply() {
    map().restoreStop(std::move(taken_));
    taken_ = {};
    map().MaxStopId = maxIdAfter_;
}

void AddStopCommand::revert() {
    taken_ = map().takeStop(stop_);
    map().MaxStopId = maxIdBefore_;
}

DeleteStopsCommand::DeleteStopsCommand(MapEditor& editor, std::vector<TakenStop> taken)
    : EditCommand(editor, QStringLiteral("удаление остановок")), taken_(std::move(taken)) {
    for (const TakenStop& t : taken_)
        stops_.push_back(t.stop.get());
}

void DeleteStopsCommand::apply() {
    for (StopRef stop : stops_)
        taken_.push_back(map().takeStop(stop));
}

void DeleteStopsCommand::revert() {
    while (!taken_.empty()) {
        map().restoreStop(std::move(taken_.back()));
        taken_.pop_back();
    }
}

// --- Links ------------------------------------------------------------------------------------

namespace {

std::vector<Link> valuesOf(const Stop& stop) {
    std::vector<Link> values;
    values.reserve(stop.Links.size());
    for (const auto& link : stop.Links)
        values.push_back(*link);
    return values;
}

bool same(const Link& x, const Link& y) {
    return x.Price == y.Price && x.Length == y.Length && x.Time == y.Time && x.To == y.To &&
           x.IsArc == y.IsArc;
}

} // namespace

LinksCommand::Before LinksCommand::linksOf(StopRef a, StopRef b) {
    return {a, b, valuesOf(*a), valuesOf(*b)};
}

LinksCommand::LinksCommand(MapEditor& editor, const QString& text, const Before& before)
    : EditCommand(editor, text) {
    for (Span span : {spanOf(before.a, before.aLinks), spanOf(before.b, before.bLinks)})
        if (!span.before.empty() || !span.after.empty())
            spans_.push_back(std::move(span));
}

bool LinksCommand::changesNothing() const {
    return spans_.empty();
}

LinksCommand::Span LinksCommand::spanOf(StopRef stop, const std::vector<Link>& before) {
    const std::vector<Link> after = valuesOf(*stop);
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
    auto& links = span.stop->Links;
    const auto at = links.begin() + span.at;
    links.erase(at, at + std::ptrdiff_t(from.size()));
    std::vector<std::unique_ptr<Link>> made;
    made.reserve(to.size());
    for (const Link& value : to)
        made.push_back(std::make_unique<Link>(value));
    links.insert(links.begin() + span.at, std::make_move_iterator(made.begin()),
                 std::make_move_iterator(made.end()));
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

MoveCommand::MoveCommand(MapEditor& editor, const QString& text, std::vector<StopRef> stops,
                         std::vector<StopPlace> before)
    : EditCommand(editor, text), stops_(std::move(stops)), before_(std::move(before)) {
    for (StopRef stop : stops_)
        after_.push_back(placeOf(*stop));
}

void MoveCommand::put(const std::vector<StopPlace>& places) {
    for (std::size_t i = 0; i < stops_.size(); ++i) {
        Stop& stop = *stops_[i];
        stop.Left = places[i].left;
        stop.Top = places[i].top;
        stop.Label.Left = places[i].labelLeft;
        stop.Label.Top = places[i].labelTop;
    }
}

StopLook lookOf(const Stop& stop) {
    return {stop.Label.Caption, stop.Width,         stop.Height,
            stop.Radius,        stop.Label.Visible, stop.Selected ? stop.Color : stop.FillColor,
            stop.Routes,        stop.Label.Font};
}

void setLook(Stop& stop, const StopLook& look) {
    stop.Label.Caption = look.caption;
    stop.Width = look.width;
    stop.Height = look.height;
    stop.Radius = look.radius;
    stop.Label.Visible = look.nameVisible;
    (stop.Selected ? stop.Color : stop.FillColor) = look.colour;
    stop.Routes = look.routes;
    stop.Label.Font = look.font;
}

StopPropertiesCommand::StopPropertiesCommand(MapEditor& editor, std::vector<StopRef> stops,
                                             std::vector<StopLook> before)
    : EditCommand(editor, QStringLiteral("свойства остановок")), stops_(std::move(stops)),
      before_(std::move(before)) {
    for (StopRef stop : stops_)
        after_.push_back(lookOf(*stop));
}

void StopPropertiesCommand::put(const std::vector<StopLook>& looks) {
    for (std::size_t i = 0; i < stops_.size(); ++i)
        setLook(*stops_[i], looks[i]);
}

SettingsCommand::SettingsCommand(MapEditor& editor, const DisplaySettings& before,
                                 const DisplaySettings& after)
    : EditCommand(editor, QStringLiteral("настройки карты")), before_(before), after_(after) {}

} // namespace lirsk
