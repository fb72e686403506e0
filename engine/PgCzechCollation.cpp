#include "engine/PgCzechCollation.h"

#include "core/Error.h"
#include "engine/PgConnection.h"

namespace kv::engine
{

QString PgCzechCollation::clause()
{
    return QStringLiteral("COLLATE pg_catalog.\"%1\"").arg(QLatin1String(name));
}

void PgCzechCollation::require(PgConnection& connection)
{
    const PgResult found = connection.query(
        QStringLiteral("SELECT 1 FROM pg_catalog.pg_collation WHERE collname = $1 AND "
                       "collprovider = 'i' AND collnamespace = 'pg_catalog'::regnamespace"),
        {QString::fromLatin1(name)});
    if (found.rows() == 0)
        throw Error::engine(
            QStringLiteral("the PostgreSQL server (%1) has no ICU collation \"%2\" for Czech "
                           "order; it needs a server built with ICU")
                .arg(connection.describe(), QLatin1String(name)));
}

} // namespace kv::engine
