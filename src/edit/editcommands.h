#pragma once

#include "model/mapdocument.h"

#include <QUndoCommand>

#include <vector>

// The edits of a map as commands of its editor's undo stack. Each command is pushed once its
// edit has been made (a dialog or a drag decides what the edit is), so its first redo does
// nothing; it keeps only what its edit changed.

namespace lirsk {

class MapEditor;

class EditCommand : public QUndoCommand {
public:
    EditCommand(MapEditor& editor, const QString& text) : QUndoCommand(text), editor_(editor) {}
    void undo() final;
    void redo() final;

protected:
    virtual void apply() = 0;
    virtual void revert() = 0;
    GraphMap& map();
    MapDocument& document();

private:
    MapEditor& editor_;
    bool done_ = true;
};

// A stop added at the end of the list, with the MaxStopId it raised.
class AddStopCommand : public EditCommand {
public:
    AddStopCommand(MapEditor& editor, StopIndex stop, int maxIdBefore, int maxIdAfter);

protected:
    void apply() override;
    void revert() override;

private:
    StopIndex stop_;
    int maxIdBefore_;
    int maxIdAfter_;
    TakenStops taken_; // the stop while it is undone
};

// Stops taken out, kept while the command can bring them back.
class DeleteStopsCommand : public EditCommand {
public:
    DeleteStopsCommand(MapEditor& editor, std::vector<StopIndex> stops, TakenStops taken);

protected:
    void apply() override;
    void revert() override;

private:
    std::vector<StopIndex> stops_; // ascending
    TakenStops taken_;             // empty while the stops are on the map
};

// The links of two stops before and after an edit, as the span of each list that changed.
class LinksCommand : public EditCommand {
public:
    // Two stops' links as values, taken before an edit.
    struct Before {
        StopIndex a = NoStop, b = NoStop;
        std::vector<Link> aLinks, bLinks;
    };
    static Before linksOf(const GraphMap& map, StopIndex a, StopIndex b);
    // The edit was made since `before`; the command keeps what differs.
    LinksCommand(MapEditor& editor, const QString& text, const Before& before);
    bool changesNothing() const;

protected:
    void apply() override;
    void revert() override;

private:
    struct Span {
        StopIndex stop = NoStop;
        int at = 0;
        std::vector<Link> before, after;
    };
    static Span spanOf(StopIndex stop, const std::vector<Link>& before,
                       const std::vector<Link>& after);
    void put(const Span& span, const std::vector<Link>& from, const std::vector<Link>& to);
    std::vector<Span> spans_;
};

// Where a stop and its name are.
struct StopPlace {
    int left = 0, top = 0, labelLeft = 0, labelTop = 0;
    bool operator==(const StopPlace&) const = default;
};
StopPlace placeOf(const Stop& stop);

// Stops or a name moved by one drag.
class MoveCommand : public EditCommand {
public:
    MoveCommand(MapEditor& editor, const QString& text, std::vector<StopIndex> stops,
                std::vector<StopPlace> before);

protected:
    void apply() override { put(after_); }
    void revert() override { put(before_); }

private:
    void put(const std::vector<StopPlace>& places);
    std::vector<StopIndex> stops_;
    std::vector<StopPlace> before_, after_;
};

// What the stop properties dialog sets on a stop.
struct StopLook {
    QString caption;
    int width = 0, height = 0, radius = 0;
    bool nameVisible = true;
    Colour colour = 0;
    QString routes;
    FontSpec font;
    bool operator==(const StopLook&) const = default;
};
StopLook lookOf(const Stop& stop);
void setLook(Stop& stop, const StopLook& look);

class StopPropertiesCommand : public EditCommand {
public:
    StopPropertiesCommand(MapEditor& editor, std::vector<StopIndex> stops,
                          std::vector<StopLook> before);
    bool changesNothing() const { return before_ == after_; }

protected:
    void apply() override { put(after_); }
    void revert() override { put(before_); }

private:
    void put(const std::vector<StopLook>& looks);
    std::vector<StopIndex> stops_;
    std::vector<StopLook> before_, after_;
};

class SettingsCommand : public EditCommand {
public:
    SettingsCommand(MapEditor& editor, const DisplaySettings& before, const DisplaySettings& after);

protected:
    void apply() override { map().Settings = after_; }
    void revert() override { map().Settings = before_; }

private:
    DisplaySettings before_, after_;
};

} // namespace lirsk
