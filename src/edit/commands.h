#pragma once

class QAction;
class TMainForm;

// Connects the frame's mode commands and its delete and select-all commands to the current map
// window.
void WireEditCommands(TMainForm* frame);

// The frame's command of a tool mode (null for a value that is no mode).
QAction* ModeAction(TMainForm* frame, int mode);
