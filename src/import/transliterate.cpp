#include "import/transliterate.h"

#include "model/textcodec.h"

#include <QHash>

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <bitset>

namespace lirsk {

namespace {

// Runs already transliterated are kept, up to this many, so that a text that repeats a few
// foreign letters costs one transliteration each.
constexpr qsizetype kKeptRuns = 1 << 16;

} // namespace

struct Cp1251Fitter::Impl {
    std::unique_ptr<icu::Transliterator> latin;
    std::bitset<0x10000> fits; // the characters Windows-1251 has
    QHash<QString, QString> runs;

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
};

Cp1251Fitter::Cp1251Fitter() : impl_(std::make_unique<Impl>()) {
    for (int byte = 0; byte < 256; ++byte) {
        const char raw = char(byte);
        const QString c = decodeCp1251(QByteArrayView(&raw, 1));
        if (c.size() == 1 && fitsCp1251(c))
            impl_->fits.set(c[0].unicode());
    }
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
    QString result;
    for (qsizetype k = 0; k < text.size();) {
        // A whole run of characters the code page lacks goes through the transliterator at
        // once, so that the words of a script keep their context (pinyin syllables, spacing).
        qsizetype end = k;
        while (end < text.size() && !impl_->fits.test(text[end].unicode()))
            ++end;
        if (end == k) {
            result += text[k++];
            continue;
        }
        result += impl_->transliterated(text.mid(k, end - k));
        k = end;
    }
    return result;
}

} // namespace lirsk
