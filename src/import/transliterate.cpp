#include "import/transliterate.h"

#include "model/textcodec.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

namespace lirsk {

struct Cp1251Fitter::Impl {
    std::unique_ptr<icu::Transliterator> latin;
};

Cp1251Fitter::Cp1251Fitter() : impl_(std::make_unique<Impl>()) {
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
    qsizetype k = 0;
    while (k < text.size()) {
        // A whole run of characters the code page lacks goes through the transliterator at
        // once, so that the words of a script keep their context (pinyin syllables, spacing).
        qsizetype end = k;
        while (end < text.size() && !fitsCp1251(text.mid(end, 1)))
            ++end;
        if (end == k) {
            result += text[k++];
            continue;
        }
        QString run = text.mid(k, end - k);
        if (impl_->latin) {
            icu::UnicodeString u(reinterpret_cast<const UChar*>(run.utf16()), int(run.size()));
            impl_->latin->transliterate(u);
            run = QString(reinterpret_cast<const QChar*>(u.getBuffer()), u.length());
        }
        for (const QChar c : run)
            if (fitsCp1251(QString(c)))
                result += c;
        k = end;
    }
    return result;
}

} // namespace lirsk
