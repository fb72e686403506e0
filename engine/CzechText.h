#pragma once

#include <QCollator>
#include <QString>

struct sqlite3;

namespace kv::engine
{

// Czech ordering and the case-insensitive wildcard match used for LIKE.
class CzechText
{
public:
    // The one collator of the program (ICU, Czech tailoring: "ch" after "h",
    // "č" after "c", letter case only breaking ties).
    static const QCollator& collator();
    static int compare(const QString& a, const QString& b);

    // Jet-style pattern: '*' any run, '?' one character; letter case ignored.
    static bool like(const QString& pattern, const QString& value);

    // Registers collation "KVCZECH" and function kv_like(pattern, value).
    static void registerWith(sqlite3* db);

    static constexpr const char* collationName = "KVCZECH";
    static constexpr const char* likeFunction = "kv_like";
};

} // namespace kv::engine
