#include "tests/support/DemoHome.h"

#include "demo/DemoGenerator.h"
#include "demo/DemoHomeFolder.h"
#include "engine/Database.h"
#include "engine/QueryCursor.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QTemporaryDir>
#include <memory>
#include <stdexcept>
#include <unistd.h>

namespace kvtest
{

namespace
{

void generate(const QString& dir, int firms, std::uint64_t seed)
{
    QString error;
    if (!kv::DemoHomeFolder::prepare(dir, true, &error))
        throw std::runtime_error(error.toStdString());
    kv::DemoGenerator::Options options;
    options.firms = firms;
    options.seed = seed;
    kv::DemoGenerator generator(options);
    if (!generator.generate(dir))
        throw std::runtime_error(generator.error().toStdString());
}

// Hard links where the file system allows them, copies elsewhere.
void linkTree(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    for (const QFileInfo& fi :
         QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
        const QString target = QDir(to).filePath(fi.fileName());
        if (fi.isDir())
            linkTree(fi.filePath(), target);
        else if (::link(QFile::encodeName(fi.filePath()).constData(),
                        QFile::encodeName(target).constData()) != 0 &&
                 !QFile::copy(fi.filePath(), target))
            throw std::runtime_error("cannot copy " + fi.filePath().toStdString());
    }
}

} // namespace

QString demoHomeTemplate(int firms, std::uint64_t seed)
{
    static QHash<QString, QString> made;
    const QString key = QStringLiteral("%1-%2").arg(firms).arg(seed);
    if (auto it = made.constFind(key); it != made.constEnd())
        return *it;
    // The program's own file identifies the generator that made a template.
    const QFileInfo self(QCoreApplication::applicationFilePath());
    const QString stamp =
        QStringLiteral("%1-%2").arg(self.size()).arg(self.lastModified().toMSecsSinceEpoch());
    QDir root(self.absoluteDir().filePath(QStringLiteral("demo-homes/") + self.fileName()));
    root.mkpath(QStringLiteral("."));
    QLockFile lock(root.filePath(QStringLiteral(".lock")));
    lock.setStaleLockTime(0);
    if (!lock.lock())
        throw std::runtime_error("cannot lock " + root.path().toStdString());
    const QString stamped = QStringLiteral("%1-%2").arg(stamp, key);
    const QString path = root.filePath(stamped);
    if (!QFileInfo::exists(path)) {
        // Templates of an earlier build of this program are out of date.
        for (const QString& old : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            if (!old.startsWith(stamp))
                QDir(root.filePath(old)).removeRecursively();
        const QString draft = path + QStringLiteral(".draft");
        QDir(draft).removeRecursively();
        generate(draft, firms, seed);
        if (!QDir().rename(draft, path))
            throw std::runtime_error("cannot rename " + draft.toStdString());
    }
    made.insert(key, path);
    return path;
}

QString demoHome(int firms, std::uint64_t seed)
{
    static QHash<QString, std::shared_ptr<QTemporaryDir>> homes;
    const QString key = QStringLiteral("%1-%2").arg(firms).arg(seed);
    if (auto it = homes.find(key); it != homes.end())
        return (*it)->path();
    auto dir = std::make_shared<QTemporaryDir>();
    if (!dir->isValid())
        throw std::runtime_error("cannot make a temporary folder");
    linkTree(demoHomeTemplate(firms, seed), dir->path());
    homes.insert(key, dir);
    return dir->path();
}

QString selectionDemoHome()
{
    return demoHome(2000);
}

int demoRowCount(const QString& statement)
{
    kv::engine::Database db(QDir(selectionDemoHome()).filePath(QStringLiteral("Dta/KV2001.db")));
    kv::engine::QueryCursor q(db);
    q.setSql({statement});
    q.open();
    return q.recordCount();
}

} // namespace kvtest
