#include "i18n/language.h"

#include <QTest>

using namespace lirsk;

Q_DECLARE_METATYPE(std::optional<Language>)

class TestLanguage : public QObject {
    Q_OBJECT
private slots:
    void fromEnvironment_data() {
        QTest::addColumn<QString>("lcAll");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("language");
        QTest::addColumn<Language>("expected");
        const Language ru = Language::Russian, en = Language::English;
        QTest::newRow("nothing set") << ""
                                     << ""
                                     << "" << ru;
        QTest::newRow("LANG English") << ""
                                      << "en_US.UTF-8"
                                      << "" << en;
        QTest::newRow("LANG Russian") << ""
                                      << "ru_RU.UTF-8"
                                      << "" << ru;
        QTest::newRow("LANG German") << ""
                                     << "de_DE.UTF-8"
                                     << "" << ru;
        QTest::newRow("LC_ALL over LANG") << "ru_RU.UTF-8"
                                          << "en_GB.UTF-8"
                                          << "" << ru;
        QTest::newRow("LC_ALL English") << "en_GB.UTF-8"
                                        << "ru_RU.UTF-8"
                                        << "" << en;
        QTest::newRow("LANGUAGE's first choice") << ""
                                                 << "ru_RU.UTF-8"
                                                 << "en:ru" << en;
        QTest::newRow("LANGUAGE Russian first") << ""
                                                << "en_US.UTF-8"
                                                << "ru_RU:en" << ru;
        QTest::newRow("LANGUAGE ignored under C") << "C.UTF-8"
                                                  << ""
                                                  << "en" << ru;
        QTest::newRow("LANGUAGE ignored under POSIX") << ""
                                                      << "POSIX"
                                                      << "en_US" << ru;
    }
    void fromEnvironment() {
        QFETCH(QString, lcAll);
        QFETCH(QString, lang);
        QFETCH(QString, language);
        QFETCH(Language, expected);
        const auto set = [](const char* name, const QString& value) {
            if (value.isEmpty())
                qunsetenv(name);
            else
                qputenv(name, value.toUtf8());
        };
        set("LC_ALL", lcAll);
        set("LC_MESSAGES", {});
        set("LANG", lang);
        set("LANGUAGE", language);
        QCOMPARE(languageFromEnvironment(), expected);
    }

    void fromCode_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<std::optional<Language>>("expected");
        QTest::newRow("ru") << "ru" << std::optional(Language::Russian);
        QTest::newRow("en") << "en" << std::optional(Language::English);
        QTest::newRow("region and codeset") << "en_GB.UTF-8" << std::optional(Language::English);
        QTest::newRow("other language") << "de" << std::optional<Language>();
        QTest::newRow("empty") << "" << std::optional<Language>();
    }
    void fromCode() {
        QFETCH(QString, code);
        QFETCH(std::optional<Language>, expected);
        QCOMPARE(languageFromCode(code), expected);
    }
};

QTEST_GUILESS_MAIN(TestLanguage)
#include "tst_language.moc"
