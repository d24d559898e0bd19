#pragma once

#include <QCoreApplication>

namespace lirsk {

// The import's messages, translated in the context "GtfsImport" (the source texts are Russian).
struct ImportText {
    Q_DECLARE_TR_FUNCTIONS(GtfsImport)
};

} // namespace lirsk
