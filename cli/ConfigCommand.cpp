#include "cli/ConfigCommand.h"

#include "cli/CommandCall.h"
#include "cli/CommandLine.h"
#include "cli/CommandSyntax.h"
#include "core/Config.h"
#include "core/Cp1250.h"
#include "core/Error.h"
#include "core/FileLock.h"
#include "core/ListFile.h"

#include <QDir>
#include <QFileInfo>
#include <utility>
#include <vector>

namespace kv
{

namespace
{

constexpr int ConfigKey = 0x0B;

bool isInteger(const QString& text)
{
    bool ok = false;
    text.trimmed().toInt(&ok, 10);
    return ok;
}

// The program refuses to start on a MdiMod or Nast entry that is not an
// integer; such a value is turned down here rather than stored.
bool acceptable(const QString& key, const QString& value)
{
    if (key.compare(QLatin1String("MdiMod"), Qt::CaseInsensitive) == 0)
        return isInteger(value);
    if (key.compare(QLatin1String("Nast"), Qt::CaseInsensitive) == 0) {
        QStringList entries = value.split(u',');
        entries.removeLast(); // text after the last comma is never read
        for (const QString& entry : std::as_const(entries))
            if (!isInteger(entry))
                return false;
    }
    return true;
}

} // namespace

int configCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    return cli::runCommand(QStringList{QStringLiteral("config")} + args, out, err);
}

namespace cli
{

void declareConfig(CommandSyntax& syntax)
{
    syntax.describe(
        QStringLiteral("Prints which KV2001.ini is used and its lines, or changes lines."));
    syntax.addOption({QStringLiteral("config")}, QStringLiteral("use FILE instead of KV2001.ini"),
                     QStringLiteral("FILE"));
    syntax.addOption({QStringLiteral("set")},
                     QStringLiteral("replace or add the line with that key; may be repeated"),
                     QStringLiteral("KEY=VALUE"), CommandSyntax::Need::Repeatable);
}

int runConfig(const CommandCall& call)
{
    QTextStream& out = call.out();
    QTextStream& err = call.err();
    QString path = call.value(QStringLiteral("config"));
    if (call.isSet(QStringLiteral("config")) && path.isEmpty())
        return call.usageError(QStringLiteral("--config needs a value"));
    std::vector<std::pair<QString, QString>> changes;
    for (const QString& pair : call.values(QStringLiteral("set"))) {
        if (pair.isEmpty())
            return call.usageError(QStringLiteral("--set needs a value"));
        const qsizetype eq = pair.indexOf(u'=');
        const QString key = pair.left(eq).trimmed();
        if (eq <= 0 || key.isEmpty()) {
            err << "kvelta config: " << pair << ": expected KEY=VALUE\n";
            return 2;
        }
        const QString value = pair.mid(eq + 1);
        // A line break would become a line of its own on the next read.
        if (pair.contains(u'\n') || pair.contains(u'\r')) {
            err << "kvelta config: a value cannot hold a line break\n";
            return 2;
        }
        if (!acceptable(key, value)) {
            err << "kvelta config: " << key << "=" << value << ": not a value the program reads\n";
            return 2;
        }
        QByteArray encoded;
        if (!Cp1250::encodeStrict(key + u'=' + value, encoded)) {
            err << "kvelta config: " << pair << ": has a character without a Windows-1250 form\n";
            return 2;
        }
        changes.emplace_back(key, value);
    }
    if (path.isEmpty())
        path = iniPath();

    QStringList lines;
    SafeFileWriter::Options options;
    options.mode = 0600;
    if (changes.empty()) {
        try {
            loadListFile(lines, path);
        } catch (const Error& e) {
            if (!e.is(Error::Kind::File))
                throw;
            err << "kvelta config: " << e.message() << "\n";
            return 1;
        }
        out << QDir::toNativeSeparators(path) << "\n";
        for (const QString& line : std::as_const(lines))
            out << line << "\n";
        return 0;
    }
    try {
        QDir().mkpath(QFileInfo(path).absolutePath());
        // Held from reading to writing, so that a change of a run at the
        // same time is not lost.
        // A device or FIFO is neither read (it could block) nor replaced.
        SafeFileWriter::target(path, options);
        FileLock lock(path);
        lock.acquire();
        // Writing without the old lines would lose them: a failed read stops here.
        loadListFile(lines, path);
        for (const auto& [key, value] : changes)
            setConfigValue(lines, key, value);
        saveListFile(lines, path, 1, ConfigKey, options);
    } catch (const Error& e) {
        if (!e.is(Error::Kind::File))
            throw;
        err << "kvelta config: " << e.message() << "\n";
        return 1;
    }
    return 0;
}

} // namespace cli

} // namespace kv
