#include "domain/TextLines.h"

#include "core/Cp1250.h"
#include "core/Error.h"
#include "core/ListFile.h"

#include <QIODevice>

namespace kv::textlines
{

QStringList readAll(QIODevice& device)
{
    return listfile::split(Cp1250::decode(device.readAll()));
}

void writeLines(QIODevice& device, const QStringList& lines)
{
    const QByteArray bytes = listfile::render(lines);
    if (device.write(bytes) != bytes.size())
        throw Error::selection(
            QStringLiteral("Cannot write the selection data: %1").arg(device.errorString()));
}

bool parseInt(const QString& line, qint64* value)
{
    const QString t = line.trimmed();
    if (t.isEmpty() || t.size() > 19)
        return false;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t.at(i);
        const bool sign = i == 0 && (c == u'-' || c == u'+') && t.size() > 1;
        if (!sign && (c < u'0' || c > u'9'))
            return false;
    }
    bool ok = false;
    const qint64 v = t.toLongLong(&ok, 10);
    if (ok && value)
        *value = v;
    return ok;
}

int parseCount(const QString& line, const QString& what)
{
    qint64 v = 0;
    if (!parseInt(line, &v))
        throw Error::selection(
            QStringLiteral("The %1 \"%2\" is not a whole number.").arg(what, line.left(40)));
    if (v < 0 || v > std::numeric_limits<int>::max())
        throw Error::selection(QStringLiteral("The %1 %2 is out of range.").arg(what).arg(v));
    return int(v);
}

} // namespace kv::textlines
