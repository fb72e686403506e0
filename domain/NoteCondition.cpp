#include "domain/NoteCondition.h"

#include "domain/TextLines.h"

#include <QDir>

namespace kv
{

std::vector<qint64> noteFileFirms(const QString& noteDir)
{
    const QString suffix = QStringLiteral(".tx");
    // Without QDir::Hidden and QDir::System, hidden files and special files
    // stay out, and links too, as a note is only ever a regular file.
    const QStringList names = QDir(noteDir).entryList({QStringLiteral("*.tx")},
                                                      QDir::Files | QDir::NoSymLinks, QDir::Name);
    std::vector<qint64> penos;
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
        penos.push_back(value);
    }
    return penos;
}

QString NoteCondition(const QString& noteDir)
{
    QStringList penos;
    // Written as plain decimal numbers: the text goes into a statement.
    for (const qint64 peno : noteFileFirms(noteDir))
        penos << QString::number(peno);
    if (penos.isEmpty())
        return QString();
    return QStringLiteral("(peno in (") + penos.join(u',') + QStringLiteral("))");
}

} // namespace kv
