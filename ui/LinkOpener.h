#pragma once

#include <QUrl>
#include <functional>

class QWidget;

namespace kv
{

// Opens a web address in the user's browser. When no browser can be
// started the user is told so and gets the address as selectable text.
class LinkOpener
{
public:
    using Launcher = std::function<bool(const QUrl&)>;

    // Returns whether a browser took the address.
    static bool open(const QUrl& url, QWidget* parent);
    // Replaces QDesktopServices::openUrl (tests: a machine without a browser).
    static void setLauncher(Launcher launcher);
};

} // namespace kv
