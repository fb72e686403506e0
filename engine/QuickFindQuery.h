#pragma once

#include <QString>
#include <QStringList>

namespace kv::engine
{

// One question quick find asks of its index, for words as QuickFind::words
// gives them (lower case, letters and digits only). The FTS5 index takes it
// as an expression(); a server's copy of the index asks the same in SQL
// (PgQuickFind).
struct QuickFindQuery {
    enum class Kind {
        IcoExact,  // the IČO is the one word
        IcoPrefix, // the IČO starts with the one word
        NameStart, // the name starts with the words, the last one a prefix
        NameWords, // every word starts a word of the name
        AnyWords,  // every word starts a word of name, IČO, street or town
    };
    Kind kind = Kind::AnyWords;
    QStringList words;

    // The FTS5 expression over the index's columns.
    QString expression() const;
};

} // namespace kv::engine
