#pragma once

#include <QCryptographicHash>
#include <QImage>
#include <QString>

namespace lirsktest {

// The MD5 of a picture's pixels (as 32-bit RGB), for pictures compared with the ones looked at.
inline QString hashOf(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QCryptographicHash hash(QCryptographicHash::Md5);
    for (int y = 0; y < rgb.height(); ++y)
        hash.addData(
            QByteArrayView(reinterpret_cast<const char*>(rgb.constScanLine(y)), rgb.width() * 4));
    return QString::fromLatin1(hash.result().toHex());
}

} // namespace lirsktest
