#pragma once

#include "model/graphmap.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// What the gaftool commands share: reading a map from .gaf or JSON, and printing.

namespace gaftool {

// gaftool's own messages and help, translated in the context "gaftool" (Russian source texts).
struct Messages {
    Q_DECLARE_TR_FUNCTIONS(gaftool)
};

// A .json path is read as the JSON of a map, anything else as a map file.
bool loadMap(const QString& path, lirsk::GraphMap& map, QString* error);
bool isJsonPath(const QString& path);

void out(const QString& text);        // to standard output, UTF-8, with a newline
void outRaw(const QByteArray& bytes); // to standard output as they are
// The exit code of a command that returned code, once its output is flushed: 2 with the cause
// on standard error when some of it could not be written.
int finishOutput(int code);
void err(const QString& text); // to standard error, UTF-8, with a newline

// Prints "gaftool: FILE: reason" and returns the exit code for an unreadable input.
int failInput(const QString& path, const QString& reason);
// Prints the usage of a command and returns the exit code for bad arguments.
int usage(const QString& text);
bool wantsHelp(const QStringList& args);

// For a command that builds large tables one after another (an import): blocks of 256 KiB and
// more come from the system and go back to it when freed, so that what one stage frees is not
// still counted in the process's memory while the next stage peaks.
void returnLargeBlocksToSystem();

} // namespace gaftool
