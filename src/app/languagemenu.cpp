#include "app/languagemenu.h"

#include "app/mainwindow.h"
#include "platform/translatedtext.h"

#include <QActionGroup>
#include <QLocale>
#include <QMenu>

void switchLanguage(lirsk::Language language) {
    lirsk::setLanguage(language, {QStringLiteral("lirskmap_gui")});
    // The windows' own texts (made of parts, or of the state they show) follow on the
    // QEvent::LanguageChange the toolkit posts them.
    lirsk::retranslateTexts();
}

void addLanguageMenu(MainWindow* frame, QMenu* parent) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("languageMenu"));
    lirsk::keepText<MainWindow>(menu, "title", QT_TRANSLATE_NOOP("MainWindow", "Язык"));
    parent->addMenu(menu);
    auto* group = new QActionGroup(menu);
    // Each language by its own name, the same in either language.
    for (auto [language, locale] : {std::pair{lirsk::Language::Russian, QLocale::Russian},
                                    std::pair{lirsk::Language::English, QLocale::English}}) {
        const QString name = language == lirsk::Language::English
                                 ? QLocale::languageToString(locale)
                                 : QLocale(locale).nativeLanguageName();
        QAction* action = menu->addAction(name.left(1).toUpper() + name.mid(1));
        action->setObjectName(QStringLiteral("acLanguage_") + lirsk::languageCode(language));
        action->setCheckable(true);
        action->setChecked(lirsk::currentLanguage() == language);
        group->addAction(action);
        QObject::connect(action, &QAction::triggered, frame, [frame, language] {
            if (lirsk::currentLanguage() == language)
                return;
            switchLanguage(language);
            emit frame->languageChosen(language);
        });
    }
}
