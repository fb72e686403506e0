#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <sqlite3.h>

namespace kvtest
{

// Read-only access to a generated company database for the checks.
class DemoDb
{
public:
    explicit DemoDb(const QString& path);
    ~DemoDb();
    bool isOpen() const { return m_db != nullptr; }
    // First column of every row; NULL comes back as an invalid QVariant.
    QVariantList column(const QString& sql) const;
    QList<QVariantList> rows(const QString& sql) const;
    qint64 count(const QString& sql) const { return column(sql).value(0).toLongLong(); }
    sqlite3* handle() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
};

// Relative path -> SHA-1 of every file below dir.
QMap<QString, QByteArray> fileHashes(const QString& dir);

} // namespace kvtest
