#include "platform/colours.h"

#include <QGuiApplication>
#include <QPalette>

namespace lirsk {

namespace {

// The classic desktop values, for the numbers the palette has no role for.
constexpr QRgb kClassic[31] = {
    0xC8C8C8, 0x000000, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
    0x000000, 0x000000, 0xB4B4B4, 0xF4F7FC, 0xABABAB, 0x3399FF, 0xFFFFFF, 0xF0F0F0,
    0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
    0xFFFFE1, 0x000000, 0x0066CC, 0xB9D1EA, 0xD7E4F2, 0x3399FF, 0xF0F0F0,
};

} // namespace

QColor systemColour(int index) {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        const QPalette palette = QGuiApplication::palette();
        switch (index) {
        case 4:  // menu
        case 15: // button face
        case 30: // menu bar
            return palette.color(QPalette::Window);
        case 5: // window background
            return palette.color(QPalette::Base);
        case 7: // menu text
            return palette.color(QPalette::WindowText);
        case 8: // window text
            return palette.color(QPalette::Text);
        case 13: // highlight
        case 29: // menu highlight
            return palette.color(QPalette::Highlight);
        case 14:
            return palette.color(QPalette::HighlightedText);
        case 16:
            return palette.color(QPalette::Dark);
        case 17:
            return palette.color(QPalette::Disabled, QPalette::Text);
        case 18:
            return palette.color(QPalette::ButtonText);
        case 20:
            return palette.color(QPalette::Light);
        case 21:
            return palette.color(QPalette::Shadow);
        case 22:
            return palette.color(QPalette::Midlight);
        case 23:
            return palette.color(QPalette::ToolTipText);
        case 24:
            return palette.color(QPalette::ToolTipBase);
        case 26: // hot-tracked items
            return palette.color(QPalette::Link);
        default:
            break;
        }
    }
    if (index >= 0 && index < int(std::size(kClassic)))
        return QColor(kClassic[index]);
    return QColor(Qt::black);
}

QColor toQColor(Colour colour) {
    if ((colour & 0xFF000000u) == 0xFF000000u)
        return systemColour(int(colour & 0xFFu));
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

QColor windowColour() {
    return systemColour(5);
}

} // namespace lirsk
