// What builders of a company database write through: row inserts reused per
// row, transactions that undo what was not committed, the schema's tables
// with their row keys.
#include "core/Error.h"
#include "engine/Database.h"
#include "engine/DatabaseSetup.h"
#include "engine/RowInserter.h"
#include "engine/Schema.h"
#include "engine/SchemaSql.h"
#include "engine/Statement.h"
#include "engine/Transaction.h"
#include "tests/support/ErrorKind.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kv::engine;

namespace
{

class BulkWrite : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        db.open(dir.filePath("KV2001.db"), Database::Mode::Create);
        prepareBulkLoad(db);
        db.exec(SchemaSql::createSql(SchemaSql::Keys::RowKey));
    }
    QString values(const QString& sql)
    {
        Statement st(db, sql);
        QStringList rows;
        while (st.step()) {
            QStringList cols;
            for (int c = 0; c < st.columnCount(); ++c)
                cols << (st.isNull(c) ? QStringLiteral("NULL") : u'\'' + st.text(c) + u'\'');
            rows << cols.join(u',');
        }
        return rows.join(u';');
    }

    QTemporaryDir dir;
    Database db;
};

TEST_F(BulkWrite, ValuesArriveInFieldOrderNullStringsAsNullAndMissingFieldsNull)
{
    RowInserter osoby(db, *Schema::table("osoby"));
    osoby.add(7)
        .add(QStringLiteral("Nováková, Jana"))
        .add(QString())
        .add(QStringLiteral(""))
        .insert();
    osoby.add(8).add(QStringLiteral("Žák, Petr")).insert();
    EXPECT_EQ(values("SELECT peno, osoba, tel, fax, email, sortno FROM osoby ORDER BY rowid"),
              "'7','Nováková, Jana',NULL,'',NULL,NULL;'8','Žák, Petr',NULL,NULL,NULL,NULL");
}

TEST_F(BulkWrite, EachRowKeepsItsOwnTextsWhateverTheRowsBeforeHeld)
{
    // A field's text buffer is reused from row to row: a short text after a
    // long one, a text after a null, texts outside the basic plane, and a
    // text of two million characters must each arrive whole and alone.
    const QString huge(2'000'000, u'ř');
    const QString pair = QStringLiteral("Café \U0001F600 s.r.o.");
    RowInserter osoby(db, *Schema::table("osoby"));
    osoby.add(1).add(huge).add(QStringLiteral("1")).insert();
    osoby.add(2).add(QStringLiteral("Ka")).add(QString()).add(pair).insert();
    osoby.add(3).add(pair).add(QStringLiteral("")).add(QStringLiteral("x")).insert();
    osoby.add(4).add(QString()).add(huge.left(5)).insert();
    Statement st(db,
                 QStringLiteral("SELECT osoba, tel, fax, length(osoba) FROM osoby ORDER BY peno"));
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.text(0), huge);
    EXPECT_EQ(st.text(1), "1");
    EXPECT_TRUE(st.isNull(2));
    EXPECT_EQ(st.int64(3), 2'000'000);
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.text(0), "Ka");
    EXPECT_TRUE(st.isNull(1));
    EXPECT_EQ(st.text(2), pair);
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.text(0), pair);
    EXPECT_FALSE(st.isNull(1));
    EXPECT_EQ(st.text(1), "");
    EXPECT_EQ(st.text(2), "x");
    ASSERT_TRUE(st.step());
    EXPECT_TRUE(st.isNull(0));
    EXPECT_EQ(st.text(1), "řřřřř");
    EXPECT_TRUE(st.isNull(2));

    // One field more than the table has is refused, not written past.
    RowInserter reklamy(db, *Schema::table("reklamy"));
    EXPECT_KV_ERROR(reklamy.add(5).add(QStringLiteral("a")).add(QStringLiteral("b")), Engine);
}

TEST_F(BulkWrite, RefusedRowThrowsAndTheInserterGoesOnWithTheNextRow)
{
    RowInserter firma(db, *Schema::table("firma"));
    firma.add(200219).add(QStringLiteral("12345678")).insert();
    EXPECT_KV_ERROR(firma.add(200219).add(QStringLiteral("87654321")).insert(), Engine);
    firma.add(200220).add(QStringLiteral("11111111")).insert();
    EXPECT_EQ(values("SELECT peno, ico FROM firma ORDER BY peno"),
              "'200219','12345678';'200220','11111111'");
}

TEST_F(BulkWrite, TransactionNotCommittedIsUndoneCommittedOneStays)
{
    // With a rollback journal: bulk loading has none, and drafts are thrown away instead.
    db.open(dir.filePath("journal.db"), Database::Mode::Create);
    db.exec(SchemaSql::createSql(SchemaSql::Keys::RowKey));
    {
        Transaction t(db);
        RowInserter(db, *Schema::table("reklamy")).add(1).add(QStringLiteral("R1_1.JPG")).insert();
        t.commit();
    }
    try {
        Transaction t(db);
        RowInserter(db, *Schema::table("reklamy")).add(2).add(QStringLiteral("R2_1.JPG")).insert();
        throw kv::Error::engine(QStringLiteral("stopped"));
    } catch (const kv::Error& e) {
        if (!e.is(kv::Error::Kind::Engine))
            throw;
    }
    EXPECT_EQ(values("SELECT peno, txt FROM reklamy"), "'1','R1_1.JPG'");
}

TEST_F(BulkWrite, RowKeysAreTheDeclaredOnesAndImportedNamesAreQuoted)
{
    EXPECT_EQ(values("SELECT name FROM pragma_table_info('firma') WHERE pk=1"), "'peno'");
    EXPECT_EQ(values("SELECT name FROM pragma_table_info('slnazev') WHERE pk=1"), "'id'");
    EXPECT_EQ(values("SELECT count(*) FROM pragma_table_info('osoby') WHERE pk=1"), "'0'");
    EXPECT_FALSE(SchemaSql::createSql(SchemaSql::Keys::None).contains("PRIMARY KEY"));

    db.exec(QStringLiteral("CREATE TABLE \"Ceník \"\"2001\"\"\"(a TEXT, b INTEGER)"));
    RowInserter imported(db, QStringLiteral("Ceník \"2001\""), 2);
    imported.add(QVariant(QStringLiteral("x"))).add(QVariant(5)).insert();
    EXPECT_EQ(values("SELECT a, b FROM \"Ceník \"\"2001\"\"\""), "'x','5'");
}

} // namespace
