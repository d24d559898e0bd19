#include "app/appicon.h"
#include "app/languagemenu.h"
#include "app/mainwindow.h"
#include "app/recovery.h"
#include "app/session.h"
#include "app/splashscreen.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lirskmap"));
    // The desktop pairs the windows with the menu entry lirskmap.desktop and its icon.
    QApplication::setDesktopFileName(QStringLiteral("lirskmap"));
    QApplication::setWindowIcon(appIcon());
    // The language chosen last, else Russian, or English on an English desktop; the toolkit's
    // own dialogs and buttons follow.
    switchLanguage(startLanguage());

    auto* splash = new SplashScreen(5000);
    splash->ShowAndWait();

    MainWindow frame;
    frame.show();
    splash->close();
    delete splash;
    // Crash copies first; the maps of the last run then, those not restored already.
    offerRecovery(&frame);
    keepSession(&frame);
    return app.exec();
}
