#include "tests/support/DemoHomeTestSupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>

namespace kvtest
{

DemoDb::DemoDb(const QString& path)
{
    if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(m_db);
        m_db = nullptr;
    }
}

DemoDb::~DemoDb()
{
    sqlite3_close(m_db);
}

QList<QVariantList> DemoDb::rows(const QString& sql) const
{
    QList<QVariantList> out;
    sqlite3_stmt* s = nullptr;
    if (!m_db || sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &s, nullptr) != SQLITE_OK)
        return out;
    while (sqlite3_step(s) == SQLITE_ROW) {
        QVariantList row;
        for (int i = 0; i < sqlite3_column_count(s); ++i) {
            switch (sqlite3_column_type(s, i)) {
            case SQLITE_NULL:
                row << QVariant();
                break;
            case SQLITE_INTEGER:
                row << QVariant(static_cast<qlonglong>(sqlite3_column_int64(s, i)));
                break;
            default:
                row << QVariant(
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, i))));
            }
        }
        out << row;
    }
    sqlite3_finalize(s);
    return out;
}

QVariantList DemoDb::column(const QString& sql) const
{
    QVariantList out;
    for (const QVariantList& r : rows(sql))
        out << r.value(0);
    return out;
}

QMap<QString, QByteArray> fileHashes(const QString& dir)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            out.insert(QDir(dir).relativeFilePath(path),
                       QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1));
    }
    return out;
}

} // namespace kvtest
