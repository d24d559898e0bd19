#pragma once

#include "i18n/language.h"

class MainWindow;
class QMenu;

// Installs the texts of `language` (the core's and the program's catalogues) and shows every
// window of the program in it: the texts kept on widgets and actions at once, and what each
// window writes itself on the QEvent::LanguageChange that follows.
void switchLanguage(lirsk::Language language);

// «Язык» under `parent`: «Русский» and «English», the language in use checked; a choice switches
// at once and the frame tells it by MainWindow::languageChosen.
void addLanguageMenu(MainWindow* frame, QMenu* parent);
