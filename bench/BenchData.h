#pragma once

// Where the benchmarks find their data: the data home in KV_BENCH_HOME (made
// by "kvelta make-demo DIR --firms N") and, when KV_BENCH_DB holds a libpq
// connection string, the company data on that server instead of the home's
// own file (loaded with "kvelta db load --home DIR URL"). The same benchmark
// then measures either backend.
#include "core/Settings.h"
#include "engine/Database.h"

#include <QDir>
#include <QString>
#include <memory>

namespace kv::bench
{

inline QString homePath()
{
    return qEnvironmentVariable("KV_BENCH_HOME");
}

inline QString serverUrl()
{
    return qEnvironmentVariable("KV_BENCH_DB");
}

// Points the program's settings at the data; false with a reason when no
// home is named.
inline bool useData(QString* error)
{
    const QString home = homePath();
    if (home.isEmpty()) {
        *error = QStringLiteral("KV_BENCH_HOME is not set (a data home made by kvelta make-demo)");
        return false;
    }
    settings().dataHome = QDir(home).absolutePath();
    settings().database = serverUrl();
    return true;
}

// The company database itself: the home's file, or the server. Throws
// Error::engine as Database does.
inline std::unique_ptr<engine::Database> openDatabase()
{
    auto db = std::make_unique<engine::Database>();
    if (const QString url = serverUrl(); !url.isEmpty())
        db->openServer(url);
    else
        db->open(QDir(homePath()).filePath(QStringLiteral("Dta/KV2001.db")));
    return db;
}

} // namespace kv::bench
