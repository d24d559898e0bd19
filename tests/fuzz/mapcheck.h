#pragma once

#include <QByteArray>
#include <QString>

// What a loaded map goes through, run on arbitrary bytes: reading, arc flags, a search between two
// stops picked from the input, the report of a found way, saving to memory and reading that back,
// then editing (a link added and one removed, a stop added and one deleted) and saving again.
// Shared by the fuzz target and the regression test that replays the inputs it once crashed on.

namespace lirsk::fuzz {

// Empty when every step held; otherwise what went wrong. Crashes and sanitizer reports are for
// the caller's build to catch.
QString checkMapBytes(const QByteArray& bytes);

// The bytes of a hex text: pairs of hex digits, whitespace ignored, lines from '#' on ignored.
// Empty with ok false when the text holds anything else or an odd count of digits.
QByteArray decodeHex(const QByteArray& text, bool* ok);

} // namespace lirsk::fuzz
