#include "engine/PgQuickFind.h"

#include "engine/Database.h"
#include "engine/PgConnection.h"
#include "engine/PgQuickFindTable.h"
#include "engine/QuickFindTokenizer.h"
#include "engine/ServerDirectory.h"

#include <QVariantList>

namespace kv::engine
{

namespace
{

// A LIKE pattern that takes text literally.
QString literal(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == u'\\' || c == u'%' || c == u'_')
            out += u'\\';
        out += c;
    }
    return out;
}

} // namespace

bool PgQuickFind::available(const Database& db)
{
    const auto directory = db.directory();
    return directory && directory->hasTable(QLatin1String(PgQuickFindTable::table));
}

PgQuickFind::PgQuickFind(const Database& db, const QString& schema)
    : m_db(db), m_schema(schema), m_tokenizer(std::make_unique<QuickFindTokenizer>())
{
}

PgQuickFind::~PgQuickFind() = default;

std::vector<QuickFindRow> PgQuickFind::match(const QuickFindQuery& query, int limit) const
{
    using Kind = QuickFindQuery::Kind;
    std::vector<QuickFindRow> rows;
    if (query.words.isEmpty() || limit <= 0)
        return rows;
    // The phrases as FTS5 reads the expression: each quoted word one phrase
    // (its tokens adjacent, the last a prefix after "*"), the name's start
    // one phrase of all of them ("a" + "b"*).
    const bool ico = query.kind == Kind::IcoExact || query.kind == Kind::IcoPrefix;
    QList<QStringList> phrases;
    for (const QString& word : ico ? query.words.mid(0, 1) : query.words) {
        if (phrases.isEmpty() || query.kind != Kind::NameStart)
            phrases << QStringList();
        for (const QByteArray& t : m_tokenizer->tokens(word.toUtf8()))
            phrases.last() << QString::fromUtf8(t);
    }
    for (const QStringList& p : phrases)
        if (p.isEmpty())
            return rows; // FTS5 finds nothing for a phrase without tokens
    // Word lists are " w1 w2 ... ": a phrase starts after a space, and an
    // exact last word ends before one.
    QString column = QStringLiteral("words");
    if (ico)
        column = QStringLiteral("ico_words");
    else if (query.kind == Kind::NameStart || query.kind == Kind::NameWords)
        column = QStringLiteral("name_words");
    QVariantList params;
    QStringList where;
    for (const QStringList& p : phrases) {
        const QString start =
            query.kind == Kind::NameStart ? QStringLiteral(" ") : QStringLiteral("% ");
        const QString end =
            query.kind == Kind::IcoExact ? QStringLiteral(" %") : QStringLiteral("%");
        params << start + literal(p.join(u' ')) + end;
        where << QStringLiteral("q.%1 LIKE $%2").arg(column).arg(params.size());
    }
    params << qint64(limit);
    PgConnection& c = m_db.server();
    const QString text =
        QStringLiteral("SELECT q.peno, q.ico, q.nazev, q.ulice, q.misto FROM %1.%2 q WHERE %3 "
                       "ORDER BY q.pos LIMIT $%4")
            .arg(c.identifier(m_schema), c.identifier(QLatin1String(PgQuickFindTable::table)),
                 where.join(QStringLiteral(" AND ")))
            .arg(params.size());
    try {
        const PgResult found = c.query(text, params);
        for (int r = 0; r < found.rows(); ++r)
            rows.push_back({found.int64(r, 0), found.text(r, 1), found.text(r, 2), found.text(r, 3),
                            found.text(r, 4)});
    } catch (...) {
        m_db.recoverServer();
        throw;
    }
    return rows;
}

} // namespace kv::engine
