#include "engine/CzechText.h"

#include <QLocale>
#include <sqlite3.h>

namespace kv::engine
{

namespace
{

QString fromUtf8(const void* data, int bytes)
{
    return QString::fromUtf8(static_cast<const char*>(data), bytes);
}

int collate(void*, int lenA, const void* a, int lenB, const void* b)
{
    return CzechText::compare(fromUtf8(a, lenA), fromUtf8(b, lenB));
}

// Matches folded pattern p (from pi) against folded value v (from vi).
// Iterative with one backtrack point per '*', linear in practice.
bool match(const QString& p, const QString& v)
{
    qsizetype pi = 0, vi = 0, starP = -1, starV = 0;
    while (vi < v.size()) {
        if (pi < p.size() && p[pi] == u'*') {
            starP = pi++;
            starV = vi;
        } else if (pi < p.size() && (p[pi] == u'?' || p[pi] == v[vi])) {
            ++pi;
            ++vi;
        } else if (starP >= 0) {
            pi = starP + 1;
            vi = ++starV;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == u'*')
        ++pi;
    return pi == p.size();
}

void deletePattern(void* p)
{
    delete static_cast<QString*>(p);
}

void likeFunc(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    // The pattern is constant within a statement; fold it once.
    auto* pattern = static_cast<QString*>(sqlite3_get_auxdata(ctx, 0));
    if (!pattern) {
        pattern = new QString(
            fromUtf8(sqlite3_value_text(argv[0]), sqlite3_value_bytes(argv[0])).toCaseFolded());
        sqlite3_set_auxdata(ctx, 0, pattern, deletePattern);
        pattern = static_cast<QString*>(sqlite3_get_auxdata(ctx, 0));
        if (!pattern) {
            sqlite3_result_error_nomem(ctx);
            return;
        }
    }
    const QString value =
        fromUtf8(sqlite3_value_text(argv[1]), sqlite3_value_bytes(argv[1])).toCaseFolded();
    sqlite3_result_int(ctx, match(*pattern, value) ? 1 : 0);
}

} // namespace

const QCollator& CzechText::collator()
{
    static const QCollator c(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    return c;
}

int CzechText::compare(const QString& a, const QString& b)
{
    const int r = collator().compare(a, b);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

bool CzechText::like(const QString& pattern, const QString& value)
{
    return match(pattern.toCaseFolded(), value.toCaseFolded());
}

void CzechText::registerWith(sqlite3* db)
{
    sqlite3_create_collation_v2(db, collationName, SQLITE_UTF8, nullptr, collate, nullptr);
    sqlite3_create_function_v2(db, likeFunction, 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                               likeFunc, nullptr, nullptr, nullptr);
}

} // namespace kv::engine
