#pragma once

#include <QString>
#include <QVariant>

namespace kv
{

// The cursor a report walks: its driving cursor, or the detail cursor of a
// sub-detail band. Detail cursors follow their master themselves (the engine's
// table cursors do), so the report only asks for first, next and values.
class ReportDataSource
{
public:
    virtual ~ReportDataSource() = default;

    virtual void first() = 0;
    virtual void next() = 0;
    virtual bool eof() const = 0;
    virtual bool isEmpty() const = 0;
    // The field of the current record; empty when the cursor has no record.
    virtual QVariant value(const QString& field) const = 0;
    // How many records the cursor holds, for progress; -1 when unknown.
    virtual int recordCount() const { return -1; }
};

} // namespace kv
