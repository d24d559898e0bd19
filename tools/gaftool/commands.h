#pragma once

#include <QStringList>

// One function a command; each takes the arguments after the command's name.

namespace gaftool {

int cmdDump(const QStringList& args);
int cmdConvert(const QStringList& args);
int cmdValidate(const QStringList& args);

} // namespace gaftool
