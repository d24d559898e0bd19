#include "platform/desktop.h"

#include <QDesktopServices>
#include <QFileInfo>
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

bool openDetached(const QString& urlOrPath) {
    const QUrl url = QFileInfo::exists(urlOrPath) ? QUrl::fromLocalFile(urlOrPath)
                                                  : QUrl::fromUserInput(urlOrPath);
    return QDesktopServices::openUrl(url);
}

} // namespace lirsk
