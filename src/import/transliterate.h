#pragma once

#include <QString>

#include <memory>

// Texts for the map file: what Windows-1251 cannot hold is written in Latin letters.

namespace lirsk {

class Cp1251Fitter {
public:
    // The feed's language (agency_lang, "ja"), when it has one: Japanese feeds read the Han
    // characters as Japanese, not as Chinese.
    explicit Cp1251Fitter(const QString& language = {});
    ~Cp1251Fitter();
    Cp1251Fitter(const Cp1251Fitter&) = delete;
    Cp1251Fitter& operator=(const Cp1251Fitter&) = delete;

    // The text with every run of characters that Windows-1251 lacks transliterated to Latin
    // (ü to u, Chinese to pinyin, Korean, Greek, Arabic by their own rules); the characters it
    // has, Cyrillic among them, stay as they are. A Japanese text (with kana, or any text of a
    // Japanese feed) is romanised as Japanese, each word capitalised ("Utsunomiyaeki
    // Higashiguchi"). What even the transliteration cannot give is left out, never written as
    // '?'.
    QString fit(const QString& text) const;
    // A name for the map file: the name itself when Windows-1251 holds it, else the feed's own
    // reading of it (a translation, or kana to romanise) when it gives one, else fit(name).
    QString fitName(const QString& name, const QString& reading) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace lirsk
