#include "engine/QuickFindTokenizer.h"

#include "core/Error.h"

#include <QString>
#include <sqlite3.h>

namespace kv::engine
{

struct QuickFindTokenizer::Impl {
    sqlite3* own = nullptr;
    fts5_tokenizer api{};
    Fts5Tokenizer* tokenizer = nullptr;
    QList<QByteArray> found;
    int max = -1;

    explicit Impl(sqlite3* db)
    {
        if (!db) {
            if (sqlite3_open_v2(":memory:", &own, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                                nullptr) != SQLITE_OK) {
                sqlite3_close(own);
                throw Error::engine(QStringLiteral("An in-memory database cannot be opened."));
            }
            db = own;
        }
        fts5_api* fts = nullptr;
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT fts5(?1)", -1, &st, nullptr) == SQLITE_OK) {
            sqlite3_bind_pointer(st, 1, &fts, "fts5_api_ptr", nullptr);
            sqlite3_step(st);
        }
        sqlite3_finalize(st);
        void* context = nullptr;
        if (!fts || fts->xFindTokenizer(fts, "unicode61", &context, &api) != SQLITE_OK) {
            sqlite3_close(own);
            throw Error::engine(QStringLiteral("The full-text tokenizer is not available."));
        }
        // The index's own options (QuickFindIndex: tokenize=...).
        const char* args[] = {"remove_diacritics", "2"};
        if (api.xCreate(context, args, 2, &tokenizer) != SQLITE_OK) {
            sqlite3_close(own);
            throw Error::engine(QStringLiteral("The full-text tokenizer cannot be made."));
        }
    }
    ~Impl()
    {
        api.xDelete(tokenizer);
        sqlite3_close(own);
    }

    static int take(void* self, int, const char* token, int size, int, int)
    {
        auto* impl = static_cast<Impl*>(self);
        impl->found << QByteArray(token, size);
        return impl->max >= 0 && impl->found.size() >= impl->max ? SQLITE_DONE : SQLITE_OK;
    }
};

QuickFindTokenizer::QuickFindTokenizer() : m(std::make_unique<Impl>(nullptr)) {}

QuickFindTokenizer::QuickFindTokenizer(sqlite3* db) : m(std::make_unique<Impl>(db)) {}

QuickFindTokenizer::~QuickFindTokenizer() = default;

QList<QByteArray> QuickFindTokenizer::tokens(const QByteArray& text, int max)
{
    m->found.clear();
    m->max = max;
    if (max != 0)
        m->api.xTokenize(m->tokenizer, m.get(), FTS5_TOKENIZE_DOCUMENT, text.constData(),
                         int(text.size()), &Impl::take);
    return std::move(m->found);
}

} // namespace kv::engine
