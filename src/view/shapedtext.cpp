#include "view/shapedtext.h"

#include <QHash>
#include <QPaintEngine>
#include <QPainter>
#include <QStaticText>

#include <algorithm>

#include <vector>

namespace lirsk {

namespace {

// The texts shaped in a few fonts seen last; a font's texts are forgotten when they grow many.
class ShapedTexts {
public:
    const QStaticText& shaped(const QFont& font, const QString& text) {
        auto kept = std::find_if(m_fonts.begin(), m_fonts.end(),
                                 [&](const Shaped& shaped) { return shaped.font == font; });
        if (kept == m_fonts.end()) {
            if (m_fonts.size() >= kMostFonts)
                m_fonts.erase(m_fonts.begin());
            m_fonts.push_back({font, {}});
            kept = m_fonts.end() - 1;
        }
        QHash<QString, QStaticText>& texts = kept->texts;
        auto it = texts.find(text);
        if (it != texts.end())
            return *it;
        if (texts.size() >= kMostTexts)
            texts.clear();
        QStaticText shaped(text);
        shaped.setTextFormat(Qt::PlainText);
        shaped.setPerformanceHint(QStaticText::AggressiveCaching);
        return *texts.insert(text, shaped);
    }

private:
    static constexpr std::size_t kMostFonts = 8;
    static constexpr qsizetype kMostTexts = 50000;
    struct Shaped {
        QFont font;
        QHash<QString, QStaticText> texts;
    };
    std::vector<Shaped> m_fonts;
};

} // namespace

void drawPlainText(QPainter& painter, const QPoint& topLeft, int ascent, const QString& text) {
    // Scaled, or on another engine (PDF, SVG), the text is shaped where it is drawn: kept
    // shapes are the raster engine's, and scaled they are placed a little differently.
    const QPaintEngine* engine = painter.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster ||
        painter.transform().type() > QTransform::TxTranslate) {
        painter.drawText(QPoint(topLeft.x(), topLeft.y() + ascent), text);
        return;
    }
    static ShapedTexts texts;
    painter.drawStaticText(topLeft, texts.shaped(painter.font(), text));
}

} // namespace lirsk
