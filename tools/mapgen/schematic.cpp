#include "schematic.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace mapgen {

namespace {

struct Vec {
    double x = 0;
    double y = 0;
};

struct Rect {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;

    Rect grown(double by) const { return {left - by, top - by, right + by, bottom + by}; }
    double overlap(const Rect& o) const {
        const double w = std::min(right, o.right) - std::max(left, o.left);
        const double h = std::min(bottom, o.bottom) - std::max(top, o.top);
        return (w > 0 && h > 0) ? w * h : 0;
    }
    double area() const { return (right - left) * (bottom - top); }
};

// Whether a circle and a rectangle share any point.
bool circleMeetsRect(Vec c, double radius, const Rect& r) {
    const double nx = std::clamp(c.x, r.left, r.right), ny = std::clamp(c.y, r.top, r.bottom);
    return std::hypot(c.x - nx, c.y - ny) < radius;
}

// Length of the part of segment p-q inside the rectangle (Liang-Barsky clipping).
double insideLength(Vec p, Vec q, const Rect& r) {
    const double dx = q.x - p.x, dy = q.y - p.y;
    double t0 = 0, t1 = 1;
    const double pk[4] = {-dx, dx, -dy, dy};
    const double qk[4] = {p.x - r.left, r.right - p.x, p.y - r.top, r.bottom - p.y};
    for (int k = 0; k < 4; ++k) {
        if (pk[k] == 0) {
            if (qk[k] < 0)
                return 0;
            continue;
        }
        const double t = qk[k] / pk[k];
        if (pk[k] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return 0;
    }
    return (t1 - t0) * std::hypot(dx, dy);
}

// The direction of v turned to the nearest multiple of 45 degrees, as a unit vector.
Vec compassDirection(Vec v) {
    if (v.x == 0 && v.y == 0)
        return {1, 0};
    const double step = std::numbers::pi / 4;
    const double angle = std::round(std::atan2(v.y, v.x) / step) * step;
    return {std::cos(angle), std::sin(angle)};
}

// The geographic points with the centre spread out and the median line edge one unit long.
std::vector<Vec> normalisedGeography(const QList<LayoutNode>& nodes, const QList<LayoutEdge>& edges,
                                     double fisheye) {
    std::vector<Vec> g;
    Vec centre;
    for (const LayoutNode& n : nodes) {
        g.push_back({n.gx, n.gy});
        centre.x += n.gx / nodes.size();
        centre.y += n.gy / nodes.size();
    }
    double reach = 0;
    for (const Vec& p : g)
        reach = std::max(reach, std::hypot(p.x - centre.x, p.y - centre.y));
    if (reach > 0 && fisheye != 1) {
        for (Vec& p : g) {
            const double r = std::hypot(p.x - centre.x, p.y - centre.y);
            if (r == 0)
                continue;
            const double spread = reach * std::pow(r / reach, fisheye) / r;
            p = {centre.x + (p.x - centre.x) * spread, centre.y + (p.y - centre.y) * spread};
        }
    }
    std::vector<double> lengths;
    for (const LayoutEdge& e : edges)
        if (!e.transfer)
            lengths.push_back(std::hypot(g[e.b].x - g[e.a].x, g[e.b].y - g[e.a].y));
    double unit = 1;
    if (!lengths.empty()) {
        std::nth_element(lengths.begin(), lengths.begin() + lengths.size() / 2, lengths.end());
        unit = std::max(lengths[lengths.size() / 2], 1e-9);
    }
    for (Vec& p : g)
        p = {p.x / unit, p.y / unit};
    return g;
}

// Positions where every line edge runs in a compass direction with its schematic length as far
// as the stops' pull towards their geographic places allows: a least-squares fit, solved by
// conjugate gradients for x and y alike, the directions chosen anew after each round.
std::vector<Vec> schematicPositions(const std::vector<Vec>& g, const QList<LayoutEdge>& edges,
                                    const LayoutOptions& options) {
    constexpr double kTransferLength = 0.3;
    constexpr double kTransferWeight = 10;
    const std::size_t n = g.size();
    auto weight = [](const LayoutEdge& e) { return e.transfer ? kTransferWeight : 1.0; };
    // (a I + weighted Laplacian) v
    auto apply = [&](const std::vector<double>& v) {
        std::vector<double> out(n);
        for (std::size_t i = 0; i < n; ++i)
            out[i] = options.anchor * v[i];
        for (const LayoutEdge& e : edges) {
            const double d = weight(e) * (v[e.a] - v[e.b]);
            out[e.a] += d;
            out[e.b] -= d;
        }
        return out;
    };
    auto solve = [&](const std::vector<double>& rhs, std::vector<double> x) {
        std::vector<double> r = apply(x);
        for (std::size_t i = 0; i < n; ++i)
            r[i] = rhs[i] - r[i];
        std::vector<double> d = r;
        double rr = 0;
        for (double v : r)
            rr += v * v;
        for (std::size_t it = 0; it < 20 * n && rr > 1e-18; ++it) {
            const std::vector<double> ad = apply(d);
            double dad = 0;
            for (std::size_t i = 0; i < n; ++i)
                dad += d[i] * ad[i];
            const double alpha = rr / dad;
            double next = 0;
            for (std::size_t i = 0; i < n; ++i) {
                x[i] += alpha * d[i];
                r[i] -= alpha * ad[i];
                next += r[i] * r[i];
            }
            for (std::size_t i = 0; i < n; ++i)
                d[i] = r[i] + next / rr * d[i];
            rr = next;
        }
        return x;
    };
    std::vector<Vec> p = g;
    for (int round = 0; round < std::max(1, options.rounds); ++round) {
        std::vector<double> bx(n), by(n), x0(n), y0(n);
        for (std::size_t i = 0; i < n; ++i) {
            bx[i] = options.anchor * g[i].x;
            by[i] = options.anchor * g[i].y;
            x0[i] = p[i].x;
            y0[i] = p[i].y;
        }
        for (const LayoutEdge& e : edges) {
            const Vec d = compassDirection({p[e.b].x - p[e.a].x, p[e.b].y - p[e.a].y});
            const double length = weight(e) * (e.transfer ? kTransferLength : e.scale);
            bx[e.b] += d.x * length;
            by[e.b] += d.y * length;
            bx[e.a] -= d.x * length;
            by[e.a] -= d.y * length;
        }
        const std::vector<double> x = solve(bx, x0), y = solve(by, y0);
        for (std::size_t i = 0; i < n; ++i)
            p[i] = {x[i], y[i]};
    }
    return p;
}

// Scales the drawing into the canvas less its margins and centres it there; one axis may be
// stretched up to options.stretch times more than the other to fill the canvas.
void fitToCanvas(std::vector<Vec>& p, const LayoutOptions& options) {
    Rect box{1e300, 1e300, -1e300, -1e300};
    for (const Vec& v : p)
        box = {std::min(box.left, v.x), std::min(box.top, v.y), std::max(box.right, v.x),
               std::max(box.bottom, v.y)};
    const double roomX = options.width - 2.0 * options.marginX;
    const double roomY = options.height - 2.0 * options.marginY;
    const double w = std::max(box.right - box.left, 1e-9);
    const double h = std::max(box.bottom - box.top, 1e-9);
    const double scale = std::min(roomX / w, roomY / h);
    const double scaleX = std::min(roomX / w, scale * std::max(1.0, options.stretch));
    const double scaleY = std::min(roomY / h, scale * std::max(1.0, options.stretch));
    const double offX = options.marginX + (roomX - w * scaleX) / 2;
    const double offY = options.marginY + (roomY - h * scaleY) / 2;
    for (Vec& v : p)
        v = {offX + (v.x - box.left) * scaleX, offY + (v.y - box.top) * scaleY};
}

// Moves stops apart until no two circles come closer than the gap, with the stops of a passage
// side by side at their own gap.
void separateStops(std::vector<Vec>& p, const std::vector<Vec>& g, const QList<LayoutEdge>& edges,
                   const LayoutOptions& options) {
    const int n = int(p.size());
    std::vector<std::vector<bool>> paired(n, std::vector<bool>(n, false));
    for (const LayoutEdge& e : edges)
        if (e.transfer)
            paired[e.a][e.b] = paired[e.b][e.a] = true;
    const double pairDistance = options.stopSize + options.transferGap;
    const double leastDistance = options.stopSize + options.stopGap;
    for (int iteration = 0; iteration < 400; ++iteration) {
        bool moved = false;
        for (int i = 0; i < n; ++i) {
            for (int j = i + 1; j < n; ++j) {
                const double dx = p[j].x - p[i].x, dy = p[j].y - p[i].y;
                const double d = std::hypot(dx, dy);
                const bool pair = paired[i][j];
                const double want = pair ? pairDistance : leastDistance;
                if (!pair && d >= want)
                    continue;
                if (pair && std::abs(d - want) < 0.25)
                    continue;
                if (d < 1e-6) {
                    // Stops on one point part towards their geographic places.
                    const Vec dir = compassDirection({g[j].x - g[i].x, g[j].y - g[i].y});
                    p[j] = {p[i].x + dir.x * 0.01, p[i].y + dir.y * 0.01};
                    moved = true;
                    continue;
                }
                const double shift = (want - d) / 2 / d;
                p[i] = {p[i].x - dx * shift, p[i].y - dy * shift};
                p[j] = {p[j].x + dx * shift, p[j].y + dy * shift};
                moved = true;
            }
        }
        if (!moved)
            break;
    }
}

struct Side {
    const char* name;
    int preference; // lower is better
};
constexpr Side kSides[] = {{"e", 0},  {"w", 1},  {"se", 3}, {"ne", 3},
                           {"sw", 4}, {"nw", 4}, {"s", 5},  {"n", 5}};

// Top-left corner of a label of size w x h beside the box on the given side; shift 1 and 2 slide
// it along the box (up or down beside it, left or right above or below it, further out on the
// diagonals).
Vec labelCorner(const Rect& box, int side, int shift, double w, double h, double gap) {
    const double cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
    const double along = shift == 0 ? 0 : (shift == 1 ? -1 : 1);
    switch (side) {
    case 0:
        return {box.right + gap, cy - h / 2 + along * (h / 2 + 1)};
    case 1:
        return {box.left - gap - w, cy - h / 2 + along * (h / 2 + 1)};
    case 2:
        return {box.right + std::abs(along) * gap, box.bottom - 2 + std::abs(along) * gap};
    case 3:
        return {box.right + std::abs(along) * gap, box.top - h + 2 - std::abs(along) * gap};
    case 4:
        return {box.left - w - std::abs(along) * gap, box.bottom - 2 + std::abs(along) * gap};
    case 5:
        return {box.left - w - std::abs(along) * gap, box.top - h + 2 - std::abs(along) * gap};
    case 6:
        return {cx - w / 2 + along * (w / 2 - 4), box.bottom + gap};
    default:
        return {cx - w / 2 + along * (w / 2 - 4), box.top - gap - h};
    }
}

constexpr int kShifts = 3;
constexpr double kShiftPenalty = 2;

struct LabelJob {
    int node = -1;
    Rect box; // the circles the label names
    double width = 0;
    double height = 0;
    int forcedSide = -1;
    Vec nudge;
    Rect rect;
    bool placed = false;
};

// The names to place: one for each stop that shows one, around the circles of its interchange.
std::vector<LabelJob> labelJobs(const QList<LayoutNode>& nodes,
                                const std::vector<Rect>& stopRects) {
    std::vector<LabelJob> jobs;
    const int n = int(nodes.size());
    for (int i = 0; i < n; ++i) {
        if (!nodes[i].showLabel)
            continue;
        LabelJob job;
        job.node = i;
        job.box = stopRects[i];
        if (nodes[i].group >= 0)
            for (int j = 0; j < n; ++j)
                if (nodes[j].group == nodes[i].group)
                    job.box = {std::min(job.box.left, stopRects[j].left),
                               std::min(job.box.top, stopRects[j].top),
                               std::max(job.box.right, stopRects[j].right),
                               std::max(job.box.bottom, stopRects[j].bottom)};
        job.width = nodes[i].labelWidth;
        job.height = nodes[i].labelHeight;
        for (int s = 0; s < 8; ++s)
            if (nodes[i].labelSide == QLatin1String(kSides[s].name))
                job.forcedSide = s;
        job.nudge = {double(nodes[i].labelDx), double(nodes[i].labelDy)};
        jobs.push_back(job);
    }
    return jobs;
}

// Where the lengths of the edges are written: at their midpoints.
std::vector<Rect> edgeTextRects(const QList<LayoutEdge>& edges, const QList<Placement>& result) {
    std::vector<Rect> edgeTexts;
    for (const LayoutEdge& e : edges)
        if (e.textWidth > 0) {
            const double mx = std::round((result[e.a].centreX + result[e.b].centreX) / 2.0);
            const double my = std::round((result[e.a].centreY + result[e.b].centreY) / 2.0);
            edgeTexts.push_back({mx, my, mx + e.textWidth, my + e.textHeight});
        }
    return edgeTexts;
}

// Stops that overlap, and names that leave the canvas or cover a stop, a length or a name.
void warnOfOverlaps(const QList<LayoutNode>& nodes, const QList<Placement>& result,
                    const std::vector<LabelJob>& jobs, const std::vector<Rect>& edgeTexts,
                    const LayoutOptions& options, QStringList* warnings) {
    const int n = int(nodes.size());
    const Rect canvas{0, 0, double(options.width), double(options.height)};
    auto centre = [&](int i) { return Vec{double(result[i].centreX), double(result[i].centreY)}; };
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j)
            if (std::hypot(centre(i).x - centre(j).x, centre(i).y - centre(j).y) <=
                options.stopSize)
                *warnings
                    << QStringLiteral("stops %1 and %2 overlap").arg(nodes[i].name, nodes[j].name);
    for (std::size_t k = 0; k < jobs.size(); ++k) {
        const Rect& r = jobs[k].rect;
        const QString& who = nodes[jobs[k].node].name;
        if (r.overlap(canvas) < r.area())
            *warnings << QStringLiteral("the name of %1 leaves the canvas").arg(who);
        for (int j = 0; j < n; ++j)
            if (circleMeetsRect(centre(j), options.stopSize / 2.0, r))
                *warnings
                    << QStringLiteral("the name of %1 covers the stop %2").arg(who, nodes[j].name);
        for (const Rect& t : edgeTexts)
            if (r.overlap(t) > 0)
                *warnings << QStringLiteral("the name of %1 covers the length of a link").arg(who);
        for (std::size_t m = k + 1; m < jobs.size(); ++m)
            if (r.overlap(jobs[m].rect) > 0)
                *warnings << QStringLiteral("the names of %1 and %2 overlap")
                                 .arg(who, nodes[jobs[m].node].name);
    }
}

// Each name at the side of its stops where it covers the least: the most crowded stops choose
// first, then every name chooses again among the others.
void placeLabels(std::vector<LabelJob>& jobs, const std::vector<Rect>& stopRects,
                 const std::vector<Rect>& edgeTexts, const QList<LayoutEdge>& edges,
                 const std::vector<Vec>& p, const LayoutOptions& options) {
    const Rect canvas{0, 0, double(options.width), double(options.height)};
    auto cost = [&](const LabelJob& job, int side, int shift, std::size_t self, Rect* out) {
        const Vec c = labelCorner(job.box, side, shift, job.width, job.height, options.labelGap);
        const Rect r{c.x + job.nudge.x, c.y + job.nudge.y, c.x + job.nudge.x + job.width,
                     c.y + job.nudge.y + job.height};
        *out = r;
        double total = kSides[side].preference + (shift ? kShiftPenalty : 0);
        if (job.forcedSide >= 0 && side != job.forcedSide)
            total += 1e9;
        total += 1e6 * (r.area() - r.overlap(canvas));
        const Rect padded = r.grown(1);
        for (const Rect& s : stopRects)
            total += 1e4 * padded.overlap(s.grown(-1));
        for (const Rect& t : edgeTexts)
            total += 1e4 * padded.overlap(t);
        for (std::size_t k = 0; k < jobs.size(); ++k)
            if (k != self && jobs[k].placed)
                total += 1e4 * r.grown(2).overlap(jobs[k].rect);
        for (const LayoutEdge& e : edges)
            total += 50 * insideLength(p[e.a], p[e.b], r);
        return total;
    };
    auto place = [&](std::size_t k) {
        double best = 1e300;
        for (int side = 0; side < 8; ++side) {
            for (int shift = 0; shift < kShifts; ++shift) {
                Rect r;
                const double c = cost(jobs[k], side, shift, k, &r);
                if (c < best) {
                    best = c;
                    jobs[k].rect = r;
                }
            }
        }
        jobs[k].placed = true;
    };
    std::vector<std::size_t> order(jobs.size());
    std::vector<int> crowd(jobs.size(), 0);
    for (std::size_t k = 0; k < jobs.size(); ++k) {
        order[k] = k;
        for (const Vec& at : p)
            if (std::hypot(at.x - p[jobs[k].node].x, at.y - p[jobs[k].node].y) < 60)
                ++crowd[k];
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return crowd[a] > crowd[b]; });
    for (int pass = 0; pass < 6; ++pass)
        for (std::size_t k : order)
            place(k);
}

} // namespace

QList<Placement> layOutDiagram(const QList<LayoutNode>& nodes, const QList<LayoutEdge>& edges,
                               const LayoutOptions& options, QStringList* warnings) {
    const int n = int(nodes.size());
    QList<Placement> result(n);
    if (n == 0)
        return result;
    const std::vector<Vec> g = normalisedGeography(nodes, edges, options.fisheye);
    std::vector<Vec> p = schematicPositions(g, edges, options);
    fitToCanvas(p, options);
    for (int i = 0; i < n; ++i)
        p[i] = {p[i].x + nodes[i].nudgeX, p[i].y + nodes[i].nudgeY};
    separateStops(p, g, edges, options);

    const int radius = options.stopSize / 2;
    std::vector<Rect> stopRects(n);
    for (int i = 0; i < n; ++i) {
        result[i].centreX = int(std::lround(p[i].x));
        result[i].centreY = int(std::lround(p[i].y));
        const double left = result[i].centreX - radius, top = result[i].centreY - radius;
        stopRects[i] = {left, top, left + options.stopSize, top + options.stopSize};
    }

    // The texts drawn at the midpoints of edges (their lengths) are obstacles for the names.
    const std::vector<Rect> edgeTexts = edgeTextRects(edges, result);

    std::vector<LabelJob> jobs = labelJobs(nodes, stopRects);

    placeLabels(jobs, stopRects, edgeTexts, edges, p, options);

    for (const LabelJob& job : jobs) {
        result[job.node].labelLeft = int(std::lround(job.rect.left));
        result[job.node].labelTop = int(std::lround(job.rect.top));
    }
    for (int i = 0; i < n; ++i)
        if (!nodes[i].showLabel) {
            result[i].labelLeft = result[i].centreX + radius + options.labelGap;
            result[i].labelTop = result[i].centreY - nodes[i].labelHeight / 2;
        }

    if (warnings)
        warnOfOverlaps(nodes, result, jobs, edgeTexts, options, warnings);
    return result;
}

} // namespace mapgen
