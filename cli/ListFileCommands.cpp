#include "cli/ListFileCommands.h"

#include "cli/CommandCall.h"
#include "cli/CommandLine.h"
#include "cli/CommandSyntax.h"
#include "core/Cp1250.h"
#include "core/Error.h"
#include "core/ListFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <optional>

namespace kv
{

namespace
{

std::optional<int> parseKey(const QString& text)
{
    bool ok = false;
    qulonglong value = 0;
    if (text.startsWith(u"0x", Qt::CaseInsensitive))
        value = text.mid(2).toULongLong(&ok, 16);
    else if (!text.isEmpty() && text.at(0).isDigit())
        value = text.toULongLong(&ok, 10);
    if (!ok || value > 0xFFFFFFFFull)
        return std::nullopt;
    return static_cast<int>(static_cast<quint32>(value));
}

QString describe(const QString& line, qsizetype index)
{
    const char32_t code = line.at(index).isHighSurrogate() && index + 1 < line.size()
                              ? QChar::surrogateToUcs4(line.at(index), line.at(index + 1))
                              : line.at(index).unicode();
    return QStringLiteral("'%1' (U+%2) at column %3")
        .arg(QString::fromUcs4(&code, 1),
             QString::number(static_cast<uint>(code), 16).toUpper().rightJustified(4, u'0'))
        .arg(index + 1);
}

} // namespace

int oxoDump(const QStringList& args, QTextStream& out, QTextStream& err)
{
    return cli::runCommand(QStringList{QStringLiteral("oxo-dump")} + args, out, err);
}

int oxoPack(const QStringList& args, QTextStream& out, QTextStream& err)
{
    return cli::runCommand(QStringList{QStringLiteral("oxo-pack")} + args, out, err);
}

namespace cli
{

void declareOxoDump(CommandSyntax& syntax)
{
    syntax.describe(QStringLiteral(
        "Prints the lines of a settings, selection or label file (.ini, .kvv, .kl),\n"
        "unpacked and converted from Windows-1250."));
    syntax.addArgument(QStringLiteral("FILE"), QStringLiteral("the file to print"));
}

int runOxoDump(const CommandCall& call)
{
    QTextStream& out = call.out();
    QTextStream& err = call.err();
    const QString path = call.positional().at(0);
    if (!QFileInfo(path).isFile()) {
        err << "oxo-dump: " << path << ": no such file" << Qt::endl;
        return 1;
    }
    QStringList lines;
    try {
        loadListFile(lines, path);
    } catch (const Error& e) {
        if (!e.is(Error::Kind::File))
            throw;
        err << "oxo-dump: " << e.message() << Qt::endl;
        return 1;
    }
    for (const QString& line : lines)
        out << line << '\n';
    out.flush();
    return 0;
}

void declareOxoPack(CommandSyntax& syntax)
{
    syntax.describe(
        QStringLiteral("Packs the UTF-8 text file IN into the list-file container OUT."));
    syntax.addOption({QStringLiteral("key")},
                     QStringLiteral("the container key, decimal or 0x hexadecimal"),
                     QStringLiteral("K"), CommandSyntax::Need::Required);
    syntax.addArgument(QStringLiteral("IN"), QStringLiteral("the text file to pack"));
    syntax.addArgument(QStringLiteral("OUT"), QStringLiteral("the container to write"));
}

int runOxoPack(const CommandCall& call)
{
    QTextStream& err = call.err();
    const std::optional<int> key = parseKey(call.value(QStringLiteral("key")));
    if (!key)
        return call.usageError(QStringLiteral("bad key %1").arg(call.value(QStringLiteral("key"))));
    const QStringList files = call.positional();
    const QString& in = files.at(0);
    const QString& outPath = files.at(1);

    QFile file(in);
    if (!file.open(QIODevice::ReadOnly)) {
        err << "oxo-pack: " << in << ": " << file.errorString() << Qt::endl;
        return 1;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        err << "oxo-pack: " << in << ": " << file.errorString() << Qt::endl;
        return 1;
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        err << "oxo-pack: " << in << ": not valid UTF-8 text" << Qt::endl;
        return 1;
    }
    const QStringList lines = listfile::split(text);
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QByteArray encoded;
        qsizetype bad = 0;
        if (!Cp1250::encodeStrict(lines.at(n), encoded, &bad)) {
            err << "oxo-pack: " << in << ": line " << (n + 1) << ": character "
                << describe(lines.at(n), bad) << " has no Windows-1250 form; nothing written"
                << Qt::endl;
            return 1;
        }
    }
    try {
        SafeFileWriter::Options options;
        options.inputs = {in};
        saveListFile(lines, outPath, 1, *key, options);
    } catch (const Error& e) {
        if (!e.is(Error::Kind::File))
            throw;
        err << "oxo-pack: " << e.message() << Qt::endl;
        return 1;
    }
    return 0;
}

} // namespace cli

} // namespace kv
