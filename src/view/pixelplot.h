#pragma once

#include <QImage>
#include <QPointF>
#include <QRect>

class QPainter;

namespace lirsk {

// Far out, a map's links are a pixel or two long and its stops dots of a few pixels: drawn one by
// one as figures they cost many times the pixels they touch. A pixel plot sets those pixels
// straight into a picture of the part of the screen being painted and draws the picture at once.
// Whatever is plotted later covers what was plotted before: a pixel shows the last line or dot
// that falls on it. For screens only: files and paper keep their figures.
class PixelPlot {
public:
    // A plot of what the painter shows (its world transform a scale and a move, its clip the part
    // painted), in map coordinates.
    explicit PixelPlot(const QPainter& painter);

    // Colours are opaque (qRgb).
    // A line a screen pixel wide between two map points, its ends' pixels included.
    void line(const QPointF& from, const QPointF& to, QRgb colour);
    // A square centred on a map point, its side in map pixels: the screen pixels whose centres
    // it holds, at least the pixel of its centre.
    void square(const QPointF& centre, double side, QRgb colour);
    // Draws what was plotted onto the painter and starts empty again.
    void flush(QPainter& painter);

private:
    // Cuts a line (picture pixels) to the picture; false when none of it is there.
    bool clip(QPointF& a, QPointF& b) const;
    void set(int x, int y, QRgb colour);
    // The pixels from (left, top) up to but not including (right, bottom).
    void fill(int left, int top, int right, int bottom, QRgb colour);

    QPointF toPixels(const QPointF& point) const {
        return {point.x() * m_scaleX + m_dx, point.y() * m_scaleY + m_dy};
    }

    // Map coordinates to the picture's pixels: a scale and a move.
    double m_scaleX = 1, m_scaleY = 1, m_dx = 0, m_dy = 0;
    QRect m_onDevice; // where the picture lies on the painter's device
    int m_pen = 1;    // a line's width in the picture's pixels
    QImage m_picture;
    QRgb* m_bits = nullptr;
    qsizetype m_stride = 0; // pixels from one row to the next
    int m_width = 0, m_height = 0;
    bool m_plotted = false;
};

} // namespace lirsk
