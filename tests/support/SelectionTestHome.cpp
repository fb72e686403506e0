#include "tests/support/SelectionTestHome.h"

#include "engine/Database.h"
#include "engine/QueryCursor.h"
#include "tests/support/DemoHome.h"

#include <QDir>

namespace kvtest
{

QString vyberDemoHome()
{
    return demoHome(2000);
}

int vyberRowCount(const QString& statement)
{
    kv::engine::Database db(QDir(vyberDemoHome()).filePath(QStringLiteral("Dta/KV2001.db")));
    kv::engine::QueryCursor q(db);
    q.setSql({statement});
    q.open();
    return q.recordCount();
}

} // namespace kvtest
