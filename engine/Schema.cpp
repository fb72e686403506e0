#include "engine/Schema.h"

#include "engine/SchemaSql.h"

namespace kv::engine
{

namespace
{

FieldInfo i(const char* n)
{
    return {QString::fromLatin1(n), FieldKind::Integer, false};
}
FieldInfo t(const char* n)
{
    return {QString::fromLatin1(n), FieldKind::Text, false};
}
FieldInfo r(const char* n)
{
    return {QString::fromLatin1(n), FieldKind::Text, true};
}
FieldInfo f(const char* n)
{
    return {QString::fromLatin1(n), FieldKind::Flag, false};
}
FieldInfo m(const char* n)
{
    return {QString::fromLatin1(n), FieldKind::Memo, false};
}

std::vector<TableInfo> build()
{
    return {
        {"firma",
         {i("peno"), t("ico"), r("nazev"), r("ulice"), i("misto_id"), r("misto"), i("okres_id"),
          r("okres"), t("tel"), t("fax"), t("email"), t("www"), t("logo"), f("placena"), f("link"),
          f("reklama"), r("psc")}},
        {"osoby", {i("peno"), t("osoba"), t("tel"), t("fax"), t("email"), t("www"), i("sortno")}},
        {"reklamy", {i("peno"), t("txt")}},
        {"pzatrid", {i("peno"), i("sortno"), i("kod"), t("txt")}},
        {"radky", {i("peno"), i("sortno"), m("radek"), i("kod")}},
        {"mista", {i("id"), r("misto"), i("okres_id")}},
        {"okresy", {i("id"), r("okres"), t("spz")}},
        {"zatrid", {t("kod"), r("txt")}},
        {"slnazev", {i("id"), r("txt")}},
        {"slulice", {i("id"), r("txt")}},
        {"slradky", {i("id"), r("txt")}},
        {"slico", {r("ico"), i("peno")}},
        {"slnazev_p", {i("id"), i("peno")}},
        {"slulice_p", {i("id"), i("peno")}},
        {"slradky_p", {i("id"), i("peno")}},
    };
}

} // namespace

const FieldInfo* TableInfo::field(const QString& n) const
{
    for (const FieldInfo& fi : fields)
        if (fi.name.compare(n, Qt::CaseInsensitive) == 0)
            return &fi;
    return nullptr;
}

QStringList TableInfo::rankedFields() const
{
    QStringList out;
    for (const FieldInfo& fi : fields)
        if (fi.ranked)
            out << fi.name;
    return out;
}

const std::vector<TableInfo>& Schema::tables()
{
    static const std::vector<TableInfo> all = build();
    return all;
}

QString Schema::createSql()
{
    return SchemaSql::createSql(SchemaSql::Keys::None);
}

const TableInfo* Schema::table(const QString& name)
{
    for (const TableInfo& ti : tables())
        if (ti.name.compare(name, Qt::CaseInsensitive) == 0)
            return &ti;
    return nullptr;
}

} // namespace kv::engine
