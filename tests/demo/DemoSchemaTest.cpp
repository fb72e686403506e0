// The company database of a demo home is laid out exactly as the engine's
// schema declares it, and its content for a given seed stays what it was.
#include "engine/QuickFindIndex.h"
#include "engine/Schema.h"
#include "engine/SchemaSql.h"
#include "tests/support/DemoHome.h"
#include "tests/support/DemoHomeTestSupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QSet>
#include <gtest/gtest.h>

using kv::engine::FieldKind;
using kv::engine::Schema;
using kv::engine::SchemaSql;
using kvtest::DemoDb;

namespace
{

QString databaseOf(int firms, std::uint64_t seed)
{
    return QDir(kvtest::demoHomeTemplate(firms, seed)).filePath(QStringLiteral("Dta/KV2001.db"));
}

// Every row of every schema table in rowid order, each value tagged with
// its storage class, so that NULL, '' and 0 differ.
QByteArray contentChecksum(const DemoDb& db)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const kv::engine::TableInfo& t : Schema::tables()) {
        hash.addData(QByteArray("#") + t.name.toUtf8() + '\n');
        for (const QVariantList& row : db.rows("select * from " + t.name + " order by rowid")) {
            QList<QByteArray> parts;
            for (const QVariant& v : row) {
                if (v.isNull())
                    parts << "N";
                else if (v.typeId() == QMetaType::LongLong)
                    parts << "I" + QByteArray::number(v.toLongLong());
                else
                    parts << "T" + v.toString().toUtf8();
            }
            hash.addData(parts.join('\x1f') + '\n');
        }
    }
    return hash.result().toHex();
}

TEST(DemoSchema, EveryTableHasTheDeclaredFieldsTypesAndRowKeyAndNothingElse)
{
    const DemoDb db(databaseOf(2000, 7));
    ASSERT_TRUE(db.isOpen());
    QSet<QString> declared;
    for (const kv::engine::TableInfo& t : Schema::tables()) {
        declared << t.name << Schema::rankTable(t.name);
        const QList<QVariantList> columns = db.rows("pragma table_info(" + t.name + ")");
        ASSERT_EQ(columns.size(), qsizetype(t.fields.size())) << t.name.toStdString();
        for (std::size_t i = 0; i < t.fields.size(); ++i) {
            const kv::engine::FieldInfo& f = t.fields[i];
            const QVariantList& c = columns[qsizetype(i)];
            const std::string where = (t.name + u'.' + f.name).toStdString();
            EXPECT_EQ(c[1].toString(), f.name) << where;
            EXPECT_EQ(c[2].toString(), f.kind == FieldKind::Integer ? "INTEGER" : "TEXT") << where;
            EXPECT_EQ(c[5].toInt() == 1, f.name == SchemaSql::rowKey(t.name)) << where;
        }
    }
    declared << "sqlite_stat1";
    // The quick-find index is an FTS5 table with its shadow tables, all named after it.
    const QString quickFind = QString::fromLatin1(kv::engine::QuickFindIndex::Table);
    bool haveQuickFind = false;
    for (const QVariant& name : db.column("select name from sqlite_master where type='table'")) {
        const QString n = name.toString().toLower();
        if (n == quickFind || n.startsWith(quickFind + u'_')) {
            haveQuickFind = haveQuickFind || n == quickFind;
            continue;
        }
        EXPECT_TRUE(declared.contains(n)) << n.toStdString();
    }
    EXPECT_TRUE(haveQuickFind);
}

// The derived tables the readers rely on (Czech ranks, quick-find rows and
// the index itself, the kept first rows, the indexes and their statistics),
// whatever way the generator builds them.
QByteArray derivedChecksum(const DemoDb& db)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    const QStringList queries = {
        "select type, name, tbl_name from sqlite_master where name not like 'sqlite_autoindex%' "
        "order by type, name",
        "select tbl, idx, stat from sqlite_stat1 order by tbl, idx",
        "select * from kv_quickfind_content order by id",
        "select id, hex(block) from kv_quickfind_data order by id",
        "select segid, hex(term), pgno from kv_quickfind_idx order by segid, term",
        "select prefix, rid from kv_quickfind_start order by prefix, rid"};
    QStringList all = queries;
    for (const QVariant& t :
         db.column("select name from sqlite_master where type='table' and name like "
                   "'kv_rank_%' order by name"))
        all << "select * from " + t.toString() + " order by rid";
    for (const QString& q : all) {
        hash.addData(q.toUtf8() + '\n');
        for (const QVariantList& row : db.rows(q)) {
            QByteArrayList parts;
            for (const QVariant& v : row)
                parts << (v.isNull() ? QByteArray("N") : v.toString().toUtf8());
            hash.addData(parts.join('\x1f') + '\n');
        }
    }
    return hash.result().toHex();
}

TEST(DemoSchema, ContentForAGivenSeedIsUnchanged)
{
    // Written by the generator before it moved onto the engine's writing
    // interface; a change here changes every demo home of these seeds.
    const DemoDb seven(databaseOf(2000, 7));
    ASSERT_TRUE(seven.isOpen());
    EXPECT_EQ(contentChecksum(seven), QByteArray("cddfa764abaee382a0b54498a359a4a027566524"));
    const DemoDb small(databaseOf(40, 2001));
    ASSERT_TRUE(small.isOpen());
    EXPECT_EQ(contentChecksum(small), QByteArray("da00e6d8be0f3da3da27e83499eb6ad83305a735"));
}

TEST(DemoSchema, DerivedTablesForAGivenSeedAreUnchanged)
{
    // Written by the generator that builds the quick-find index on a thread
    // of its own with a larger term buffer. Against the one before, only
    // the index's configuration counter differs (one change more).
    const DemoDb seven(databaseOf(2000, 7));
    ASSERT_TRUE(seven.isOpen());
    EXPECT_EQ(derivedChecksum(seven).toStdString(), "3a449c70bfcfe3645bda76892c7ec21a03c127f7");
    const DemoDb small(databaseOf(40, 2001));
    ASSERT_TRUE(small.isOpen());
    EXPECT_EQ(derivedChecksum(small).toStdString(), "1895c7a921cb11c23ef87eca6faf4f16fb35e945");
}

} // namespace
