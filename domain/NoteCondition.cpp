#include "domain/NoteCondition.h"

#include "domain/TextLines.h"

#include <QDir>

namespace kv
{

QString NoteCondition(const QString& noteDir)
{
    const QString suffix = QStringLiteral(".tx");
    // Without QDir::Hidden and QDir::System, hidden files and special files
    // stay out, and links too, as a note is only ever a regular file.
    const QStringList names = QDir(noteDir).entryList({QStringLiteral("*.tx")},
                                                      QDir::Files | QDir::NoSymLinks, QDir::Name);
    QStringList penos;
    for (const QString& name : names) {
        // Match the file name exactly: a note exists for firm p only as
        // "p.tx", so "15.tx.tx" or "15.TX" are not notes of firm 15.
        if (!name.endsWith(suffix, Qt::CaseSensitive))
            continue;
        const QString stem = name.chopped(suffix.size());
        qint64 value = 0;
        // Company numbers are 64-bit: any whole number the name spells is one.
        if (!textlines::parseInt(stem, &value) || stem.trimmed() != stem)
            continue;
        // Written as a plain decimal number: the text goes into a statement.
        penos << QString::number(value);
    }
    if (penos.isEmpty())
        return QString();
    return QStringLiteral("(peno in (") + penos.join(u',') + QStringLiteral("))");
}

} // namespace kv
