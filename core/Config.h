#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace kv
{

// Reading and writing the configuration file KV2001.ini (keys MdiMod, Nast,
// Lang, Pro) and finding the data home.
struct ConfigResult {
    bool error = false; // the configuration error must be shown and the program end
    int mdiMod = 0;     // arrangement of the child windows
    QStringList lines;  // the file's lines as read
};

// Where KV2001.ini lives: next to the program when that folder is writable
// and not an installation (bin/ beside share/kvelta/), otherwise
// <user configuration folder>/Lumora/KV2001.ini.
QString iniPath();

// Fills settings() from the configuration file and the data home. The data
// home is homeOverride when given, else the setting Home of Lumora/KV2001
// (user scope first, then system scope); the server the same way from
// databaseOverride and the setting Database. Sets error for a value that is
// not an integer, an unreadable file, or an empty data home.
ConfigResult readConfig(const QString& iniPath, const std::optional<QString>& homeOverride,
                        const std::optional<QString>& databaseOverride = std::nullopt);

// Writes the flags, the language, mdiMod and the constant Pro into the
// file, keeping its other lines. Failures are swallowed: the old file then
// stays as it was.
void writeConfig(const QString& iniPath, int mdiMod);

// The value of the first line whose text before its first "=" equals key,
// ignoring case; nullopt when no line matches.
std::optional<QString> configValue(const QStringList& lines, const QString& key);

// The data home stored in the settings Lumora/KV2001 key Home: the user's
// value, else the system-wide one; empty when neither is set.
QString settingsHome();

// The server in the setting Database of Lumora/KV2001, the same way; empty
// when the company data comes from the data home.
QString settingsDatabase();

// Replaces the value of key's line, or appends "key=value" when absent.
void setConfigValue(QStringList& lines, const QString& key, const QString& value);

} // namespace kv
