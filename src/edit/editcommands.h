#pragma once

#include "model/graphmap.h"

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

private:
    MapEditor& editor_;
    bool done_ = true;
};

// A stop added at the end of the list, with the MaxStopId it raised.
class AddStopCommand : public EditCommand {
public:
    AddStopCommand(MapEditor& editor, StopRef stop, int maxIdBefore, int maxIdAfter);

protected:
    void apply() override;
    void revert() override;

private:
    StopRef stop_;
    int maxIdBefore_;
    int maxIdAfter_;
    TakenStop taken_; // the stop while it is undone
};

// Stops taken out one after another, kept alive while the command can bring them back.
class DeleteStopsCommand : public EditCommand {
public:
    DeleteStopsCommand(MapEditor& editor, std::vector<TakenStop> taken);

protected:
    void apply() override;
    void revert() override;

private:
    std::vector<StopRef> stops_;
    std::vector<TakenStop> taken_; // empty while the stops are on the map
};

// The links of two stops before and after an edit, as the span of each list that changed.
class LinksCommand : public EditCommand {
public:
    // Two stops' links as values, taken before an edit.
    struct Before {
        StopRef a = nullptr, b = nullptr;
        std::vector<Link> aLinks, bLinks;
    };
    static Before linksOf(StopRef a, StopRef b);
    // The edit was made since `before`; the command keeps what differs.
    LinksCommand(MapEditor& editor, const QString& text, const Before& before);
    bool changesNothing() const;

protected:
    void apply() override;
    void revert() override;

private:
    struct Span {
        StopRef stop = nullptr;
        int at = 0;
        std::vector<Link> before, after;
    };
    static Span spanOf(StopRef stop, const std::vector<Link>& before);
    static void put(const Span& span, const std::vector<Link>& from, const std::vector<Link>& to);
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
    MoveCommand(MapEditor& editor, const QString& text, std::vector<StopRef> stops,
                std::vector<StopPlace> before);

protected:
    void apply() override { put(after_); }
    void revert() override { put(before_); }

private:
    void put(const std::vector<StopPlace>& places);
    std::vector<StopRef> stops_;
    std::vector<StopPlace> before_, after_;
};

// What the stop properties dialog sets on a stop.
struct StopLook {
    QString caption;
    int width = 0, height = 0, radius = 0;
    bool nameVisible = true;
    Colour colour = 0; // the stop's own colour, whether or not it is marked
    QString routes;
    FontSpec font;
    bool operator==(const StopLook&) const = default;
};
StopLook lookOf(const Stop& stop);
void setLook(Stop& stop, const StopLook& look);

class StopPropertiesCommand : public EditCommand {
public:
    StopPropertiesCommand(MapEditor& editor, std::vector<StopRef> stops,
                          std::vector<StopLook> before);
    bool changesNothing() const { return before_ == after_; }

protected:
    void apply() override { put(after_); }
    void revert() override { put(before_); }

private:
    void put(const std::vector<StopLook>& looks);
    std::vector<StopRef> stops_;
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
