#include "app/access.h"
#include "app/appicon.h"
#include "app/credits.h"
#include "app/forms.h"
#include "app/mainform.h"
#include "app/settingsform.h"
#include "edit/marshrut.h"
#include "edit/rez.h"
#include "edit/setarcweight.h"
#include "edit/vertexparam.h"

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

    auto* splash = new TForm4(5000);
    splash->ShowAndWait();

    TMainForm frame;
    CreateSetarcWeightForm(&frame);
    frame.SettingsForm = new TSettingsForm(&frame);
    CreateVertexParamForm(&frame);
    frame.Form3 = new TForm3(&frame);
    frame.Form1 = new TForm1(&frame);
    CreateFRez(&frame);
    CreateMarshWindow(&frame);
    frame.Form2 = new TForm2(&frame);
    frame.show();
    splash->close();
    delete splash;
    return app.exec();
}
