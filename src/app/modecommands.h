#pragma once

class QAction;
class MainWindow;

// Connects the frame's mode commands and its delete and select-all commands to the current map
// window.
void WireEditCommands(MainWindow* frame);

// The frame's command of a tool mode (null for a value that is no mode).
QAction* ModeAction(MainWindow* frame, int mode);
