#pragma once

#include <QString>
#include <optional>

namespace kv
{

struct StartupOptions {
    std::optional<QString> homeOverride;     // --home DIR
    std::optional<QString> databaseOverride; // --db URL
    bool minimized = false;                  // --minimized
    QString instanceKey;                     // empty: the per-user default
    QString iniPath;                         // empty: the usual place
    QString selectionFile;                   // a saved selection to open at start
};

// Runs the desktop program in the existing application object: one instance
// per user, configuration, the data module and the windows, then the event
// loop. Returns the exit code.
class Startup
{
public:
    explicit Startup(StartupOptions options);
    int run();

private:
    StartupOptions m_options;
};

} // namespace kv
