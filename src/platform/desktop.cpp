#include "platform/desktop.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <cerrno>
#include <vector>

#include <pwd.h>
#include <unistd.h>

namespace lirsk {

AccountName accountName() {
    const long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? std::size_t(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    int error = getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found);
    while (error == ERANGE && buffer.size() < (std::size_t(1) << 20)) {
        buffer.resize(buffer.size() * 2);
        error = getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found);
    }
    if (error != 0)
        return {QString(), error};
    // No entry for the account: the system has no name for it.
    if (!found || !found->pw_name)
        return {QString(), ENOENT};
    return {QString::fromLocal8Bit(found->pw_name), 0};
}

void openDetached(const QString& urlOrPath, const std::function<void()>& failed) {
    const QUrl url = QFileInfo::exists(urlOrPath) ? QUrl::fromLocalFile(urlOrPath)
                                                  : QUrl::fromUserInput(urlOrPath);
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        failed();
        return;
    }
    // The opener is not the program's child for long: it hands the page over and ends, with a
    // non-zero status when no viewer took it. It is left running when the program ends first.
    auto* process = new QProcess;
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, failed](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         failed();
                         process->deleteLater();
                     });
    QObject::connect(process, &QProcess::finished, process,
                     [process, failed](int status, QProcess::ExitStatus exit) {
                         if (exit != QProcess::NormalExit || status != 0)
                             failed();
                         process->deleteLater();
                     });
    process->start(opener, {url.toString()});
}

} // namespace lirsk
