#include "i18n/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>
#include <vector>

namespace lirsk {

namespace {

// The translators installed by the last setLanguage, removed by the next one.
std::vector<std::unique_ptr<QTranslator>>& installedTranslators() {
    static std::vector<std::unique_ptr<QTranslator>> translators;
    return translators;
}

Language s_current = Language::Russian;

bool isPlainCLocale(const QString& locale) {
    return locale == QLatin1String("C") || locale == QLatin1String("POSIX") ||
           locale.startsWith(QLatin1String("C."));
}

void install(const QString& name, const QString& folder) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(name, folder))
        return;
    QCoreApplication::installTranslator(translator.get());
    installedTranslators().push_back(std::move(translator));
}

} // namespace

Language languageFromEnvironment() {
    QString locale;
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = qEnvironmentVariable(variable);
        if (!locale.isEmpty())
            break;
    }
    if (locale.isEmpty() || isPlainCLocale(locale))
        return Language::Russian;
    const QString preferred = qEnvironmentVariable("LANGUAGE").section(QLatin1Char(':'), 0, 0);
    return languageFromCode(preferred.isEmpty() ? locale : preferred).value_or(Language::Russian);
}

std::optional<Language> languageFromCode(const QString& code) {
    const QString language = code.section(QLatin1Char('_'), 0, 0).section(QLatin1Char('.'), 0, 0);
    if (language == QLatin1String("ru"))
        return Language::Russian;
    if (language == QLatin1String("en"))
        return Language::English;
    return std::nullopt;
}

QString languageCode(Language language) {
    return language == Language::English ? QStringLiteral("en") : QStringLiteral("ru");
}

void setLanguage(Language language, const QStringList& catalogues) {
    for (const auto& translator : installedTranslators())
        QCoreApplication::removeTranslator(translator.get());
    installedTranslators().clear();
    s_current = language;
    if (language == Language::Russian) {
        install(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
        return;
    }
    const QString suffix = QLatin1Char('_') + languageCode(language);
    install(QStringLiteral("lirskmap_core") + suffix, QStringLiteral(":/i18n"));
    for (const QString& catalogue : catalogues)
        install(catalogue + suffix, QStringLiteral(":/i18n"));
}

Language currentLanguage() {
    return s_current;
}

} // namespace lirsk
