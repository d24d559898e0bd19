#pragma once

#include <QString>

// The desktop services the program uses: the account name, opening documents and web
// addresses in their viewers without waiting for them.

namespace lirsk {

// The name of the account that runs the program, or the system's error code when it cannot be
// read (error 0 means the name was read).
struct AccountName {
    QString name;
    int error = 0;
};
AccountName accountName();
// Opens a web address or a local document in the desktop's viewer; false when nothing took it.
bool openDetached(const QString& urlOrPath);

} // namespace lirsk
