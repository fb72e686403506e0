#include "domain/NoteFile.h"

#include "core/Cp1250.h"
#include "core/Error.h"
#include "core/RegularFile.h"
#include "core/SafeFileWriter.h"
#include "core/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kv
{

namespace
{

// Trimmed of spaces and control characters at both ends.
bool blank(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() > 0x20 && !c.isSpace())
            return false;
    return true;
}

} // namespace

QString NoteFile::path(qint64 peno)
{
    return dataPath(QStringLiteral("Pozn/") + QString::number(peno) + QStringLiteral(".tx"));
}

bool NoteFile::exists(qint64 peno)
{
    return RegularFile::exists(path(peno));
}

QStringList NoteFile::lines(qint64 peno)
{
    QByteArray bytes;
    if (!RegularFile::read(path(peno), bytes))
        return {};
    QString all = Cp1250::decode(bytes);
    all.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    all.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (all.isEmpty())
        return {};
    if (all.endsWith(QLatin1Char('\n')))
        all.chop(1); // the last line's end starts no further line
    return all.split(QLatin1Char('\n'));
}

QString NoteFile::text(qint64 peno)
{
    return lines(peno).join(QLatin1Char('\n'));
}

void NoteFile::save(qint64 peno, const QString& text)
{
    const QString file = path(peno);
    if (blank(text)) {
        if (QFileInfo::exists(file) && !QFile::remove(file))
            throw Error::file(file, QStringLiteral("Poznámku nelze smazat."));
        return;
    }

    QString body = text;
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = body.split(QLatin1Char('\n'));
    QByteArray bytes;
    qsizetype bad = -1;
    QString crlf = lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    if (!Cp1250::encodeStrict(crlf, bytes, &bad))
        throw Error::file(
            file,
            QStringLiteral("Znak \"%1\" nelze uložit v kódování Windows-1250.").arg(crlf.at(bad)));

    const QString dir = QFileInfo(file).absolutePath();
    if (!QDir().mkpath(dir))
        throw Error::file(dir, QStringLiteral("Složku poznámek nelze vytvořit."));
    // Never through a link: a note is a file of Pozn/ and nothing else.
    SafeFileWriter::Options options;
    options.links = SafeFileWriter::Links::Refuse;
    SafeFileWriter::write(file, bytes, options);
}

} // namespace kv
