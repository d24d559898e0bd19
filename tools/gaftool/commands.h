#pragma once

#include <QCoreApplication>
#include <QStringList>

#include <memory>

// One function a command; each takes the arguments after the command's name.

namespace gaftool {

int cmdDump(const QStringList& args);
int cmdConvert(const QStringList& args);
int cmdValidate(const QStringList& args);
int cmdRender(const QStringList& args);

// The application object a command needs (render draws, the others only read and write).
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv);
int cmdRoute(const QStringList& args);
int cmdCatalogue(const QStringList& args);
int cmdImportGtfs(const QStringList& args);
int cmdGtfsSummary(const QStringList& args);

} // namespace gaftool
