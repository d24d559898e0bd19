#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace lirsk {

// The languages the program and gaftool speak. Russian is the source of every text; English
// comes from the translation catalogues built into the program.
enum class Language { Russian, English };

// The language the user's environment asks for: English when the locale (LC_ALL, LC_MESSAGES,
// LANG, and LANGUAGE's first choice where the locale is not C) is English, else Russian.
Language languageFromEnvironment();

// "ru" or "en" (a region such as "en_GB" is allowed); nothing for any other.
std::optional<Language> languageFromCode(const QString& code);
QString languageCode(Language language);

// Installs the texts of `language`: the core's catalogue, each of `catalogues` (the names of
// further catalogues built in, such as the program's own) and, in Russian, the toolkit's own
// dialogs and buttons. What an earlier call installed is removed first, so the language can be
// switched while the program runs.
void setLanguage(Language language, const QStringList& catalogues = {});

// The language last set by setLanguage (Russian before any call).
Language currentLanguage();

} // namespace lirsk
