#pragma once

#include <QSet>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace lirsk {
struct GtfsFeedSummary;
}

// What the frame asks of the desktop: file names through its file dialogs, the route types of a
// feed to import, and pages opened in its viewer. The frame makes the program's own; a test gives
// the frame one with its answers.
class DesktopDialogs {
public:
    virtual ~DesktopDialogs() = default;
    // A map file to open, or to save under; empty when cancelled.
    virtual QString openFileName(QWidget* parent) = 0;
    virtual QString saveFileName(QWidget* parent) = 0;
    // A GTFS feed to import: a zip file or a folder; empty when cancelled.
    virtual QString feedPath(QWidget* parent) = 0;
    // The basic route types of the feed to import; nothing when cancelled.
    virtual std::optional<QSet<int>> routeTypes(QWidget* parent,
                                                const lirsk::GtfsFeedSummary& summary) = 0;
    // Opens a document in the desktop's viewer without waiting; calls failed (now or later) when
    // nothing shows it.
    virtual void openDocument(const QString& path, const std::function<void()>& failed) = 0;
};

// The desktop's own file dialogs and viewer.
class SystemDesktopDialogs : public DesktopDialogs {
public:
    QString openFileName(QWidget* parent) override;
    QString saveFileName(QWidget* parent) override;
    QString feedPath(QWidget* parent) override;
    std::optional<QSet<int>> routeTypes(QWidget* parent,
                                        const lirsk::GtfsFeedSummary& summary) override;
    void openDocument(const QString& path, const std::function<void()>& failed) override;
};
