#pragma once

#include "reports/ReportDataSource.h"

#include <QList>
#include <QVariantMap>

namespace kv
{

// Rows held in memory, for reports over data that is not a table (a note
// read from its file) and for tests. With a master it shows only the rows
// whose link field equals the master's, re-read at every first().
class MemoryDataSource : public ReportDataSource
{
public:
    MemoryDataSource() = default;
    explicit MemoryDataSource(QList<QVariantMap> rows) : m_rows(std::move(rows)) {}

    void setRows(QList<QVariantMap> rows);
    void append(const QVariantMap& row) { m_rows.append(row); }
    void setMaster(const ReportDataSource* master, const QString& linkField);

    void first() override;
    void next() override;
    bool eof() const override;
    bool isEmpty() const override;
    QVariant value(const QString& field) const override;

    int firstCalls() const { return m_firstCalls; }

private:
    void select();

    QList<QVariantMap> m_rows;
    QList<int> m_visible; // indexes into m_rows of the master's record
    const ReportDataSource* m_master = nullptr;
    QString m_link;
    int m_pos = 0;
    int m_firstCalls = 0;
};

} // namespace kv
