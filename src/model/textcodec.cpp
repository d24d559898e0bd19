#include "model/textcodec.h"

#include <QHash>
#include <QStringDecoder>

#include <array>

namespace lirsk {

namespace {

// The code page is single-byte: Qt's converter decodes each of the 256 bytes once, and both
// directions then go through that table (fast, and no converter state carried between texts).
struct CodePage {
    std::array<QChar, 256> toUnicode;
    QHash<char16_t, char> fromUnicode;

    CodePage() {
        QStringDecoder decoder("windows-1251");
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            const QString s = decoder.decode(QByteArrayView(&byte, 1));
            decoder.resetState();
            toUnicode[std::size_t(b)] =
                s.size() == 1 ? s.at(0) : QChar(QChar::ReplacementCharacter);
            if (s.size() == 1 && s.at(0) != QChar(QChar::ReplacementCharacter))
                fromUnicode.insert(s.at(0).unicode(), byte);
        }
    }
};

const CodePage& codePage() {
    static const CodePage page;
    return page;
}

} // namespace

QString decodeCp1251(QByteArrayView bytes) {
    const CodePage& page = codePage();
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* text = out.data(); // once: each out[i] would check that out is not shared
    for (qsizetype i = 0; i < bytes.size(); ++i)
        text[i] = page.toUnicode[std::uint8_t(bytes[i])];
    return out;
}

std::optional<QByteArray> encodeCp1251(const QString& text) {
    const CodePage& page = codePage();
    QByteArray out(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto it = page.fromUnicode.constFind(text[i].unicode());
        if (it == page.fromUnicode.constEnd())
            return std::nullopt;
        out[i] = *it;
    }
    return out;
}

bool fitsCp1251(const QString& text) {
    return encodeCp1251(text).has_value();
}

} // namespace lirsk
