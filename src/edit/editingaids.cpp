// What a map maker's editor does beside the gestures: the clipboard, the grid, the arrow keys,
// lining stops up.

#include "edit/mapeditor.h"

#include "model/mapjson.h"

#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>

#include <algorithm>
#include <climits>

namespace lirsk {

namespace {

// The clipboard carries copied stops as the map file's JSON, under the program's own type and as
// text that reads in any editor.
const QString kStopsMimeType = QStringLiteral("application/x-lirskmap-stops");
constexpr qsizetype kMaxClipboardBytes = qsizetype(64) << 20;
// How far a copy goes from its original when it is not put under the pointer.
constexpr int kPasteOffset = 20;

// The stops (ascending), with the links among them, as a map of their own.
GraphMap copiedStops(const GraphMap& map, const std::vector<StopIndex>& stops) {
    QHash<StopIndex, StopIndex> copyOf;
    for (std::size_t i = 0; i < stops.size(); ++i)
        copyOf.insert(stops[i], StopIndex(i));
    GraphMap copy;
    copy.Settings = map.Settings;
    for (const StopIndex index : stops) {
        Stop stop = map.stop(index);
        std::vector<Link> kept;
        for (Link link : stop.Links)
            if (const auto to = copyOf.constFind(link.To); to != copyOf.cend()) {
                link.To = *to;
                kept.push_back(link);
            }
        stop.Links = std::move(kept);
        copy.appendStop(std::move(stop));
    }
    copy.MaxStopId = 0;
    for (const Stop& stop : copy.stops())
        copy.MaxStopId = std::max(copy.MaxStopId, stop.Id);
    return copy;
}

std::vector<Stop> stopsOnClipboard() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return {};
    QByteArray bytes = data->data(kStopsMimeType);
    if (bytes.isEmpty() && data->hasText())
        bytes = data->text().toUtf8();
    GraphMap copy;
    if (bytes.isEmpty() || bytes.size() > kMaxClipboardBytes ||
        !mapFromJsonText(bytes, copy, nullptr))
        return {};
    return {copy.stops().begin(), copy.stops().end()};
}

// Moves stops by (dx, dy) as a whole, none past the map's top or left edge.
void shift(std::vector<Stop>& stops, int dx, int dy) {
    for (const Stop& stop : stops) {
        dx = std::max(dx, -stop.Left);
        dy = std::max(dy, -stop.Top);
    }
    for (Stop& stop : stops) {
        stop.Left += dx;
        stop.Top += dy;
        stop.Label.Left += dx;
        stop.Label.Top += dy;
    }
}

} // namespace

// --- Copy and paste ---------------------------------------------------------------------------

void MapEditor::CopySelection() {
    copyToClipboard();
}

bool MapEditor::copyToClipboard() {
    const std::vector<StopIndex>& marked = m_document->selection().stops();
    if (marked.empty())
        return false;
    const QByteArray json = mapToJsonText(copiedStops(map(), marked), QJsonDocument::Indented);
    if (json.size() > kMaxClipboardBytes) {
        if (setStatusText)
            setStatusText(tr("Отмечено слишком много остановок для буфера обмена (больше 64 МБ)"));
        return false;
    }
    auto* data = new QMimeData;
    data->setData(kStopsMimeType, json);
    data->setText(QString::fromUtf8(json));
    QGuiApplication::clipboard()->setMimeData(data);
    return true;
}

void MapEditor::CutSelection() {
    // Nothing is taken out that the clipboard does not hold.
    if (!copyToClipboard())
        return;
    finishMove();
    forgetGestures();
    edit::deleteStops(*m_document, tr("вырезание остановок"), m_document->selection().stops());
    RedrawMap(false);
}

void MapEditor::Paste() {
    const QPoint at = m_view->viewport()->mapFromGlobal(QCursor::pos());
    PasteAt(m_view->viewport()->rect().contains(at)
                ? std::optional<QPoint>(m_view->viewportToMap(at))
                : std::nullopt);
}

void MapEditor::PasteAt(const std::optional<QPoint>& pointer) {
    std::vector<Stop> stops = stopsOnClipboard();
    if (stops.empty())
        return;
    if (pointer) {
        // The middle of the copied stops goes under the pointer.
        QRect box;
        for (const Stop& stop : stops)
            box = box.united(QRect(stop.Left, stop.Top, stop.Width, stop.Height));
        const QPoint centre = placePoint(*pointer, QGuiApplication::queryKeyboardModifiers());
        shift(stops, centre.x() - box.center().x(), centre.y() - box.center().y());
    } else {
        shift(stops, kPasteOffset, kPasteOffset);
    }
    addMarkedStops(tr("вставка остановок"), std::move(stops));
}

void MapEditor::DuplicateSelection() {
    const std::vector<StopIndex>& marked = m_document->selection().stops();
    if (marked.empty())
        return;
    const GraphMap copied = copiedStops(map(), marked);
    std::vector<Stop> stops(copied.stops().begin(), copied.stops().end());
    shift(stops, kPasteOffset, kPasteOffset);
    addMarkedStops(tr("дублирование остановок"), std::move(stops));
}

void MapEditor::addMarkedStops(const QString& text, std::vector<Stop> stops) {
    finishMove();
    forgetGestures();
    const std::vector<StopIndex> added = edit::addStops(*m_document, text, std::move(stops));
    ClearSelection(-1, false);
    for (const StopIndex stop : added)
        ToggleSelected(stop);
    RedrawMap(false);
}

// --- The grid and the arrow keys --------------------------------------------------------------

int MapEditor::gridStep() const {
    const std::optional<MapDescription>& description = m_document->description();
    return description ? description->gridStep : kDefaultGridStep;
}

void MapEditor::setGridShown(bool shown) {
    m_gridShown = shown;
    m_view->setGridStep(shown ? gridStep() : 0);
}

bool MapEditor::snapsToGrid(Qt::KeyboardModifiers modifiers) const {
    return m_gridShown && !(modifiers & Qt::AltModifier);
}

QPoint MapEditor::placePoint(const QPoint& pos, Qt::KeyboardModifiers modifiers) const {
    return snapsToGrid(modifiers) ? snapToGrid(pos, gridStep()) : pos;
}

void MapEditor::ChangeDescription(const MapDescription& description) {
    finishMove();
    edit::setDescription(*m_document, description);
    if (m_gridShown)
        m_view->setGridStep(gridStep());
}

void MapEditor::NudgeSelection(int dx, int dy) {
    const std::vector<StopIndex> marked = m_document->selection().stops();
    if (marked.empty())
        return;
    finishMove();
    edit::nudgeStops(*m_document, tr("сдвиг остановок"), m_nudgeRun, marked,
                     shiftedPlaces(map(), marked, dx, dy));
}

bool MapEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_view)
        return false;
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::FocusOut)
        endNudgeRun();
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    int dx = 0, dy = 0;
    switch (key->key()) {
    case Qt::Key_Left:
        dx = -1;
        break;
    case Qt::Key_Right:
        dx = 1;
        break;
    case Qt::Key_Up:
        dy = -1;
        break;
    case Qt::Key_Down:
        dy = 1;
        break;
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
        return false;
    default:
        endNudgeRun();
        return false;
    }
    // Without marked stops, or outside the modes that move stops, the arrows scroll the map.
    if (m_document->selectedCount() == 0 ||
        (m_mode != MapMode::Pointer && m_mode != MapMode::AddStop))
        return false;
    const int step = (key->modifiers() & Qt::ShiftModifier) ? gridStep() : 1;
    NudgeSelection(dx * step, dy * step);
    return true;
}

// --- Lining stops up --------------------------------------------------------------------------

void MapEditor::moveSelection(const QString& text, std::vector<StopPlace> places) {
    const std::vector<StopIndex> marked = m_document->selection().stops();
    finishMove();
    std::vector<StopPlace> from;
    for (const StopIndex stop : marked)
        from.push_back(placeOf(map().stop(stop)));
    edit::moveStops(*m_document, text, marked, std::move(from), std::move(places));
    RedrawMap(false);
}

void MapEditor::AlignSelection(Alignment alignment) {
    if (m_document->selectedCount() < 2)
        return;
    moveSelection(tr("выравнивание остановок"),
                  alignedPlaces(map(), m_document->selection().stops(), alignment));
}

void MapEditor::SpreadSelection(Qt::Orientation orientation) {
    if (m_document->selectedCount() < 3)
        return;
    moveSelection(tr("распределение остановок"),
                  spreadPlaces(map(), m_document->selection().stops(), orientation));
}

} // namespace lirsk
