#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

namespace kv::engine
{

// Field names of a cursor's rows, shared by all its records.
class FieldSet
{
public:
    explicit FieldSet(const QStringList& names);
    int indexOf(const QString& name) const; // case-insensitive; -1 when unknown
    const QStringList& names() const { return m_names; }
    int size() const { return int(m_names.size()); }

private:
    QStringList m_names;
    QHash<QString, int> m_index; // lower-case name -> column
};

// One row read from a cursor: a value per field, calculated fields included.
// An empty field reads as empty text or 0. Asking for an unknown field throws.
class Record
{
public:
    Record() = default;
    Record(std::shared_ptr<const FieldSet> fields, std::vector<QVariant> values)
        : m_fields(std::move(fields)), m_values(std::move(values))
    {
    }

    bool isValid() const { return m_fields != nullptr; }
    QVariant value(const QString& name) const;
    QString text(const QString& name) const { return value(name).toString(); }
    int integer(const QString& name) const { return value(name).toInt(); }
    bool isNull(const QString& name) const { return value(name).isNull(); }
    bool hasField(const QString& name) const { return m_fields && m_fields->indexOf(name) >= 0; }

    QVariant value(int column) const { return m_values.at(size_t(column)); }
    void setValue(const QString& name, const QVariant& value); // calculated fields
    const FieldSet* fields() const { return m_fields.get(); }

private:
    int column(const QString& name) const;
    std::shared_ptr<const FieldSet> m_fields;
    std::vector<QVariant> m_values;
};

} // namespace kv::engine
