#pragma once

#include <QByteArray>
#include <QList>
#include <memory>

struct sqlite3;

namespace kv::engine
{

// The quick-find index's own tokenizer (FTS5's unicode61, diacritics
// removed): the words it makes of a text, lower case, in UTF-8. Whatever
// else answers quick find (the copy on a server) splits and folds texts
// with it too, so it finds exactly what the index finds.
class QuickFindTokenizer
{
public:
    // On a connection of its own (in memory).
    QuickFindTokenizer();
    // On db's SQLite library; db must outlive the tokenizer.
    explicit QuickFindTokenizer(sqlite3* db);
    ~QuickFindTokenizer();
    QuickFindTokenizer(const QuickFindTokenizer&) = delete;
    QuickFindTokenizer& operator=(const QuickFindTokenizer&) = delete;

    // The tokens of text (UTF-8), at most max of them (all when max < 0).
    QList<QByteArray> tokens(const QByteArray& text, int max = -1);

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};

} // namespace kv::engine
