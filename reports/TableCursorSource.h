#pragma once

#include "reports/ReportDataSource.h"

namespace kv
{
namespace engine
{
class TableCursor;
}

// Lets a report walk one of the data module's cursors (TPrn, TOsoby_2, ...).
// The cursor is neither opened nor closed here: the report's before-print
// hook prepares it.
class TableCursorSource : public ReportDataSource
{
public:
    explicit TableCursorSource(engine::TableCursor& cursor) : m_cursor(cursor) {}

    void first() override;
    void next() override;
    bool eof() const override;
    bool isEmpty() const override;
    QVariant value(const QString& field) const override;
    int recordCount() const override;

private:
    engine::TableCursor& m_cursor;
};

} // namespace kv
