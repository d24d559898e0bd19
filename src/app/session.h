#pragma once

#include "i18n/language.h"

#include <QString>

class MainWindow;
class MapWindow;

// What the program remembers across starts, in a settings file: the open maps (map files and
// built-in entries) with each window's zoom and position, the frame's size and panels, the search
// criterion, the language chosen in «Язык», and the last journey's ends on each map. A map or a
// stop that is gone by the next start is left out with a note in the status line.
//
// Starts keeping the frame's session in the settings file (empty: the user's own,
// ~/.config/lirskmap.conf), and opens what
// the last run left open, but for maps already open (restored from crash copies).
void keepSession(MainWindow* frame, const QString& settingsFile = QString());

// The key a map is remembered by: its built-in path, or its file's absolute path; empty for a
// map without a file.
QString sessionKey(MapWindow* window);

// The language the program starts in: the one chosen in «Язык» last (in the settings file;
// empty: the user's own), else the locale's.
lirsk::Language startLanguage(const QString& settingsFile = QString());
