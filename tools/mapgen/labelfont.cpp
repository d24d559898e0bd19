#include "labelfont.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace mapgen {

namespace {

struct Advance {
    char16_t ch;
    int units; // advance width in thousandths of the em
};

// Advance widths of the characters that station names use, sorted by character.
constexpr Advance kAdvances[] = {
    {0x0020, 278}, {0x0028, 333}, {0x0029, 333}, {0x002C, 278}, {0x002D, 333}, {0x002E, 278},
    {0x0030, 556}, {0x0031, 556}, {0x0032, 556}, {0x0033, 556}, {0x0034, 556}, {0x0035, 556},
    {0x0036, 556}, {0x0037, 556}, {0x0038, 556}, {0x0039, 556}, {0x0041, 667}, {0x0042, 667},
    {0x0043, 722}, {0x0044, 722}, {0x0045, 667}, {0x0046, 611}, {0x0047, 778}, {0x0048, 722},
    {0x0049, 278}, {0x004A, 500}, {0x004B, 667}, {0x004C, 556}, {0x004D, 833}, {0x004E, 722},
    {0x004F, 778}, {0x0050, 667}, {0x0051, 778}, {0x0052, 722}, {0x0053, 667}, {0x0054, 611},
    {0x0055, 722}, {0x0056, 667}, {0x0057, 944}, {0x0058, 667}, {0x0059, 667}, {0x005A, 611},
    {0x0061, 556}, {0x0062, 556}, {0x0063, 500}, {0x0064, 556}, {0x0065, 556}, {0x0066, 278},
    {0x0067, 556}, {0x0068, 556}, {0x0069, 222}, {0x006A, 222}, {0x006B, 500}, {0x006C, 222},
    {0x006D, 833}, {0x006E, 556}, {0x006F, 556}, {0x0070, 556}, {0x0071, 556}, {0x0072, 333},
    {0x0073, 500}, {0x0074, 278}, {0x0075, 556}, {0x0076, 500}, {0x0077, 722}, {0x0078, 500},
    {0x0079, 500}, {0x007A, 500}, {0x00AB, 556}, {0x00BB, 556}, {0x0401, 667}, {0x0410, 667},
    {0x0411, 656}, {0x0412, 667}, {0x0413, 542}, {0x0414, 677}, {0x0415, 667}, {0x0416, 923},
    {0x0417, 604}, {0x0418, 719}, {0x0419, 719}, {0x041A, 583}, {0x041B, 656}, {0x041C, 833},
    {0x041D, 722}, {0x041E, 778}, {0x041F, 719}, {0x0420, 667}, {0x0421, 722}, {0x0422, 611},
    {0x0423, 635}, {0x0424, 760}, {0x0425, 667}, {0x0426, 740}, {0x0427, 667}, {0x0428, 917},
    {0x0429, 938}, {0x042A, 792}, {0x042B, 885}, {0x042C, 656}, {0x042D, 719}, {0x042E, 1010},
    {0x042F, 722}, {0x0430, 556}, {0x0431, 573}, {0x0432, 531}, {0x0433, 365}, {0x0434, 583},
    {0x0435, 556}, {0x0436, 669}, {0x0437, 458}, {0x0438, 559}, {0x0439, 559}, {0x043A, 438},
    {0x043B, 583}, {0x043C, 688}, {0x043D, 552}, {0x043E, 556}, {0x043F, 542}, {0x0440, 556},
    {0x0441, 500}, {0x0442, 458}, {0x0443, 500}, {0x0444, 823}, {0x0445, 500}, {0x0446, 573},
    {0x0447, 521}, {0x0448, 802}, {0x0449, 823}, {0x044A, 625}, {0x044B, 719}, {0x044C, 521},
    {0x044D, 510}, {0x044E, 750}, {0x044F, 542}, {0x0451, 556}, {0x2013, 556},
};

constexpr int kUnknownAdvance = 722; // as wide as a capital letter
constexpr double kAscentPlusDescent = 1.117;
constexpr double kHintingAllowance = 1.03;

double pixelsPerEm(int points) {
    return points * 96.0 / 72.0;
}

} // namespace

int arialTextWidth(const QString& text, int points) {
    double units = 0;
    for (QChar c : text) {
        const auto* it = std::lower_bound(std::begin(kAdvances), std::end(kAdvances), c.unicode(),
                                          [](const Advance& a, char16_t ch) { return a.ch < ch; });
        units += (it != std::end(kAdvances) && it->ch == c.unicode()) ? it->units : kUnknownAdvance;
    }
    // Hinting at small sizes widens the text a little against the outlines' advances.
    return int(std::ceil(units / 1000.0 * pixelsPerEm(points) * kHintingAllowance)) + 2;
}

int arialLineHeight(int points) {
    return int(std::ceil(kAscentPlusDescent * pixelsPerEm(points)));
}

} // namespace mapgen
