#pragma once

// The desktop's file dialogs and viewer as a test answers them.

#include "app/desktopdialogs.h"
#include "import/gtfsimport.h"

#include <functional>

class TestDesktop : public DesktopDialogs {
public:
    // What the file dialogs answer (empty: cancelled), and what the viewer does with a page.
    std::function<QString()> openAnswer = [] { return QString(); };
    std::function<QString()> saveAnswer = [] { return QString(); };
    std::function<QString()> feedAnswer = [] { return QString(); };
    std::function<std::optional<QSet<int>>(const lirsk::GtfsFeedSummary&)> routeTypesAnswer =
        [](const lirsk::GtfsFeedSummary&) { return std::nullopt; };
    std::function<void(const QString&, const std::function<void()>&)> viewer =
        [](const QString&, const std::function<void()>&) {};

    QString openFileName(QWidget*) override { return openAnswer(); }
    QString saveFileName(QWidget*, const Refusal&) override { return saveAnswer(); }
    QString feedPath(QWidget*) override { return feedAnswer(); }
    std::optional<QSet<int>> routeTypes(QWidget*, const lirsk::GtfsFeedSummary& summary) override {
        return routeTypesAnswer(summary);
    }
    void openDocument(const QString& path, const std::function<void()>& failed) override {
        viewer(path, failed);
    }
};
