#pragma once

#include <QCoreApplication>
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
    // Why a file cannot be saved under a name (empty: it can).
    using Refusal = std::function<QString(const QString& path)>;

    virtual ~DesktopDialogs() = default;
    // A map file to open, or to save under; empty when cancelled. A name the refusal refuses is
    // refused before anything is asked about replacing the file.
    virtual QString openFileName(QWidget* parent) = 0;
    virtual QString saveFileName(QWidget* parent, const Refusal& refusal) = 0;
    // A GTFS feed to import: a zip file or a folder; empty when cancelled.
    virtual QString feedPath(QWidget* parent) = 0;
    // The basic route types of the feed to import; nothing when cancelled.
    virtual std::optional<QSet<int>> routeTypes(QWidget* parent,
                                                const lirsk::GtfsFeedSummary& summary) = 0;
    // Opens a document in the desktop's viewer without waiting; calls failed (now or later) when
    // nothing shows it.
    virtual void openDocument(const QString& path, const std::function<void()>& failed) = 0;
};

// The desktop's own file dialogs and viewer. The file dialogs start in the folder used last,
// at first in the user's documents.
class SystemDesktopDialogs : public DesktopDialogs {
    Q_DECLARE_TR_FUNCTIONS(SystemDesktopDialogs)
public:
    QString openFileName(QWidget* parent) override;
    QString saveFileName(QWidget* parent, const Refusal& refusal) override;
    QString feedPath(QWidget* parent) override;
    std::optional<QSet<int>> routeTypes(QWidget* parent,
                                        const lirsk::GtfsFeedSummary& summary) override;
    void openDocument(const QString& path, const std::function<void()>& failed) override;

    QString folder() const;
    // The folder of a file chosen in a dialog becomes the one the next dialog starts in.
    void rememberFolder(const QString& file);

private:
    QString m_folder;
};
