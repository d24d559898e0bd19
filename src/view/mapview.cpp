#include "view/mapview.h"

#include "view/maprenderer.h"
#include "view/occupiedarea.h"

#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace lirsk {

namespace {

// How often a held drag near the viewport's edge scrolls (mapviewinput.cpp).
constexpr int kAutoScrollInterval = 30;

} // namespace

MapView::MapView(MapDocument* document, QWidget* parent)
    : QAbstractScrollArea(parent), document_(document) {
    setFrameShape(QFrame::NoFrame);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    autoScroll_ = new QTimer(this);
    autoScroll_->setInterval(kAutoScrollInterval);
    connect(autoScroll_, &QTimer::timeout, this, &MapView::autoScroll);
    connect(document_, &MapDocument::changed, this,
            [this](MapChanges what, const std::vector<StopIndex>& stops) {
                // Stops moved alone are moved in the index; anything else renews it.
                if (what == MapChange::Place && !stops.empty()) {
                    stopsMoved(stops);
                    return;
                }
                ++contentGeneration_;
                indexRevision_ = ~quint64(0);
                namesStale_ = true;
                updateMapSize();
                repaintMap();
            });
    connect(document_, &MapDocument::foundWayChanged, this, [this] {
        // The stops of a found way rank first for a place for their names.
        ++namesGeneration_;
        namesStale_ = true;
        repaintMap();
    });
    connect(document_, &MapDocument::selectionChanged, this,
            [this](const std::vector<StopIndex>& stops) {
                ++contentGeneration_;
                namesStale_ = true;
                if (stops.empty() || zoom_ < 1.0) {
                    repaintMap();
                    return;
                }
                for (const StopIndex stop : stops)
                    repaintMap(stopBox(document_->map().stop(stop)));
            });
    updateMapSize();
}

MapView::~MapView() = default;

void MapView::setPicture(const QImage& picture) {
    ++contentGeneration_;
    picture_ = picture;
    updateMapSize();
    repaintMap();
}

void MapView::setChosenEnd(const std::optional<ChosenEnd>& end) {
    const GraphMap& map = document_->map();
    if (chosenEnd_ && map.isStop(chosenEnd_->stop))
        repaintMap(stopBox(map.stop(chosenEnd_->stop)).adjusted(-8, -8, 8, 8));
    chosenEnd_ = end;
    if (chosenEnd_)
        repaintMap(stopBox(map.stop(chosenEnd_->stop)).adjusted(-8, -8, 8, 8));
}

void MapView::setRubberBand(const std::optional<RubberBand>& band) {
    const auto areaOf = [this](const RubberBand& b) {
        const int pad = std::max(document_->map().Settings.ArrowSize, 0) + 8;
        return QRect(b.from, b.to).normalized().adjusted(-pad, -pad, pad, pad);
    };
    if (band_)
        repaintMap(areaOf(*band_));
    band_ = band;
    if (band_)
        repaintMap(areaOf(*band_));
}

void MapView::setGridStep(int step) {
    if (step == gridStep_)
        return;
    gridStep_ = step;
    repaintMap();
}

void MapView::setSelectionRect(const std::optional<QRect>& rect) {
    if (selectionRect_)
        repaintMap(selectionRect_->normalized().adjusted(-2, -2, 2, 2));
    selectionRect_ = rect;
    if (selectionRect_)
        repaintMap(selectionRect_->normalized().adjusted(-2, -2, 2, 2));
}

// --- Zoom and scrolling ---------------------------------------------------------------------

double MapView::fitZoom() const {
    const QSize view = viewport()->size();
    if (mapSize_.isEmpty() || view.isEmpty())
        return 1.0;
    const double whole = std::min(double(view.width()) / mapSize_.width(),
                                  double(view.height()) / mapSize_.height());
    double zoom = whole;
    if (zoom >= 1.0)
        return zoom;
    // Far out names are drawn larger than their place on the map: the fit leaves them room
    // within the viewport, the map centred in it, but keeps the map at least three quarters as
    // large as without them. Names the view places itself find their own room.
    ensureIndex();
    const FitZoom key{document_->revision(), indexedStops_, view, mapSize_, 0};
    for (const FitZoom& kept : m_fitZooms)
        if (kept.revision == key.revision && kept.stops == key.stops && kept.view == view &&
            kept.map == mapSize_)
            return kept.zoom;
    const GraphMap& map = document_->map();
    const QSizeF half = QSizeF(mapSize_) / 2;
    for (int pass = 0; pass < 3; ++pass) {
        double fits = zoom;
        const double left = std::max(0.0, (view.width() - mapSize_.width() * zoom) / 2);
        const double top = std::max(0.0, (view.height() - mapSize_.height() * zoom) / 2);
        for (int n = 0; n < indexedStops_; ++n) {
            const QRect name = nameRect(n);
            if (name.isEmpty() || !map.stop(n).Label.Visible || placedByProgram_[std::size_t(n)])
                continue;
            const double grow = nameScale(name.height(), zoom, false);
            // A few pixels to spare at the viewport's edge.
            const QSizeF shown = QSizeF(name.size()) * grow * zoom + QSizeF(4, 4);
            if (name.left() > half.width() &&
                left + name.left() * zoom + shown.width() > view.width())
                fits = std::min(fits, (view.width() / 2.0 - shown.width()) /
                                          (name.left() - half.width()));
            if (name.top() > half.height() &&
                top + name.top() * zoom + shown.height() > view.height())
                fits = std::min(fits, (view.height() / 2.0 - shown.height()) /
                                          (name.top() - half.height()));
        }
        zoom = std::max(fits, whole * 0.75);
    }
    // Scroll bars that come and go as the zoom passes the fit change the viewport's size: the
    // fit is kept for a few sizes.
    constexpr std::size_t kKeptSizes = 4;
    if (m_fitZooms.size() == kKeptSizes)
        m_fitZooms.erase(m_fitZooms.begin());
    m_fitZooms.push_back(key);
    m_fitZooms.back().zoom = zoom;
    return zoom;
}

double MapView::minimumZoom() const {
    return std::min(0.1, fitZoom());
}

void MapView::setZoom(double zoom, const QPoint& anchor) {
    zoom = std::clamp(zoom, minimumZoom(), MaximumZoom);
    if (zoom == zoom_)
        return;
    const QPointF under = viewportToMap(QPointF(anchor));
    zoom_ = zoom;
    zooming_ = true;
    updateScrollBars();
    horizontalScrollBar()->setValue(int(std::lround(under.x() * zoom_ - anchor.x())));
    verticalScrollBar()->setValue(int(std::lround(under.y() * zoom_ - anchor.y())));
    zooming_ = false;
    viewport()->update();
    emit zoomChanged(zoom_);
}

void MapView::zoomIn() {
    setZoom(zoom_ * ZoomStep);
}

void MapView::zoomOut() {
    setZoom(zoom_ / ZoomStep);
}

void MapView::zoomToFit() {
    setZoom(fitZoom(), QPoint(0, 0));
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
}

QPointF MapView::centring() const {
    // Only a map shown smaller than at 100 % (fitted, or far out); an empty map being drawn keeps
    // its corner at the viewport's.
    if (zoom_ >= 1.0)
        return QPointF(0, 0);
    const QSize view = viewport()->size();
    // Whole pixels: the map's own pixels fall on the screen's the same way wherever it is centred.
    return QPointF(std::max(0.0, std::floor((view.width() - mapSize_.width() * zoom_) / 2)),
                   std::max(0.0, std::floor((view.height() - mapSize_.height() * zoom_) / 2)));
}

QPointF MapView::viewportToMap(const QPointF& point) const {
    const QPointF corner = centring();
    return QPointF((point.x() - corner.x() + horizontalScrollBar()->value()) / zoom_,
                   (point.y() - corner.y() + verticalScrollBar()->value()) / zoom_);
}

QPoint MapView::viewportToMap(const QPoint& point) const {
    const QPointF p = viewportToMap(QPointF(point));
    return QPoint(int(std::floor(p.x())), int(std::floor(p.y())));
}

QPointF MapView::mapToViewport(const QPointF& point) const {
    const QPointF corner = centring();
    return QPointF(point.x() * zoom_ - horizontalScrollBar()->value() + corner.x(),
                   point.y() * zoom_ - verticalScrollBar()->value() + corner.y());
}

QRect MapView::visibleMapRect() const {
    const QPointF topLeft = viewportToMap(QPointF(0, 0));
    const QPointF bottomRight = viewportToMap(QPointF(viewport()->width(), viewport()->height()));
    return QRectF(topLeft, bottomRight).toAlignedRect();
}

void MapView::centreOn(const QPoint& mapPoint) {
    horizontalScrollBar()->setValue(
        int(std::lround(mapPoint.x() * zoom_ - viewport()->width() / 2.0)));
    verticalScrollBar()->setValue(
        int(std::lround(mapPoint.y() * zoom_ - viewport()->height() / 2.0)));
}

void MapView::showMapRect(const QRect& mapRect) {
    const QSize view = viewport()->size();
    if (mapRect.width() * zoom_ > view.width() || mapRect.height() * zoom_ > view.height()) {
        const double fit = std::min(double(view.width()) / std::max(mapRect.width(), 1),
                                    double(view.height()) / std::max(mapRect.height(), 1));
        setZoom(fit * 0.9);
    }
    if (!visibleMapRect().contains(mapRect))
        centreOn(mapRect.center());
}

void MapView::updateMapSize() {
    const QRect extent = mapExtent(document_->map());
    mapSize_ = extent.size().expandedTo(picture_.size());
    updateScrollBars();
}

void MapView::updateScrollBars() {
    const QSize view = viewport()->size();
    const qint64 width = std::llround(mapSize_.width() * zoom_);
    const qint64 height = std::llround(mapSize_.height() * zoom_);
    horizontalScrollBar()->setRange(0, int(std::clamp<qint64>(width - view.width(), 0, INT_MAX)));
    verticalScrollBar()->setRange(0, int(std::clamp<qint64>(height - view.height(), 0, INT_MAX)));
    horizontalScrollBar()->setPageStep(view.width());
    verticalScrollBar()->setPageStep(view.height());
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(20);
}

void MapView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (zoom_ < minimumZoom())
        zoom_ = minimumZoom();
    updateScrollBars();
}

void MapView::scrollContentsBy(int dx, int dy) {
    // What stays in view is moved, only the uncovered strips are painted.
    if (zooming_)
        return;
    viewport()->scroll(dx, dy);
}

// --- The index --------------------------------------------------------------------------------

void MapView::ensureIndex() const {
    // A map changed without telling the document (while a file is read, say) is indexed anew.
    if (indexRevision_ == document_->revision() && indexedStops_ == document_->map().stopCount())
        return;
    rebuildIndex();
}

void MapView::rebuildIndex() const {
    const GraphMap& map = document_->map();
    stopGrid_.clear();
    linkGrid_.clear();
    indexedLinks_.clear();
    linksOfStop_.assign(std::size_t(map.stopCount()), {});
    nameSizes_.clear();
    nameSizes_.reserve(std::size_t(map.stopCount()));
    const std::optional<MapDescription>& description = document_->description();
    lines_ = description ? LineBundles(map, *description) : LineBundles();
    placedByProgram_ = description ? namesPlacedByProgram(map, description->placedNames)
                                   : std::vector<bool>(std::size_t(map.stopCount()), false);
    programNames_ =
        std::find(placedByProgram_.begin(), placedByProgram_.end(), true) != placedByProgram_.end();
    for (StopIndex i = 0; i < map.stopCount(); ++i) {
        stopGrid_.insert(i, stopBox(map.stop(i)));
        nameSizes_.push_back(nameLabelRect(map.stop(i)).size());
    }
    for (StopIndex i = 0; i < map.stopCount(); ++i) {
        const std::vector<Link>& links = map.stop(i).Links;
        for (std::size_t k = 0; k < links.size(); ++k) {
            const int number = int(indexedLinks_.size());
            indexedLinks_.push_back({i, int(k)});
            linkGrid_.insert(number, linkBox(map, i, links[k]));
            for (const StopIndex end : {i, links[k].To})
                linksOfStop_[std::size_t(end)].push_back(number);
        }
    }
    indexedStops_ = map.stopCount();
    indexRevision_ = document_->revision();
    m_movedLinks.clear();
    namesStale_ = true;
}

void MapView::stopsMoved(const std::vector<StopIndex>& stops) {
    ++contentGeneration_;
    namesStale_ = true;
    const GraphMap& map = document_->map();
    if (indexRevision_ + 1 != document_->revision() || indexedStops_ != map.stopCount()) {
        indexRevision_ = ~quint64(0);
        updateMapSize();
        repaintMap();
        return;
    }
    std::vector<int> links;
    QSize grown = mapSize_;
    for (const StopIndex stop : stops) {
        repaintMap(stopGrid_.box(stop));
        const QRect box = stopBox(map.stop(stop));
        stopGrid_.move(stop, box);
        repaintMap(box);
        grown = grown.expandedTo(QSize(box.right(), box.bottom()));
        const std::vector<int>& own = linksOfStop_[std::size_t(stop)];
        links.insert(links.end(), own.begin(), own.end());
    }
    std::sort(links.begin(), links.end());
    links.erase(std::unique(links.begin(), links.end()), links.end());
    // At 100 % and closer, on a map without lines, a link moved at the step before repaints
    // where its drawing was, not its whole box (roomy for a curve and a long length text).
    const bool straight = zoom_ >= 1.0 && lines_.empty();
    std::unordered_map<int, QRect> drawn;
    for (const int number : links) {
        const auto before = m_movedLinks.find(number);
        repaintMap(straight && before != m_movedLinks.end() ? before->second
                                                            : linkGrid_.box(number));
        const LinkPlace& place = indexedLinks_[std::size_t(number)];
        const Link& link = map.stop(place.from).Links[std::size_t(place.at)];
        const QRect box = linkBox(map, place.from, link);
        linkGrid_.move(number, box);
        if (straight)
            repaintMap(drawn[number] = straightLinkBox(map, place.from, link));
        else
            repaintMap(box);
    }
    m_movedLinks = std::move(drawn);
    indexRevision_ = document_->revision();
    // A name moved by hand keeps its place from now on.
    if (programNames_)
        placedByProgram_ = namesPlacedByProgram(map, document_->description()->placedNames);
    if (grown != mapSize_) {
        mapSize_ = grown;
        updateScrollBars();
    }
}

std::vector<StopIndex> MapView::stopsIn(const QRect& area) const {
    ensureIndex();
    return stopGrid_.query(area);
}

// --- Names below 100 % ------------------------------------------------------------------------

void MapView::placeNames() const {
    if (!namesStale_ && namesZoom_ == zoom_)
        return;
    ensureIndex();
    if (namesStale_)
        m_namesAtZooms.clear();
    else
        m_namesAtZooms.keep({namesZoom_, std::move(namesShown_), std::move(namePlaces_)});
    namesStale_ = false;
    namesZoom_ = zoom_;
    if (std::optional<NamesAtZoom> kept = m_namesAtZooms.take(zoom_)) {
        namesShown_ = std::move(kept->shown);
        namePlaces_ = std::move(kept->places);
        return;
    }
    const GraphMap& map = document_->map();
    const std::size_t count = std::size_t(indexedStops_);
    namesShown_.assign(count, false);
    std::vector<int> onWay(count, 0);
    for (const StopIndex stop : document_->foundWay().stops)
        if (std::size_t(stop) < count)
            onWay[std::size_t(stop)] = 1;
    if (programNames_) {
        // Marked stops and the found way's first, then by importance.
        std::vector<StopIndex> order;
        for (const StopIndex stop : document_->selection().stops())
            if (std::size_t(stop) < count)
                order.push_back(stop);
        for (const StopIndex stop : document_->foundWay().stops)
            if (std::size_t(stop) < count && !document_->isSelected(stop))
                order.push_back(stop);
        for (const StopIndex stop : namesByImportance(map))
            if (!document_->isSelected(stop) && !onWay[std::size_t(stop)])
                order.push_back(stop);
        namePlaces_ = lirsk::placeNames(map, lines_, order, placedByProgram_, nameSizes_, zoom_,
                                        QRectF(QPointF(0, 0), QSizeF(mapSize_)));
        for (std::size_t n = 0; n < count; ++n)
            namesShown_[n] = !namePlaces_.boxes[n].isEmpty();
        return;
    }
    struct Candidate {
        int rank;
        int routes;
        int number;
    };
    std::vector<Candidate> candidates;
    for (std::size_t n = 0; n < count; ++n) {
        const Stop& stop = map.stop(StopIndex(n));
        if (!stop.Label.Visible || stop.Label.Caption.isEmpty())
            continue;
        const int rank = document_->isSelected(StopIndex(n)) ? 0 : onWay[n] ? 1 : 2;
        candidates.push_back({rank, int(stop.Routes.count(QLatin1Char(' '))), int(n)});
    }
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        if (a.rank != b.rank)
            return a.rank < b.rank;
        if (a.routes != b.routes)
            return a.routes > b.routes;
        return a.number < b.number;
    });
    // Each name placed in screen pixels; a later one that meets a placed one is left out.
    OccupiedArea placed;
    for (const Candidate& c : candidates) {
        const QRectF name = shownNameRect(c.number);
        const QRect onScreen = QRectF(name.left() * zoom_, name.top() * zoom_, name.width() * zoom_,
                                      name.height() * zoom_)
                                   .toAlignedRect();
        // The names along the found way are never left out.
        if (c.rank != 1 && placed.meets(onScreen))
            continue;
        placed.insert(onScreen);
        namesShown_[std::size_t(c.number)] = true;
    }
}

QRect MapView::nameRect(int number) const {
    const Stop& stop = document_->map().stop(number);
    const QSize size = nameSizes_[std::size_t(number)];
    return size.isEmpty()
               ? QRect()
               : boundedRect(stop.Label.Left, stop.Label.Top, size.width(), size.height());
}

double MapView::nameGrowth(int number) const {
    ensureIndex();
    return nameScale(nameSizes_[std::size_t(number)].height(), zoom_,
                     placedByProgram_[std::size_t(number)]);
}

QRectF MapView::shownNameRect(int number) const {
    if (programNames_) {
        placeNames();
        return namePlaces_.boxes[std::size_t(number)];
    }
    const QRect name = nameRect(number);
    const double grow = nameGrowth(number);
    return QRectF(name.left(), name.top(), name.width() * grow, name.height() * grow);
}

QPoint MapView::shownNameTopLeft(StopIndex stop) const {
    ensureIndex();
    if (!programNames_ || !placedByProgram_[std::size_t(stop)])
        return QPoint(document_->map().stop(stop).Label.Left,
                      document_->map().stop(stop).Label.Top);
    return shownNameRect(stop).topLeft().toPoint();
}

bool MapView::nameShown(int number) const {
    if (zoom_ >= 1.0 && !programNames_)
        return true;
    placeNames();
    return namesShown_[std::size_t(number)];
}

} // namespace lirsk
