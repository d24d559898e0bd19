#pragma once

// Drives a map window of a real frame with mouse events, offscreen, and answers its dialogs.

#include "testdesktop.h"

#include "app/mainwindow.h"
#include "app/mapwindow.h"
#include "edit/roadparametersdialog.h"
#include "platform/messages.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include <cmath>
#include <functional>
#include <memory>

namespace edittest {

// Types any text, Cyrillic letters too, one key event per character.
inline void typeText(QWidget* widget, const QString& text) {
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_A, QString(ch), Qt::NoModifier);
}

inline QPoint centreOf(const lirsk::Stop& stop) {
    return {stop.Left + stop.Width / 2, stop.Top + stop.Height / 2};
}

// Closes every map window of a frame, unsaved changes dropped, while the frame still hears about
// them.
inline void closeMapWindows(MainWindow& frame) {
    for (QMdiSubWindow* window : frame.MdiArea->subWindowList()) {
        if (auto* map = qobject_cast<MapWindow*>(window->widget()))
            map->document().setModified(false);
        window->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

struct Fixture {
    TestDesktop desktop;
    std::unique_ptr<MainWindow> frame;
    MapWindow* child = nullptr;
    QStringList messages;
    int dialogs = 0;
    // What the next modal dialog does; by default it is closed without an answer.
    std::function<void(QDialog&)> onDialog;

    void start() {
        messages.clear();
        dialogs = 0;
        onDialog = nullptr;
        lirsk::setMessageHandler([this](const lirsk::MessageRequest& r) {
            messages << r.text;
            return QMessageBox::Ok;
        });
        frame = std::make_unique<MainWindow>();
        frame->setDesktopDialogs(&desktop);
        frame->programDialogs().setRunner([this](QDialog& dialog) {
            ++dialogs;
            dialog.setResult(QDialog::Rejected);
            dialog.show();
            if (onDialog)
                onDialog(dialog);
            dialog.hide();
            return dialog.result();
        });
        frame->resize(1000, 800);
        frame->show();
    }

    void stop() {
        if (frame)
            closeMapWindows(*frame);
        frame.reset();
        child = nullptr;
        lirsk::setMessageHandler({});
    }

    // A new, empty map window with the graph image shown, as in editor mode.
    MapWindow* newMap() {
        frame->acNew->trigger();
        child = frame->ActiveMapWindow();
        child->SetEditorMode(true);
        return child;
    }

    // Where a map point is on the view's viewport, at its zoom and scroll.
    QPoint onScreen(const QPoint& p) const {
        const QPointF at = child->view()->mapToViewport(QPointF(p) + QPointF(0.5, 0.5));
        return QPoint(int(std::floor(at.x())), int(std::floor(at.y())));
    }
    void press(const QPoint& p, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = {}) {
        QTest::mousePress(child->view()->viewport(), b, m, onScreen(p));
    }
    void moveTo(const QPoint& p) { QTest::mouseMove(child->view()->viewport(), onScreen(p)); }
    // A move with no button down (the test library moves the cursor itself for such a move,
    // which an offscreen screen does not pass on).
    void hover(const QPoint& p) {
        QMouseEvent move(QEvent::MouseMove, onScreen(p),
                         child->view()->viewport()->mapToGlobal(onScreen(p)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(child->view()->viewport(), &move);
    }
    void release(const QPoint& p, Qt::MouseButton b = Qt::LeftButton,
                 Qt::KeyboardModifiers m = {}) {
        QTest::mouseRelease(child->view()->viewport(), b, m, onScreen(p));
    }
    void click(const QPoint& p, Qt::KeyboardModifiers m = {}) {
        press(p, Qt::LeftButton, m);
        release(p, Qt::LeftButton, m);
    }
    void drag(const QPoint& from, const QPoint& to) {
        press(from);
        moveTo((from + to) / 2);
        moveTo(to);
        release(to);
    }

    // The centre of a stop of the map window's map.
    QPoint centreOf(lirsk::StopIndex stop) const {
        return edittest::centreOf(child->Map().stop(stop));
    }
    lirsk::Stop& mapStop(lirsk::StopIndex index) const { return child->Map().stop(index); }

    // Adds a link of the length a new link takes without the dialog: the distance of the stops'
    // corners.
    void link(lirsk::StopIndex from, lirsk::StopIndex to) {
        lirsk::GraphMap& map = child->Map();
        map.AddLink(from, to, {0, map.cornerDistance(from, to), 0});
    }

    // Adds a stop with its corner at (x, y) by a click on the empty map in the add-stop mode (the
    // click is where the stop's centre goes).
    lirsk::StopIndex addStop(int x, int y) {
        const lirsk::MapMode mode = child->editor().mode();
        child->editor().SetAddStopMode();
        const int radius = lirsk::StopFields().Radius;
        click({x + radius, y + radius});
        child->editor().setMode(mode);
        return child->Map().stopCount() - 1;
    }

    // The road parameters dialog, answered with three typed texts and "OK".
    void answerWeights(const QString& price, const QString& length, const QString& time) {
        onDialog = [=](QDialog& dialog) {
            auto* form = qobject_cast<RoadParametersDialog*>(&dialog);
            if (!form)
                return;
            for (auto [edit, text] :
                 {std::pair{form->fareEdit, price}, std::pair{form->lengthEdit, length},
                  std::pair{form->timeEdit, time}}) {
                edit->selectAll();
                typeText(edit, text);
            }
            QTest::mouseClick(form->okButton, Qt::LeftButton);
        };
    }
};

} // namespace edittest
