#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace lirsktest {

// What one run of gaftool gave back. exitCode is -1 when it crashed or did not finish.
struct GaftoolRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs the gaftool built with the tests (GAFTOOL_PATH), optionally in another folder, waiting for
// it at most the milliseconds given.
inline GaftoolRun runGaftool(const QStringList& args, const QString& workDir = QString(),
                             int waitMilliseconds = 30000) {
    QProcess p;
    if (!workDir.isEmpty())
        p.setWorkingDirectory(workDir);
    p.start(QStringLiteral(GAFTOOL_PATH), args);
    GaftoolRun r;
    if (!p.waitForFinished(waitMilliseconds))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

} // namespace lirsktest
