#pragma once

class MainWindow;
class QMenu;

// The map maker's commands beside the tool modes, made into the frame's menus: cut, copy, paste
// and duplicate, lining stops up, the grid, the map's description (these in editor mode only),
// the history of changes and the pointer's place in the status line.
void BuildEditingCommands(MainWindow* frame, QMenu* edit, QMenu* service, QMenu* view);
