#include "tests/support/DemoHome.h"

#include "demo/DemoGenerator.h"
#include "demo/DemoHomeFolder.h"

#include <QHash>
#include <memory>
#include <stdexcept>

namespace kvtest
{

QString demoHome(int firms)
{
    static QHash<int, std::shared_ptr<QTemporaryDir>> homes;
    if (auto it = homes.find(firms); it != homes.end())
        return (*it)->path();
    auto dir = std::make_shared<QTemporaryDir>();
    QString error;
    if (!kv::DemoHomeFolder::prepare(dir->path(), true, &error))
        throw std::runtime_error(error.toStdString());
    kv::DemoGenerator::Options options;
    options.firms = firms;
    kv::DemoGenerator generator(options);
    if (!generator.generate(dir->path()))
        throw std::runtime_error(generator.error().toStdString());
    homes.insert(firms, dir);
    return dir->path();
}

} // namespace kvtest
