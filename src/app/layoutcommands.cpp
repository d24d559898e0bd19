#include "app/layoutcommands.h"

#include "app/mainwindow.h"
#include "app/mapwindow.h"
#include "document/edits.h"
#include "platform/translatedtext.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>

void AddLayoutCommands(MainWindow* frame, QMenu* view) {
    auto* group = new QActionGroup(view);
    QAction* schematic = group->addAction(QString());
    lirsk::setTranslatedText(schematic, "text", "LayoutCommands",
                             QT_TRANSLATE_NOOP("LayoutCommands", "Схема"));
    QAction* geographic = group->addAction(QString());
    lirsk::setTranslatedText(geographic, "text", "LayoutCommands",
                             QT_TRANSLATE_NOOP("LayoutCommands", "География"));
    for (QAction* action : {schematic, geographic}) {
        action->setCheckable(true);
        action->setVisible(false);
    }
    view->addSeparator();
    view->addActions(group->actions());
    QObject::connect(view, &QMenu::aboutToShow, view, [=] {
        MapWindow* window = frame->currentMapWindow();
        const bool both =
            window && window->document().description() && window->document().description()->layouts;
        schematic->setVisible(both);
        geographic->setVisible(both);
        if (both)
            (window->document().description()->layouts->schematicShown ? schematic : geographic)
                ->setChecked(true);
    });
    for (QAction* action : {schematic, geographic})
        QObject::connect(action, &QAction::triggered, frame, [=] {
            if (MapWindow* window = frame->currentMapWindow())
                lirsk::edit::showLayout(window->document(), action == schematic);
        });
}
