#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// Map files keep their texts in the single-byte Windows-1251 (Cyrillic) code page.

namespace lirsk {

QString decodeCp1251(QByteArrayView bytes);
// The bytes of the text, or nothing when some character has no Windows-1251 byte.
std::optional<QByteArray> encodeCp1251(const QString& text);
bool fitsCp1251(const QString& text);

} // namespace lirsk
