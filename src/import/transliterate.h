#pragma once

#include <QString>

#include <memory>

// Texts for the map file: what Windows-1251 cannot hold is written in Latin letters.

namespace lirsk {

class Cp1251Fitter {
public:
    Cp1251Fitter();
    ~Cp1251Fitter();
    Cp1251Fitter(const Cp1251Fitter&) = delete;
    Cp1251Fitter& operator=(const Cp1251Fitter&) = delete;

    // The text with every run of characters that Windows-1251 lacks transliterated to Latin
    // (ü to u, Chinese to pinyin); the characters it has, Cyrillic among them, stay as they are.
    // What even the transliteration cannot give is left out, never written as '?'.
    QString fit(const QString& text) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace lirsk
