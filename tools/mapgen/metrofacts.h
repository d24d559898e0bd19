#pragma once

#include <QList>
#include <QString>

#include <optional>

// The facts of one real metro network as the data/metro/facts files keep them: lines with their
// stations in running order, the segments between stations and the walking passages.

namespace mapgen {

struct Station {
    QString name; // as the facts write it
    double lat = 0;
    double lon = 0;
    int line = 0; // the line's number
    QString key() const { return name + QLatin1Char('@') + QString::number(line); }
};

struct Segment {
    int from = -1; // indices into MetroFacts::stations
    int to = -1;
    std::optional<double> lengthM;
    std::optional<double> timeS;
};

struct Transfer {
    int a = -1;
    int b = -1;
    std::optional<double> lengthM;
    std::optional<double> timeS;
};

struct Line {
    int number = 0;
    QString colour;      // "#RRGGBB"
    QList<int> stations; // indices into MetroFacts::stations, in running order
};

struct MetroFacts {
    QList<Line> lines;
    QList<Station> stations;
    QList<Segment> segments;
    QList<Transfer> transfers;

    // The station called "name@line", or -1.
    int find(const QString& key) const;
};

// Reads a facts file; on failure the error says what is wrong.
std::optional<MetroFacts> readFacts(const QString& path, QString* error);

} // namespace mapgen
