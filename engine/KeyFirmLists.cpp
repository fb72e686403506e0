#include "engine/KeyFirmLists.h"

#include "engine/Database.h"
#include "engine/JetDialect.h"

#include <algorithm>

namespace kv::engine
{

KeyFirmLists::KeyFirmLists(const Database& db, const QString& table, const QString& keyField,
                           size_t longList)
    : m_st(db, QStringLiteral("SELECT peno FROM %1 WHERE %2 = %3")
                   .arg(JetDialect::quoted(table), JetDialect::quoted(keyField),
                        JetDialect::parameter(db.sqlForm(), 1))),
      m_longList(longList)
{
    if (db.isReadOnly())
        m_cache.emplace(db.path(), table.toLower(), keyField.toLower());
}

std::vector<qint64> KeyFirmLists::firms(qint64 key)
{
    if (m_cache)
        if (std::optional<std::vector<qint64>> remembered = m_cache->load(key))
            return *std::move(remembered);
    m_st.reset();
    m_st.bind(1, key);
    std::vector<qint64> found;
    while (m_st.step())
        found.push_back(m_st.int64(0));
    // A (key, peno) index gives them in order already.
    if (!std::is_sorted(found.begin(), found.end()))
        std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    if (m_cache && found.size() >= m_longList)
        m_cache->store(key, found);
    return found;
}

} // namespace kv::engine
