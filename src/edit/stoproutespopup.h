#pragma once

#include <QWidget>

class QLabel;
class QFrame;

// The small tool window of the information mode: the name of the stop under the pointer and the
// routes that call at it. One window serves the whole program; it is shown without being modal.
class StopRoutesPopup : public QWidget {
    Q_OBJECT
public:
    explicit StopRoutesPopup(QWidget* parent = nullptr);

    // Fills the window for a stop: its name, and its routes text split at every single space,
    // each piece followed by one space.
    void ShowStop(const QString& name, const QString& routes);
    // Puts the window beside a screen point, away from the screen's right and bottom edges.
    void PlaceBy(const QPoint& cursor, const QSize& screen);

    QLabel* stopCaption = nullptr;
    QLabel* stopNameLabel = nullptr;
    QFrame* routesPanel = nullptr;
    QLabel* routesLabel = nullptr;
};
