#include "app/stopsuggestions.h"

#include "app/stoppanel.h"
#include "platform/colours.h"

#include <QPainter>

#include <algorithm>

namespace lirsk {

namespace {

// Black or white, whichever reads better on a colour.
QColor textOn(const QColor& colour) {
    return qGray(colour.rgb()) > 140 ? Qt::black : Qt::white;
}

} // namespace

RouteNames::RouteNames(const MapDocument& document) : m_mapCode(document.map().MapCode) {
    if (const std::optional<MapDescription>& description = document.description()) {
        m_mapCode = description->mapCode;
        for (const DescribedRoute& route : description->routes) {
            m_described.insert(route.code, {route.number, route.color ? std::optional<QColor>(
                                                                            toQColor(*route.color))
                                                                      : std::nullopt});
            if (route.color)
                m_colourByNumber.insert(route.number, toQColor(*route.color));
        }
    }
}

std::optional<QColor> RouteNames::colourOfNumber(const QString& number) const {
    if (const auto it = m_colourByNumber.constFind(number); it != m_colourByNumber.constEnd())
        return *it;
    return std::nullopt;
}

QList<RouteName> RouteNames::of(const QString& routes) const {
    QList<RouteName> names;
    if (m_mapCode.isEmpty())
        return names;
    for (QStringView code : QStringView(routes).tokenize(u' ', Qt::SkipEmptyParts)) {
        if (const auto it = m_described.constFind(code.toString()); it != m_described.constEnd())
            names.append(*it);
        else if (const qsizetype at = code.indexOf(m_mapCode); at >= 0)
            names.append({code.mid(at + m_mapCode.size()).toString(), std::nullopt});
    }
    return names;
}

RouteName RouteNames::of(const QString& code, const Stop& stop) const {
    if (const auto it = m_described.constFind(code); it != m_described.constEnd())
        return *it;
    const qsizetype at = code.indexOf(m_mapCode);
    return {at >= 0 ? code.mid(at + m_mapCode.size()) : code, toQColor(stop.FillColor)};
}

QPixmap routeChips(const QList<RouteName>& routes, const QColor& fallback, int height) {
    QFont font;
    font.setBold(true);
    font.setPixelSize(std::max(8, height - 5));
    const QFontMetrics metrics(font);
    QList<int> widths;
    int total = 0;
    for (const RouteName& route : routes) {
        widths.append(std::max(height, metrics.horizontalAdvance(route.number) + 8));
        total += widths.back() + 2;
    }
    QPixmap strip(std::max(1, total), height);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font);
    int x = 0;
    for (int i = 0; i < routes.size(); ++i) {
        const QColor colour = routes[i].colour.value_or(fallback);
        const QRectF chip(x + 0.5, 0.5, widths[i] - 1, height - 1);
        painter.setPen(QPen(colour.darker(140), 1));
        painter.setBrush(colour);
        painter.drawRoundedRect(chip, 4, 4);
        painter.setPen(textOn(colour));
        painter.drawText(chip, Qt::AlignCenter, routes[i].number);
        x += widths[i] + 2;
    }
    return strip;
}

// --- StopSuggestions --------------------------------------------------------------------------

StopSuggestions::StopSuggestions(QObject* parent) : QAbstractListModel(parent) {}

void StopSuggestions::setDocument(const MapDocument* document) {
    beginResetModel();
    m_document = document;
    m_read = false;
    m_shown.clear();
    endResetModel();
}

void StopSuggestions::readNames() {
    if (m_read && m_readRevision == m_document->revision())
        return;
    const StopList& stops = m_document->map().stops();
    const std::optional<MapDescription>& description = m_document->description();
    const FileNames fileNames(description ? &*description : nullptr);
    m_folded.resize(stops.size());
    for (std::size_t i = 0; i < stops.size(); ++i)
        m_folded[i] = searchFolded(fileNames.searchedName(stops[i]));
    m_routes = RouteNames(*m_document);
    m_readRevision = m_document->revision();
    m_read = true;
}

void StopSuggestions::setTyped(const QString& text) {
    std::vector<StopIndex> shown;
    const QString typed = searchFolded(text.trimmed());
    if (m_document && !typed.isEmpty()) {
        readNames();
        // Three kinds of match, each kept in map order up to the most shown.
        std::vector<StopIndex> kinds[3];
        for (StopIndex stop = 0; stop < StopIndex(m_folded.size()); ++stop) {
            const QString& name = m_folded[std::size_t(stop)];
            const qsizetype at = name.indexOf(typed);
            if (at < 0)
                continue;
            const int kind = at == 0 ? 0 : !name[at - 1].isLetterOrNumber() ? 1 : 2;
            if (kinds[kind].size() < std::size_t(kMost))
                kinds[kind].push_back(stop);
            if (kinds[0].size() == std::size_t(kMost))
                break;
        }
        for (const std::vector<StopIndex>& kind : kinds)
            for (const StopIndex stop : kind)
                if (shown.size() < std::size_t(kMost))
                    shown.push_back(stop);
    }
    beginResetModel();
    m_shown = std::move(shown);
    endResetModel();
}

StopIndex StopSuggestions::stopAt(int row) const {
    return row >= 0 && row < int(m_shown.size()) ? m_shown[std::size_t(row)] : NoStop;
}

int StopSuggestions::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_shown.size());
}

QVariant StopSuggestions::data(const QModelIndex& index, int role) const {
    const StopIndex stop = stopAt(index.row());
    if (stop == NoStop || !m_document || !m_document->map().isStop(stop))
        return {};
    const Stop& shown = m_document->map().stop(stop);
    switch (role) {
    case Qt::EditRole:
        return shown.Label.Caption;
    case Qt::DisplayRole: {
        QStringList numbers;
        for (const RouteName& route : m_routes.of(shown.Routes))
            numbers.append(route.number);
        return numbers.isEmpty()
                   ? shown.Label.Caption
                   : shown.Label.Caption + QStringLiteral("   ") + numbers.join(QLatin1Char(' '));
    }
    case Qt::DecorationRole: {
        QList<RouteName> routes = m_routes.of(shown.Routes);
        if (routes.isEmpty())
            routes.append({QString(), std::nullopt});
        // One chip per colour: equal colours say no more.
        QList<RouteName> chips;
        for (const RouteName& route : routes)
            if (std::none_of(chips.begin(), chips.end(),
                             [&](const RouteName& c) { return c.colour == route.colour; }))
                chips.append({QString(), route.colour});
        return routeChips(chips, toQColor(shown.FillColor), 12);
    }
    case StopRole:
        return stop;
    default:
        return {};
    }
}

} // namespace lirsk
