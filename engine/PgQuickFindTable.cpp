#include "engine/PgQuickFindTable.h"

#include "engine/Database.h"
#include "engine/PgConnection.h"
#include "engine/PgCopyIn.h"
#include "engine/PgCzechCollation.h"
#include "engine/QuickFindIndex.h"
#include "engine/QuickFindTokenizer.h"

#include <QStringList>

namespace kv::engine
{

namespace
{

// The server's texts cannot hold U+0000 (the load drops it the same way).
QString withoutNul(QString text)
{
    text.remove(QChar(0));
    return text;
}

// The words of a field, in the list form PgQuickFind's patterns expect.
QString wordList(QuickFindTokenizer& tokenizer, const QString& text)
{
    // A NUL separates words, as in the index.
    QStringList words;
    for (const QByteArray& token : tokenizer.tokens(text.toUtf8()))
        words << QString::fromUtf8(token);
    return u' ' + words.join(u' ') + u' ';
}

} // namespace

bool PgQuickFindTable::sourceFits(const Database& source)
{
    const QStringList columns = source.columnNames(QStringLiteral("firma"));
    for (const char* name : {"peno", "ico", "nazev", "ulice", "misto"})
        if (!columns.contains(QLatin1String(name)))
            return false;
    return true;
}

QString PgQuickFindTable::prepareExtension(PgConnection& target, QString& reason)
{
    const PgResult made = target.tryQuery(QStringLiteral("CREATE EXTENSION IF NOT EXISTS pg_trgm"));
    // Made now or earlier (perhaps by an administrator, in any schema).
    const PgResult there = target.query(QStringLiteral(
        "SELECT n.nspname FROM pg_catalog.pg_extension e JOIN pg_catalog.pg_namespace n ON "
        "n.oid = e.extnamespace WHERE e.extname = 'pg_trgm'"));
    if (there.rows() > 0)
        return there.text(0, 0);
    const PgResult available = target.query(QStringLiteral(
        "SELECT count(*) FROM pg_catalog.pg_available_extensions WHERE name = 'pg_trgm'"));
    reason = available.int64(0, 0) == 0
                 ? QStringLiteral("the server has no extension pg_trgm (it comes with "
                                  "the server's contrib modules)")
                 : QStringLiteral("this role may not create the extension pg_trgm (SQLSTATE "
                                  "%1); run \"CREATE EXTENSION pg_trgm\" in the database as its "
                                  "owner or a superuser, then load again")
                       .arg(made.sqlState());
    return QString();
}

qint64 PgQuickFindTable::build(const Database& source, PgConnection& target, const QString& schema,
                               const QString& trgmSchema)
{
    const QString ops = target.identifier(trgmSchema) + QStringLiteral(".gin_trgm_ops");
    const QString name = schema + u'.' + target.identifier(QLatin1String(table));
    const QString czech = PgCzechCollation::clause();
    target.exec(QStringLiteral("CREATE TABLE %1 (pos bigint NOT NULL, peno bigint NOT NULL, "
                               "ico text %2, nazev text %2, ulice text %2, misto text %2, "
                               "name_words text COLLATE \"C\" NOT NULL, ico_words text COLLATE "
                               "\"C\" NOT NULL, words text COLLATE \"C\" NOT NULL)")
                    .arg(name, czech));
    qint64 count = 0;
    QuickFindTokenizer tokenizer(source.handle());
    PgCopyIn copy(target, name,
                  {QStringLiteral("pos"), QStringLiteral("peno"), QStringLiteral("ico"),
                   QStringLiteral("nazev"), QStringLiteral("ulice"), QStringLiteral("misto"),
                   QStringLiteral("name_words"), QStringLiteral("ico_words"),
                   QStringLiteral("words")});
    QuickFindIndex::forEachFirm(source, [&](qint64 n, const QuickFindRow& firm) {
        copy.add(n);
        copy.add(firm.peno);
        for (const QString* text : {&firm.ico, &firm.nazev, &firm.ulice, &firm.misto})
            text->isNull() ? copy.addNull() : copy.add(withoutNul(*text));
        // The index's fields in its order: nazev, ico, ulice, misto.
        QStringList fields;
        for (const QString* text : {&firm.nazev, &firm.ico, &firm.ulice, &firm.misto})
            fields << wordList(tokenizer, *text);
        copy.add(fields.at(0));
        copy.add(fields.at(1));
        copy.add(fields.join(u'|'));
        copy.endRow();
        count = n;
    });
    copy.finish();
    target.exec(QStringLiteral("ALTER TABLE %1 ADD PRIMARY KEY (pos)").arg(name));
    for (const char* column : {"name_words", "ico_words", "words"})
        target.exec(QStringLiteral("CREATE INDEX %1 ON %2 USING gin (%3 %4)")
                        .arg(target.identifier(QLatin1String(table) + u'_' + QLatin1String(column)),
                             name, QLatin1String(column), ops));
    target.exec(QStringLiteral("ANALYZE %1").arg(name));
    return count;
}

} // namespace kv::engine
