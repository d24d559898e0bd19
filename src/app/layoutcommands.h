#pragma once

class MainWindow;
class QMenu;

// «Схема» and «География» in the view menu: for a map whose description keeps both layouts, the
// current map window's map is drawn in the one chosen, as one edit that undo takes back.
void AddLayoutCommands(MainWindow* frame, QMenu* view);
