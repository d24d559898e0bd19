#include "view/pixelplot.h"

#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace lirsk {

PixelPlot::PixelPlot(const QPainter& painter) {
    const QPaintDevice* device = painter.device();
    const QTransform world = painter.worldTransform();
    QRect shown(0, 0, device->width(), device->height());
    if (painter.hasClipping())
        shown &= world.mapRect(painter.clipBoundingRect()).toAlignedRect();
    m_onDevice = shown;
    const double ratio = device->devicePixelRatio();
    m_pen = std::max(1, int(std::lround(ratio)));
    m_scaleX = world.m11() * ratio;
    m_scaleY = world.m22() * ratio;
    m_dx = (world.dx() - shown.x()) * ratio;
    m_dy = (world.dy() - shown.y()) * ratio;
    if (shown.isEmpty())
        return;
    m_picture = QImage(shown.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    m_picture.setDevicePixelRatio(ratio);
    m_picture.fill(Qt::transparent);
    m_bits = reinterpret_cast<QRgb*>(m_picture.bits());
    m_stride = m_picture.bytesPerLine() / qsizetype(sizeof(QRgb));
    m_width = m_picture.width();
    m_height = m_picture.height();
}

void PixelPlot::set(int x, int y, QRgb colour) {
    if (m_pen == 1) {
        if (x >= 0 && y >= 0 && x < m_width && y < m_height)
            m_bits[y * m_stride + x] = colour;
        return;
    }
    fill(x, y, x + m_pen, y + m_pen, colour);
}

void PixelPlot::fill(int left, int top, int right, int bottom, QRgb colour) {
    left = std::max(left, 0);
    right = std::min(right, m_width);
    if (left >= right)
        return;
    for (int row = std::max(top, 0); row < std::min(bottom, m_height); ++row)
        std::fill(m_bits + row * m_stride + left, m_bits + row * m_stride + right, colour);
}

bool PixelPlot::clip(QPointF& a, QPointF& b) const {
    // The part of the line over the picture (Liang and Barsky's clipping), a pixel to spare.
    const QPointF d = b - a;
    double enter = 0, leave = 1;
    const auto keep = [&](double towards, double room) {
        if (towards == 0)
            return room >= 0;
        const double t = room / towards;
        if (towards < 0)
            enter = std::max(enter, t);
        else
            leave = std::min(leave, t);
        return enter <= leave;
    };
    const double width = m_width + 1, height = m_height + 1;
    if (!keep(-d.x(), a.x() + 1) || !keep(d.x(), width - a.x()) || !keep(-d.y(), a.y() + 1) ||
        !keep(d.y(), height - a.y()))
        return false;
    b = a + leave * d;
    a += enter * d;
    return true;
}

void PixelPlot::line(const QPointF& from, const QPointF& to, QRgb colour) {
    if (!m_bits)
        return;
    QPointF a = toPixels(from), b = toPixels(to);
    const auto inside = [this](const QPointF& p) {
        return p.x() >= 0 && p.y() >= 0 && p.x() < m_width && p.y() < m_height;
    };
    // A line with both ends on the picture lies on it: no pixel of it needs a check.
    const bool within = inside(a) && inside(b) && m_pen == 1;
    if (!within && !clip(a, b))
        return;
    int x = int(std::floor(a.x())), y = int(std::floor(a.y()));
    const int endX = int(std::floor(b.x())), endY = int(std::floor(b.y()));
    // Bresenham's steps from pixel to pixel.
    const int across = std::abs(endX - x), down = -std::abs(endY - y);
    const int stepX = x < endX ? 1 : -1, stepY = y < endY ? 1 : -1;
    int error = across + down;
    for (;;) {
        if (within)
            m_bits[y * m_stride + x] = colour;
        else
            set(x, y, colour);
        if (x == endX && y == endY)
            break;
        const int twice = 2 * error;
        if (twice >= down) {
            error += down;
            x += stepX;
        }
        if (twice <= across) {
            error += across;
            y += stepY;
        }
    }
    m_plotted = true;
}

void PixelPlot::square(const QPointF& centre, double side, QRgb colour) {
    if (!m_bits)
        return;
    const QPointF c = toPixels(centre);
    const auto span = [](double middle, double half) {
        const int first = int(std::lround(middle - half)), last = int(std::lround(middle + half));
        const int own = int(std::floor(middle));
        return last > first ? std::pair{first, last} : std::pair{own, own + 1};
    };
    const auto [left, right] = span(c.x(), side * m_scaleX / 2);
    const auto [top, bottom] = span(c.y(), side * m_scaleY / 2);
    fill(left, top, right, bottom, colour);
    m_plotted = true;
}

void PixelPlot::flush(QPainter& painter) {
    if (!m_plotted)
        return;
    painter.save();
    painter.resetTransform();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(m_onDevice.topLeft(), m_picture);
    painter.restore();
    m_picture.fill(Qt::transparent);
    m_bits = reinterpret_cast<QRgb*>(m_picture.bits());
    m_plotted = false;
}

} // namespace lirsk
