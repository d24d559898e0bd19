#include "import/transliterate.h"

#include "model/textcodec.h"

#include <QHash>

// kakasi's header is C's and says so to no C++ compiler.
extern "C" {
#include <libkakasi.h>
}
#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <bitset>
#include <mutex>

namespace lirsk {

namespace {

// Runs already transliterated are kept, up to this many, so that a text that repeats a few
// foreign letters costs one transliteration each.
constexpr qsizetype kKeptRuns = 1 << 16;

bool isKana(char32_t c) {
    return (c >= 0x3040 && c <= 0x30FF) || (c >= 0x31F0 && c <= 0x31FF) ||
           (c >= 0xFF66 && c <= 0xFF9F);
}

bool isHan(char32_t c) {
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) ||
           (c >= 0xF900 && c <= 0xFAFF) || c == 0x3005; // 々 repeats the kanji before it
}

// Kakasi reads kanji as Japanese. It keeps its options and dictionary in globals: one text at a
// time, whichever thread asks.
std::mutex kakasiLock;
bool kakasiReady = false;

// The romaji of a Japanese text, its words separated by spaces; empty when kakasi cannot read it.
QString kakasiRomaji(const QString& text) {
    const std::lock_guard lock(kakasiLock);
    if (!kakasiReady) {
        // Kanji, hiragana, katakana and full-width signs to ASCII, words apart.
        static char name[] = "kakasi", kanji[] = "-Ja", hiragana[] = "-Ha", katakana[] = "-Ka",
                    signs[] = "-Ea", split[] = "-s";
        char* argv[] = {name, kanji, hiragana, katakana, signs, split, nullptr};
        if (kakasi_getopt_argv(6, argv) != 0)
            return QString();
        kakasiReady = true;
    }
    // Kakasi reads and writes EUC-JP.
    const icu::UnicodeString u(reinterpret_cast<const UChar*>(text.utf16()), int(text.size()));
    const int32_t size = u.extract(0, u.length(), nullptr, 0, "EUC-JP");
    std::string euc(std::size_t(size) + 1, '\0');
    u.extract(0, u.length(), euc.data(), uint32_t(euc.size()), "EUC-JP");
    char* romaji = kakasi_do(euc.data());
    if (!romaji)
        return QString();
    const icu::UnicodeString back(romaji, "EUC-JP");
    kakasi_free(romaji);
    // A character EUC-JP lacks came back as a substitute: it is left out.
    QString result;
    for (const QChar c : QString(reinterpret_cast<const QChar*>(back.getBuffer()), back.length()))
        if (c.unicode() >= 0x20 && (c != QLatin1Char('?') || text.contains(c)))
            result += c;
    return result;
}

// Romaji as a name reads: each word capitalised, kakasi's mark of a long vowel ("senta^") left
// out, single spaces.
QString nameCase(const QString& romaji) {
    QString result;
    bool wordStart = true;
    for (const QChar c : romaji) {
        if (c == QLatin1Char('^'))
            continue;
        if (c.isSpace()) {
            if (!wordStart && !result.isEmpty())
                result += QLatin1Char(' ');
            wordStart = true;
            continue;
        }
        result += wordStart ? c.toUpper() : c;
        wordStart = false;
    }
    return result.trimmed();
}

} // namespace

struct Cp1251Fitter::Impl {
    std::unique_ptr<icu::Transliterator> latin;
    std::bitset<0x10000> fits; // the characters Windows-1251 has
    QHash<QString, QString> runs;
    bool japaneseFeed = false;

    QString transliterated(const QString& run) {
        const auto kept = runs.constFind(run);
        if (kept != runs.constEnd())
            return *kept;
        QString result;
        if (latin) {
            icu::UnicodeString u(reinterpret_cast<const UChar*>(run.utf16()), int(run.size()));
            latin->transliterate(u);
            for (const QChar c : QString(reinterpret_cast<const QChar*>(u.getBuffer()), u.length()))
                if (fits.test(c.unicode()))
                    result += c;
        }
        if (runs.size() >= kKeptRuns)
            runs.clear();
        runs.insert(run, result);
        return result;
    }

    // Every run of characters the code page lacks through ICU, the others as they are.
    QString byRuns(const QString& text) {
        QString result;
        for (qsizetype k = 0; k < text.size();) {
            // A whole run goes through the transliterator at once, so that the words of a script
            // keep their context (pinyin syllables, spacing).
            qsizetype end = k;
            while (end < text.size() && !fits.test(text[end].unicode()))
                ++end;
            if (end == k) {
                result += text[k++];
                continue;
            }
            result += transliterated(text.mid(k, end - k));
            k = end;
        }
        return result;
    }

    // Kana make a text Japanese; in a Japanese feed, kanji do too.
    bool isJapanese(const QString& text) const {
        bool han = false;
        for (const char32_t c : text.toUcs4()) {
            if (isKana(c))
                return true;
            han = han || isHan(c);
        }
        return han && japaneseFeed;
    }

    QString japanese(const QString& text) {
        bool han = false;
        for (const char32_t c : text.toUcs4())
            han = han || isHan(c);
        // Kana alone read the same everywhere; ICU writes them in Hepburn.
        const QString romaji = han ? kakasiRomaji(text) : QString();
        return nameCase(byRuns(romaji.isEmpty() ? text : romaji));
    }
};

Cp1251Fitter::Cp1251Fitter(const QString& language) : impl_(std::make_unique<Impl>()) {
    for (int byte = 0; byte < 256; ++byte) {
        const char raw = char(byte);
        const QString c = decodeCp1251(QByteArrayView(&raw, 1));
        if (c.size() == 1 && fitsCp1251(c))
            impl_->fits.set(c[0].unicode());
    }
    impl_->japaneseFeed = language.section(QLatin1Char('-'), 0, 0).toLower() == QLatin1String("ja");
    UErrorCode status = U_ZERO_ERROR;
    impl_->latin.reset(icu::Transliterator::createInstance(
        icu::UnicodeString::fromUTF8("Any-Latin; Latin-ASCII"), UTRANS_FORWARD, status));
    if (U_FAILURE(status))
        impl_->latin.reset();
}

Cp1251Fitter::~Cp1251Fitter() = default;

QString Cp1251Fitter::fit(const QString& text) const {
    if (fitsCp1251(text))
        return text;
    return impl_->isJapanese(text) ? impl_->japanese(text) : impl_->byRuns(text);
}

QString Cp1251Fitter::fitName(const QString& name, const QString& reading) const {
    if (fitsCp1251(name) || reading.trimmed().isEmpty())
        return fit(name);
    const QString read = fitsCp1251(reading)          ? reading
                         : impl_->isJapanese(reading) ? impl_->japanese(reading)
                                                      : impl_->byRuns(reading);
    return read.trimmed().isEmpty() ? fit(name) : read;
}

} // namespace lirsk
