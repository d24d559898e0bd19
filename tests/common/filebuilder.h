#pragma once

#include "model/mapfile.h"
#include "model/textcodec.h"

#include <QByteArray>
#include <QString>
#include <QtEndian>

#include <cstring>

namespace lirsktest {

using lirsk::kHeaderSize;
using lirsk::kLinkRecordSize;
using lirsk::kStopRecordSize;

// Writes map files field by field from the format's tables, independently of the writer.
class FileBuilder {
public:
    FileBuilder& header(int stopCount, int maxStopId = 0) {
        QByteArray h(kHeaderSize, '\0');
        h[0] = 1;                 // user weights
        h[1] = 0;                 // auto arc colour
        put32(h, 4, 0x00123456);  // arc colour
        h[8] = 1;                 // show weights
        put32(h, 12, 0x00FF0000); // tree colour
        put32(h, 16, 17);         // arrow size
        put64(h, 24, 2.5);        // arrow angle
        put32(h, 32, 1);          // arrow type
        put32(h, 36, 3);          // arc width
        put32(h, 40, maxStopId);
        put32(h, 44, stopCount);
        h[48] = 1; // search panel
        bytes += h;
        return *this;
    }
    FileBuilder& stop(int id, int left, int top, const QString& name, const QString& routes,
                      int size = 10, int radius = 6) {
        QByteArray r(kStopRecordSize, '\0');
        put32(r, 0, left);
        put32(r, 4, top);
        put32(r, 8, id);
        put32(r, 12, size);
        put32(r, 16, radius);
        put32(r, 20, 0x000000FF); // fill: red
        put32(r, 24, 0x00008000); // stop font colour
        put32(r, 28, 9);          // stop font size
        r[33] = 1;                // stop font italic
        put32(r, 36, left + 12);  // label left
        put32(r, 40, top - 3);    // label top
        r[44] = 1;                // label visible
        put32(r, 48, 11);         // label font size
        put32(r, 52, 0x00800000); // label font colour
        r[56] = 1;                // label bold
        r[59] = 1;                // label struck out
        bytes += r;
        string(QStringLiteral("Arial"));
        string(name);
        string(routes);
        string(QStringLiteral("Times New Roman"));
        return *this;
    }
    FileBuilder& link(int from, int to, double price, double length, double time) {
        QByteArray r(kLinkRecordSize, '\0');
        put32(r, 0, from);
        put32(r, 4, to);
        put64(r, 8, price);
        put64(r, 16, length);
        put64(r, 24, time);
        bytes += r;
        return *this;
    }
    FileBuilder& string(const QString& s) {
        const QByteArray b = *lirsk::encodeCp1251(s);
        QByteArray n(4, '\0');
        put32(n, 0, int(b.size()));
        bytes += n + b;
        return *this;
    }
    static void put32(QByteArray& b, int at, qint32 v) {
        qToLittleEndian<qint32>(v, b.data() + at);
    }
    static void put64(QByteArray& b, int at, double d) {
        quint64 bits;
        std::memcpy(&bits, &d, 8);
        qToLittleEndian<quint64>(bits, b.data() + at);
    }
    QByteArray bytes;
};

} // namespace lirsktest
