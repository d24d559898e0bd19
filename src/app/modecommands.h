#pragma once

#include "edit/mapeditor.h"

class QAction;
class MainWindow;

// Connects the frame's mode commands and its delete and select-all commands to the current map
// window.
void WireEditCommands(MainWindow* frame);

// The frame's command of a tool mode.
QAction* ModeAction(MainWindow* frame, lirsk::MapMode mode);
