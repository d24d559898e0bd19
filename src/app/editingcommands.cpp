#include "app/editingcommands.h"

#include "app/mainwindow.h"
#include "app/mapwindow.h"
#include "edit/descriptiondialog.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTextEdit>
#include <QUndoGroup>
#include <QUndoStack>
#include <QUndoView>

namespace {

// In a text field the clipboard keys edit the text, not the map.
bool typingText() {
    const QWidget* focus = QApplication::focusWidget();
    return qobject_cast<const QLineEdit*>(focus) || qobject_cast<const QAbstractSpinBox*>(focus) ||
           qobject_cast<const QTextEdit*>(focus) || qobject_cast<const QPlainTextEdit*>(focus);
}

QAction* editorAction(MainWindow* frame, QMenu* menu, const char* name, const char* caption,
                      const QKeySequence& keys, void (lirsk::MapEditor::*act)()) {
    QAction* action = MainWindow::addFrameAction(menu, caption);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(keys);
    QObject::connect(action, &QAction::triggered, frame, [frame, act] {
        if (MapWindow* current = frame->currentMapWindow(); current && !typingText())
            (current->editor().*act)();
    });
    return action;
}

void editDescription(MainWindow* frame) {
    MapWindow* window = frame->currentMapWindow();
    if (!window)
        return;
    const lirsk::MapDescription shown = window->CurrentDescription();
    lirsk::MapDescriptionDialog dialog(frame);
    dialog.setDescription(shown);
    if (frame->programDialogs().run(dialog) != QDialog::Accepted)
        return;
    const lirsk::MapDescription typed = dialog.description();
    if (!(typed == shown) || !window->document().description())
        window->editor().ChangeDescription(typed);
}

// «Выровнять» and «Распределить»: the selected stops lined up or spread evenly.
void addArrangeMenus(MainWindow* frame, QMenu* edit) {
    frame->AlignMenu = MainWindow::addFrameMenu(edit, QT_TRANSLATE_NOOP("MainWindow", "Выровнять"));
    const std::pair<const char*, lirsk::Alignment> alignments[] = {
        {QT_TRANSLATE_NOOP("MainWindow", "По левому краю"), lirsk::Alignment::Left},
        {QT_TRANSLATE_NOOP("MainWindow", "По центру"), lirsk::Alignment::Centre},
        {QT_TRANSLATE_NOOP("MainWindow", "По правому краю"), lirsk::Alignment::Right},
        {QT_TRANSLATE_NOOP("MainWindow", "По верхнему краю"), lirsk::Alignment::Top},
        {QT_TRANSLATE_NOOP("MainWindow", "По середине"), lirsk::Alignment::Middle},
        {QT_TRANSLATE_NOOP("MainWindow", "По нижнему краю"), lirsk::Alignment::Bottom}};
    for (const auto& [caption, alignment] : alignments)
        QObject::connect(MainWindow::addFrameAction(frame->AlignMenu, caption), &QAction::triggered,
                         frame, [frame, alignment] {
                             if (MapWindow* current = frame->currentMapWindow())
                                 current->editor().AlignSelection(alignment);
                         });
    frame->SpreadMenu =
        MainWindow::addFrameMenu(edit, QT_TRANSLATE_NOOP("MainWindow", "Распределить"));
    for (const auto& [caption, orientation] :
         {std::pair{QT_TRANSLATE_NOOP("MainWindow", "По горизонтали"), Qt::Horizontal},
          std::pair{QT_TRANSLATE_NOOP("MainWindow", "По вертикали"), Qt::Vertical}})
        QObject::connect(MainWindow::addFrameAction(frame->SpreadMenu, caption),
                         &QAction::triggered, frame, [frame, orientation] {
                             if (MapWindow* current = frame->currentMapWindow())
                                 current->editor().SpreadSelection(orientation);
                         });
}

// The history: the commands of the current map's undo stack; a click goes back to one.
void addHistoryDock(MainWindow* frame, QMenu* edit) {
    frame->UndoGroup = new QUndoGroup(frame);
    frame->HistoryDock = new QDockWidget(frame);
    MainWindow::keepText(frame->HistoryDock, "windowTitle",
                         QT_TRANSLATE_NOOP("MainWindow", "История изменений"));
    frame->HistoryDock->setObjectName(QStringLiteral("historyDock"));
    auto* history = new QUndoView(frame->UndoGroup, frame->HistoryDock);
    MainWindow::keepText(history, "emptyLabel", QT_TRANSLATE_NOOP("MainWindow", "<открыта карта>"));
    frame->HistoryDock->setWidget(history);
    frame->addDockWidget(Qt::RightDockWidgetArea, frame->HistoryDock);
    frame->HistoryDock->hide();
    frame->acHistory = frame->HistoryDock->toggleViewAction();
    frame->acHistory->setObjectName(QStringLiteral("acHistory"));
    edit->insertAction(frame->acCut, frame->acHistory);
    // A step taken in the history may take any stop away: the gestures forget theirs.
    QObject::connect(
        history->selectionModel(), &QItemSelectionModel::currentChanged, frame, [frame, history] {
            if (MapWindow* current = frame->currentMapWindow(); current && history->hasFocus())
                current->editor().forgetGestures();
        });
}

} // namespace

void BuildEditingCommands(MainWindow* frame, QMenu* edit, QMenu* service, QMenu* view) {
    using lirsk::MapEditor;
    edit->addSeparator();
    frame->acCut = editorAction(frame, edit, "acCut", QT_TRANSLATE_NOOP("MainWindow", "Вырезать"),
                                QKeySequence::Cut, &MapEditor::CutSelection);
    frame->acCopy =
        editorAction(frame, edit, "acCopy", QT_TRANSLATE_NOOP("MainWindow", "Копировать"),
                     QKeySequence::Copy, &MapEditor::CopySelection);
    frame->acPaste =
        editorAction(frame, edit, "acPaste", QT_TRANSLATE_NOOP("MainWindow", "Вставить"),
                     QKeySequence::Paste, &MapEditor::Paste);
    frame->acDuplicate =
        editorAction(frame, edit, "acDuplicate", QT_TRANSLATE_NOOP("MainWindow", "Дублировать"),
                     QKeySequence(Qt::CTRL | Qt::Key_D), &MapEditor::DuplicateSelection);

    addArrangeMenus(frame, edit);

    frame->acGrid = MainWindow::addFrameAction(view, QT_TRANSLATE_NOOP("MainWindow", "Сетка"));
    frame->acGrid->setObjectName(QStringLiteral("acGrid"));
    frame->acGrid->setCheckable(true);
    QObject::connect(frame->acGrid, &QAction::triggered, frame, [frame](bool shown) {
        if (MapWindow* current = frame->currentMapWindow())
            current->editor().setGridShown(shown);
    });

    frame->acMapDescription =
        MainWindow::addFrameAction(service, QT_TRANSLATE_NOOP("MainWindow", "Описание карты…"));
    frame->acMapDescription->setObjectName(QStringLiteral("acMapDescription"));
    QObject::connect(frame->acMapDescription, &QAction::triggered, frame,
                     [frame] { editDescription(frame); });

    addHistoryDock(frame, edit);

    frame->PointerLabel = new QLabel(frame);
    frame->StatusBar->addPermanentWidget(frame->PointerLabel);
    QObject::connect(frame->MdiArea, &QMdiArea::subWindowActivated, frame, [frame] {
        MapWindow* current = frame->currentMapWindow();
        if (!current)
            return;
        QUndoStack* stack = current->editor().undoStack();
        if (!frame->UndoGroup->stacks().contains(stack))
            frame->UndoGroup->addStack(stack);
        frame->UndoGroup->setActiveStack(stack);
        frame->acGrid->setChecked(current->editor().gridShown());
        frame->PointerLabel->clear();
    });

    // The map maker's commands come and go with editor mode, as the tool modes do.
    const QList<QAction*> editing = {frame->acCut,
                                     frame->acCopy,
                                     frame->acPaste,
                                     frame->acDuplicate,
                                     frame->AlignMenu->menuAction(),
                                     frame->SpreadMenu->menuAction(),
                                     frame->acGrid,
                                     frame->acMapDescription};
    const auto follow = [frame, editing] {
        const bool on = frame->acAddStop->isVisible();
        for (QAction* action : editing)
            action->setVisible(on);
        if (on || !frame->acGrid->isChecked())
            return;
        frame->acGrid->setChecked(false);
        for (QMdiSubWindow* sub : frame->MdiArea->subWindowList())
            if (auto* window = qobject_cast<MapWindow*>(sub->widget()))
                window->editor().setGridShown(false);
    };
    QObject::connect(frame->acAddStop, &QAction::visibleChanged, frame, follow);
    follow();
}
