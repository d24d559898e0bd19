#pragma once

#include <QCoreApplication>

namespace lirsk {

// The import's messages, translated in the context "GtfsImport" (the source texts are Russian).
struct ImportText {
    Q_DECLARE_TR_FUNCTIONS(GtfsImport)
public:
    // The note of a feed without fares, and where its user sets the fare: on gaftool's command
    // line, or in the program's description of the map.
    enum class FareSetting { CommandLine, Program };
    static QString noFares(FareSetting where) {
        return where == FareSetting::CommandLine
                   ? tr("в источнике нет тарифов (fare_attributes.txt): стоимость проезда не "
                        "указана, задайте её ключом --fare")
                   : tr("в источнике нет тарифов (fare_attributes.txt): стоимость проезда не "
                        "указана, задайте её в «Сервис» → «Описание карты…» (в режиме "
                        "редактора)");
    }
};

} // namespace lirsk
