#include "tests/support/SelectionTestHome.h"

#include "demo/DemoGenerator.h"
#include "demo/DemoHomeFolder.h"
#include "engine/Database.h"
#include "engine/QueryCursor.h"

#include <QDir>
#include <QTemporaryDir>
#include <memory>
#include <stdexcept>

namespace kvtest
{

QString vyberDemoHome()
{
    static std::unique_ptr<QTemporaryDir> dir;
    if (dir)
        return dir->path();
    auto made = std::make_unique<QTemporaryDir>();
    QString error;
    if (!kv::DemoHomeFolder::prepare(made->path(), true, &error))
        throw std::runtime_error(error.toStdString());
    kv::DemoGenerator::Options options;
    options.firms = 2000;
    kv::DemoGenerator generator(options);
    if (!generator.generate(made->path()))
        throw std::runtime_error(generator.error().toStdString());
    dir = std::move(made);
    return dir->path();
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
