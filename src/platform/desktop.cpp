#include "platform/desktop.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include <pwd.h>
#include <unistd.h>

namespace lirsk {

QString userName() {
    if (const passwd* entry = getpwuid(geteuid()); entry && entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
    return qEnvironmentVariable("USER");
}

bool openDetached(const QString& urlOrPath) {
    const QUrl url = QFileInfo::exists(urlOrPath) ? QUrl::fromLocalFile(urlOrPath)
                                                  : QUrl::fromUserInput(urlOrPath);
    return QDesktopServices::openUrl(url);
}

} // namespace lirsk
