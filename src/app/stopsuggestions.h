#pragma once

// What the journey panel's fields suggest: the stops whose names contain what is typed, each with
// its routes' numbers and colours.

#include "document/mapdocument.h"

#include <QAbstractListModel>
#include <QColor>
#include <QHash>
#include <QPixmap>

#include <optional>
#include <vector>

namespace lirsk {

// What a route code of a map reads as: its number and, when the map's description gives one, its
// colour.
struct RouteName {
    QString number;
    std::optional<QColor> colour;
};

// The route names of a map: its description's table, or else the code letter of a built-in map
// followed by the number.
class RouteNames {
public:
    RouteNames() = default;
    explicit RouteNames(const MapDocument& document);
    // The routes a stop's routes text lists, in text order (codes of other maps left out).
    QList<RouteName> of(const QString& routes) const;
    RouteName of(const QString& code, const Stop& stop) const;
    // The colour the description gives the route of this number, when it gives one.
    std::optional<QColor> colourOfNumber(const QString& number) const;

private:
    QString m_mapCode;
    QHash<QString, RouteName> m_described;
    QHash<QString, QColor> m_colourByNumber;
};

// A strip of route chips: each number on its colour (the stop's own colour where the route has
// none).
QPixmap routeChips(const QList<RouteName>& routes, const QColor& fallback, int height);

// The stops whose names contain what is typed, letter case and ё/е ignored: those whose names
// begin with it first, then those with a word beginning with it, then the rest, each in the map's
// order; at most kMost of them. Each row shows the stop's routes beside its name, so that stops of
// one name can be told apart; its edit text is the name alone.
class StopSuggestions : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int kMost = 40;
    static constexpr int StopRole = Qt::UserRole;

    explicit StopSuggestions(QObject* parent = nullptr);

    // The map to suggest from (null: none); names are read again once it changes.
    void setDocument(const MapDocument* document);
    void setTyped(const QString& text);
    StopIndex stopAt(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    void readNames();

    const MapDocument* m_document = nullptr;
    quint64 m_readRevision = 0;
    bool m_read = false;
    std::vector<QString> m_folded; // by stop
    RouteNames m_routes;
    std::vector<StopIndex> m_shown;
};

} // namespace lirsk
