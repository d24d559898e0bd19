#pragma once

#include <QString>

#include <functional>

class QWidget;

// What the frame asks of the desktop: file names through its file dialogs, and pages opened in
// its viewer. The frame makes the program's own; a test gives the frame one with its answers.
class DesktopDialogs {
public:
    virtual ~DesktopDialogs() = default;
    // A map file to open, or to save under; empty when cancelled.
    virtual QString openFileName(QWidget* parent) = 0;
    virtual QString saveFileName(QWidget* parent) = 0;
    // Opens a document in the desktop's viewer without waiting; calls failed (now or later) when
    // nothing shows it.
    virtual void openDocument(const QString& path, const std::function<void()>& failed) = 0;
};

// The desktop's own file dialogs and viewer.
class SystemDesktopDialogs : public DesktopDialogs {
public:
    QString openFileName(QWidget* parent) override;
    QString saveFileName(QWidget* parent) override;
    void openDocument(const QString& path, const std::function<void()>& failed) override;
};
