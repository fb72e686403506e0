// Filter texts and statements in the Jet dialect from anywhere (selection
// files, typed filters): translated, or refused with Error::engine before
// SQLite sees them. Whatever is translated must also run on a small company
// database: the translation is the only guard between the text and SQLite.

#include "FuzzSupport.h"
#include "core/Error.h"
#include "engine/BoundStatement.h"
#include "engine/Database.h"
#include "engine/JetDialect.h"
#include "engine/Schema.h"
#include "engine/Statement.h"

using namespace kv::engine;

namespace
{

Database& database()
{
    static Database* db = [] {
        auto* d = new Database(QStringLiteral(":memory:"), Database::Mode::Create);
        d->exec(Schema::createSql());
        d->exec(QStringLiteral("INSERT INTO firma(peno, nazev, misto) VALUES "
                               "(1, 'Alfa', 'Brno'), (2, 'Šťastná', 'Praha'), (3, NULL, '')"));
        d->reloadCatalog();
        return d;
    }();
    return *db;
}

void run(const Translated& t, const char* what)
{
    try {
        BoundStatement bound(database(), t);
        for (int rows = 0; rows < 10 && bound.statement().step(); ++rows) {
        }
    } catch (const kv::Error& e) {
        if (!e.is(kv::Error::Kind::Engine))
            throw;
        std::fprintf(stderr, "%s\nSQL: %s\nSQLite: %s\n", what, qPrintable(t.sql),
                     qPrintable(e.message()));
        kvfuzz::fail("a translated text does not run");
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    kvfuzz::initApp(argc, argv);
    database();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const Translated t = JetDialect::filter(QStringLiteral("firma"), text);
        Translated query = t;
        query.sql = QStringLiteral("SELECT peno FROM \"firma\" WHERE ") + t.sql;
        run(query, "filter");
    } catch (const kv::Error& e) {
        if (!e.is(kv::Error::Kind::Engine))
            throw;
    }
    try {
        run(JetDialect::select(text), "select");
    } catch (const kv::Error& e) {
        if (!e.is(kv::Error::Kind::Engine))
            throw;
    }
    try {
        (void)JetDialect::sortList(QStringLiteral("firma"), text);
    } catch (const kv::Error& e) {
        if (!e.is(kv::Error::Kind::Engine))
            throw;
    }
    return 0;
}
