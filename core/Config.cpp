#include "core/Config.h"

#include "core/Error.h"
#include "core/FileLock.h"
#include "core/ListFile.h"
#include "core/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace kv
{

namespace
{

constexpr int ConfigKey = 0x0B;
constexpr int ProValue = 255;

// Keys compare before the first "=" only; a line without "=" has no key.
qsizetype findKey(const QStringList& lines, const QString& key)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const qsizetype eq = lines.at(i).indexOf(u'=');
        if (eq >= 0 && QStringView(lines.at(i)).left(eq).compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

std::optional<int> toInt(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

// Spare entries carry whatever byte was read; the named ones are flags.
bool isSpareEntry(int i)
{
    return (i >= 5 && i <= 16) || (i >= 19 && i <= 21);
}

// Stores the numbers of a Nast value in entries; false when one is not an
// integer (the entries stored up to then keep their values).
bool parseNast(QString rest, std::array<unsigned char, NastCount>& entries)
{
    int index = 0;
    for (qsizetype comma = rest.indexOf(u','); comma >= 0 && index < NastCount;
         comma = rest.indexOf(u',')) {
        const auto value = toInt(rest.left(comma));
        if (!value)
            return false;
        entries[index++] = static_cast<unsigned char>(*value & 0xFF);
        rest.remove(0, comma + 1);
    }
    return true;
}

QString buildNast(const Settings& g)
{
    QString value;
    for (int i = 0; i < NastCount; ++i) {
        int entry;
        if (i == 24 || i == 25)
            entry = 1;
        else if (isSpareEntry(i))
            entry = g.nastEntries[i];
        else
            entry = g.nast[i] ? 1 : 0;
        value += QString::number(entry) + u',';
    }
    return value;
}

QString settingsValue(const QString& key)
{
    QSettings user(QSettings::UserScope, QStringLiteral("Lumora"), QStringLiteral("KV2001"));
    QString value = user.value(key).toString();
    if (value.isEmpty()) {
        QSettings system(QSettings::SystemScope, QStringLiteral("Lumora"),
                         QStringLiteral("KV2001"));
        value = system.value(key).toString();
    }
    return value;
}

} // namespace

QString settingsHome()
{
    return settingsValue(QStringLiteral("Home"));
}

QString settingsDatabase()
{
    return settingsValue(QStringLiteral("Database"));
}

std::optional<QString> configValue(const QStringList& lines, const QString& key)
{
    const qsizetype i = findKey(lines, key);
    if (i < 0)
        return std::nullopt;
    return lines.at(i).mid(lines.at(i).indexOf(u'=') + 1);
}

void setConfigValue(QStringList& lines, const QString& key, const QString& value)
{
    const qsizetype i = findKey(lines, key);
    const QString line = key + u'=' + value;
    if (i < 0)
        lines.append(line);
    else
        lines[i] = line;
}

// An installed program (bin/kvelta beside share/kvelta, as the install rules
// lay it out) belongs to every user and to the package manager: its folder is
// no place for one user's settings, even for root, who may write there.
static bool isInstalledProgram(const QString& programDir)
{
    return QFileInfo::exists(programDir + QStringLiteral("/../share/kvelta/strings.tsv"));
}

QString iniPath()
{
    const QString fileName = QStringLiteral("KV2001.ini");
    const QString programDir = QCoreApplication::applicationDirPath();
    if (!programDir.isEmpty() && !isInstalledProgram(programDir) &&
        QFileInfo(programDir).isWritable())
        return QDir(programDir).filePath(fileName);
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Lumora/") + fileName;
}

ConfigResult readConfig(const QString& path, const std::optional<QString>& homeOverride,
                        const std::optional<QString>& databaseOverride)
{
    Settings& g = settings();
    ConfigResult result;
    g.nastEntries.fill(1);

    try {
        loadListFile(result.lines, path);
    } catch (const Error& e) {
        if (!e.is(Error::Kind::File))
            throw;
        // An unreadable file must not be mistaken for a missing one: the
        // defaults would then overwrite it on exit.
        result.error = true;
    }
    g.langBase = 0;

    if (const auto mdi = configValue(result.lines, QStringLiteral("MdiMod"))) {
        if (const auto value = toInt(*mdi))
            result.mdiMod = *value;
        else
            result.error = true;
    }
    if (const auto nast = configValue(result.lines, QStringLiteral("Nast"))) {
        if (!parseNast(*nast, g.nastEntries))
            result.error = true;
    }
    for (int i = 0; i < NastCount; ++i)
        g.nast[i] = g.nastEntries[i] != 0;
    g.nast[NastWeb] = true;
    g.nast[NastNazev] = true;
    g.nast[25] = true; // no meaning; kept on like the defaults

    g.dataHome = homeOverride ? *homeOverride : settingsHome();
    g.database = databaseOverride ? *databaseOverride : settingsDatabase();
    if (g.dataHome.isEmpty())
        result.error = true;
    return result;
}

void writeConfig(const QString& path, int mdiMod)
{
    const Settings& g = settings();
    QStringList lines;
    try {
        QDir().mkpath(QFileInfo(path).absolutePath());
        FileLock lock(path);
        lock.acquire();
        // Without the old lines the other keys would be lost: a failed read
        // leaves the file.
        loadListFile(lines, path);
        setConfigValue(lines, QStringLiteral("Nast"), buildNast(g));
        setConfigValue(lines, QStringLiteral("Lang"), QString::number(g.langBase));
        setConfigValue(lines, QStringLiteral("MdiMod"), QString::number(mdiMod));
        setConfigValue(lines, QStringLiteral("Pro"), QString::number(ProValue));
        SafeFileWriter::Options options;
        options.mode = 0600;
        saveListFile(lines, path, 1, ConfigKey, options);
    } catch (const Error& e) {
        if (!e.is(Error::Kind::File))
            throw;
        // Never reported; the draft is discarded and the old file kept.
    }
}

} // namespace kv
