#include "platform/fonts.h"

#include <QFontDatabase>
#include <QHash>

#include <algorithm>
#include <cmath>

namespace lirsk {

namespace {

enum class Kind { Sans, Serif, Mono };

Kind kindOf(const QString& face) {
    const QString f = face.toLower();
    if (f.contains(QLatin1String("courier")) || f.contains(QLatin1String("mono")) ||
        f.contains(QLatin1String("console")) || f.contains(QLatin1String("fixedsys")) ||
        f.contains(QLatin1String("terminal")))
        return Kind::Mono;
    if (f.contains(QLatin1String("times")) || f.contains(QLatin1String("serif")) ||
        f.contains(QLatin1String("roman")) || f.contains(QLatin1String("georgia")) ||
        f.contains(QLatin1String("garamond")) || f.contains(QLatin1String("bookman")))
        return f.contains(QLatin1String("sans")) ? Kind::Sans : Kind::Serif;
    return Kind::Sans;
}

QStringList preferred(Kind kind) {
    switch (kind) {
    case Kind::Serif:
        return {"Liberation Serif", "Tinos", "DejaVu Serif", "Noto Serif", "Nimbus Roman"};
    case Kind::Mono:
        return {"Liberation Mono", "Cousine", "DejaVu Sans Mono", "Noto Mono", "Nimbus Mono PS"};
    case Kind::Sans:
        break;
    }
    return {"Liberation Sans", "Arimo", "DejaVu Sans", "Noto Sans", "Nimbus Sans"};
}

} // namespace

QString mapFontFace(const QString& storedFace) {
    static QHash<QString, QString> cache;
    const auto found = cache.constFind(storedFace);
    if (found != cache.constEnd())
        return *found;

    const QStringList cyrillic = QFontDatabase::families(QFontDatabase::Cyrillic);
    QString face;
    // A face that is installed with its Cyrillic letters is taken as it is, except the bitmap
    // faces of old Windows, which stand for the sans face of the desktop.
    if (!storedFace.isEmpty() && cyrillic.contains(storedFace, Qt::CaseInsensitive) &&
        storedFace.compare(QLatin1String("MS Sans Serif"), Qt::CaseInsensitive) != 0)
        face = storedFace;
    if (face.isEmpty()) {
        for (const QString& candidate : preferred(kindOf(storedFace)))
            if (cyrillic.contains(candidate)) {
                face = candidate;
                break;
            }
    }
    if (face.isEmpty())
        face = cyrillic.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::GeneralFont).family()
                                  : cyrillic.front();
    cache.insert(storedFace, face);
    return face;
}

QFont toQFont(const FontSpec& spec) {
    QFont font(mapFontFace(spec.Name));
    const double points = spec.Size == 0 ? 8 : std::abs(double(spec.Size));
    font.setPixelSize(int(std::clamp(std::lround(points * 96.0 / 72.0), 1L, 400L)));
    font.setBold(spec.Bold);
    font.setItalic(spec.Italic);
    font.setUnderline(spec.Underline);
    font.setStrikeOut(spec.StrikeOut);
    return font;
}

} // namespace lirsk
