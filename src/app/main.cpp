#include "app/appicon.h"
#include "app/mainwindow.h"
#include "app/recovery.h"
#include "app/session.h"
#include "app/splashscreen.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lirskmap"));
    // The desktop pairs the windows with the menu entry lirskmap.desktop and its icon.
    QApplication::setDesktopFileName(QStringLiteral("lirskmap"));
    QApplication::setWindowIcon(appIcon());
    // The program speaks Russian whatever the desktop's language: so do the toolkit's own
    // dialogs and buttons, when their translations are installed.
    QTranslator toolkitTexts;
    if (toolkitTexts.load(QStringLiteral("qtbase_ru"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&toolkitTexts);

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
