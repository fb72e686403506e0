#include "domain/ServerSelections.h"

#include "core/Cp1250.h"
#include "core/Error.h"
#include "domain/SelectionFile.h"
#include "domain/SelectionRecord.h"
#include "engine/PgConnection.h"

#include <QBuffer>

namespace kv
{

QString ServerSelections::recordText(const SelectionState& state)
{
    QBuffer record;
    record.open(QIODevice::WriteOnly);
    writeSelection(state, record);
    return Cp1250::decode(record.data());
}

std::vector<ServerSelections::Entry> ServerSelections::list() const
{
    engine::PgConnection connection(m_conninfo);
    return engine::PgSelectionStore(connection).list();
}

bool ServerSelections::load(const QString& name, SelectionState& state) const
{
    std::optional<QString> record;
    {
        engine::PgConnection connection(m_conninfo);
        record = engine::PgSelectionStore(connection).content(name);
    }
    if (record && record->size() > selectionfile::MaxBytes)
        throw Error::selection(QStringLiteral("The selection saved on the server as \"%1\" is too "
                                              "large (%2 characters).")
                                   .arg(name.left(80))
                                   .arg(record->size()));
    // A row without the header is a damaged record here, not another kind
    // of file as on disk.
    if (record && !readSelectionText(*record, state))
        throw Error::selection(
            QStringLiteral("The selection saved on the server as \"%1\" is not a selection record.")
                .arg(name.left(80)));
    return record.has_value();
}

ServerSelections::SaveResult ServerSelections::save(const QString& name,
                                                    const SelectionState& state, bool replace) const
{
    const QString record = recordText(state);
    engine::PgConnection connection(m_conninfo);
    return engine::PgSelectionStore(connection).save(name, record, replace);
}

} // namespace kv
