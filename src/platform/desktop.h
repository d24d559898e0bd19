#pragma once

#include <QString>

#include <functional>

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
// Opens a web address or a local document in the desktop's viewer through xdg-open, without
// waiting for it. failed is called, at once or when the opener gives up, when nothing shows it:
// no opener, or one that found no viewer.
void openDetached(const QString& urlOrPath, const std::function<void()>& failed);

} // namespace lirsk
