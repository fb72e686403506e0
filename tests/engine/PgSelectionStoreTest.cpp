// Saved selections on the server: any name a user can type arrives and comes
// back intact, blank and oversized names are refused, the list is in Czech
// order, and the roles let office users read every selection but change
// only their own, also when they bypass the program with SQL of their own.
#include "tests/support/ErrorKind.h"
#include "tests/support/PgTestServer.h"

#include "engine/PgConnection.h"
#include "engine/PgSelectionStore.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

using kv::engine::PgConnection;
using kv::engine::PgSelectionStore;
using Outcome = PgSelectionStore::Outcome;

namespace
{

// Letters that do not compress, so a long name is long in any index too.
QString longCzechName(int length)
{
    const QString letters = QStringLiteral("aábcčdďeéěfghchiíjklmnňoópqrřsštťuúůvwxyýzž '\"\\$;-");
    QRandomGenerator random(2001);
    QString name;
    while (name.size() < length)
        name += letters.at(random.bounded(int(letters.size())));
    name[0] = u'Ž';
    return name;
}

QStringList names(PgSelectionStore store)
{
    QStringList out;
    for (const auto& entry : store.list())
        out << entry.name;
    return out;
}

class PgSelections : public ::testing::Test
{
protected:
    // A login role of this test (roles belong to the whole server).
    QString login(const QString& who, bool member = true)
    {
        const QString role = db.name() + u'_' + who;
        admin.exec(QStringLiteral("CREATE ROLE %1 LOGIN").arg(admin.identifier(role)));
        if (member)
            admin.exec(QStringLiteral("GRANT kvelta_selections TO %1").arg(admin.identifier(role)));
        m_roles << role;
        return db.conninfo() + QStringLiteral(" user=") + role;
    }
    void TearDown() override
    {
        for (const QString& role : m_roles)
            admin.exec(QStringLiteral("DROP ROLE IF EXISTS %1").arg(admin.identifier(role)));
    }
    kvtest::PgTestDatabase db;
    PgConnection admin{db.conninfo()};

private:
    QStringList m_roles;
};

} // namespace

TEST_F(PgSelections, HostileNamesRoundTripAndBlankOrOversizedOnesAreRefused)
{
    PgSelectionStore store(admin);
    EXPECT_TRUE(store.list().empty()); // before the first save: no table, no error
    EXPECT_FALSE(store.content("anything").has_value());

    const QStringList hostile = {
        QStringLiteral("O'Brien"),
        QStringLiteral("'; DROP TABLE kvelta.selections; --"),
        QStringLiteral("\"quoted\" and `back` \\ $$ $1 %s"),
        QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy"),
        QStringLiteral(" leading and trailing spaces "),
        QStringLiteral("emoji \U0001F600"),
        longCzechName(PgSelectionStore::MaxNameLength),
    };
    for (int i = 0; i < int(hostile.size()); ++i) {
        const auto saved =
            store.save(hostile[i], QStringLiteral("record %1\r\nline 2").arg(i), false);
        EXPECT_EQ(saved.outcome, Outcome::Saved) << i;
        EXPECT_TRUE(saved.entry.name == hostile[i]) << i;
    }
    for (int i = 0; i < int(hostile.size()); ++i) {
        const auto content = store.content(hostile[i]);
        ASSERT_TRUE(content.has_value()) << i;
        EXPECT_EQ(*content, QStringLiteral("record %1\r\nline 2").arg(i)) << i;
    }
    // Names differing only by a space or by case are other names.
    EXPECT_FALSE(store.content(QStringLiteral("o'brien")).has_value());
    EXPECT_FALSE(store.content(QStringLiteral("O'Brien ")).has_value());

    const QStringList refused = {QString(), QStringLiteral("   "), QStringLiteral("tab\there"),
                                 QStringLiteral("two\nlines"),
                                 longCzechName(PgSelectionStore::MaxNameLength + 1)};
    for (const QString& name : refused) {
        EXPECT_FALSE(PgSelectionStore::nameProblem(name).isEmpty());
        EXPECT_KV_ERROR(store.save(name, QStringLiteral("x"), true), Engine);
    }
    EXPECT_EQ(store.list().size(), hostile.size());
    // The table refuses them as well, for writers other than the program.
    EXPECT_FALSE(admin
                     .tryQuery("INSERT INTO kvelta.selections (name, content) VALUES ($1, 'x')",
                               {QStringLiteral("  ")})
                     .sqlState()
                     .isEmpty());
}

TEST_F(PgSelections, ListIsInCzechOrderWithAuthorAndTime)
{
    PgSelectionStore store(admin);
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-60);
    for (const char* name : {"Zámek", "chata", "hrad", "čaj", "cesta", "ábel", "Ahoj"})
        store.save(QString::fromUtf8(name), QStringLiteral("r"), false);
    EXPECT_EQ(names(store),
              QStringList({"ábel", "Ahoj", "cesta", "čaj", "hrad", "chata", "Zámek"}));
    const QString me = admin.query("SELECT current_user::text").text(0, 0);
    for (const auto& entry : store.list()) {
        EXPECT_EQ(entry.author, me);
        EXPECT_GE(entry.savedAt, before);
        EXPECT_LE(entry.savedAt, QDateTime::currentDateTimeUtc().addSecs(60));
    }
}

TEST_F(PgSelections, MembersReadAllAndReplaceOnlyTheirOwn)
{
    PgSelectionStore(admin).ensureTable();
    const QString annaInfo = login("anna"), petrInfo = login("petr");
    PgConnection anna(annaInfo), petr(petrInfo);
    PgSelectionStore annas(anna), petrs(petr);

    EXPECT_EQ(annas.save("Brno", "v1", false).outcome, Outcome::Saved);
    const auto again = annas.save("Brno", "v2", false);
    EXPECT_EQ(again.outcome, Outcome::Exists);
    EXPECT_EQ(again.entry.author, db.name() + "_anna");
    EXPECT_EQ(*annas.content("Brno"), "v1");
    EXPECT_EQ(annas.save("Brno", "v2", true).outcome, Outcome::Replaced);
    EXPECT_EQ(*petrs.content("Brno"), "v2");

    for (bool replace : {false, true}) {
        const auto foreign = petrs.save("Brno", "petr's", replace);
        EXPECT_EQ(foreign.outcome, Outcome::Foreign);
        EXPECT_EQ(foreign.entry.author, db.name() + "_anna");
    }
    EXPECT_EQ(*annas.content("Brno"), "v2");
    EXPECT_EQ(petrs.save("Jihlava", "j", false).outcome, Outcome::Saved);
    EXPECT_EQ(names(annas), QStringList({"Brno", "Jihlava"}));

    // Around the program: another's row cannot be changed, deleted or
    // forged under another author's name.
    EXPECT_EQ(
        petr.query("UPDATE kvelta.selections SET content = 'x' WHERE name = 'Brno'").affected(), 0);
    EXPECT_EQ(petr.query("DELETE FROM kvelta.selections WHERE name = 'Brno'").affected(), 0);
    EXPECT_EQ(petr.tryQuery("INSERT INTO kvelta.selections (name, author, content) VALUES "
                            "('Praha', $1, 'x')",
                            {db.name() + "_anna"})
                  .sqlState(),
              "42501");
    EXPECT_EQ(*annas.content("Brno"), "v2");
    EXPECT_EQ(petr.query("DELETE FROM kvelta.selections WHERE name = 'Jihlava'").affected(), 1);
}

TEST_F(PgSelections, RolesOutsideTheOfficeAreToldWhatTheyLack)
{
    const QString strangerInfo = login("stranger", false);
    PgConnection stranger(strangerInfo);
    // Before the table exists a role that may not create it is told so.
    EXPECT_KV_ERROR(PgSelectionStore(stranger).save("Brno", "r", false), Engine);
    PgSelectionStore(admin).save("Brno", "r", false);
    try {
        PgSelectionStore(stranger).list();
        ADD_FAILURE() << "a role outside kvelta_selections read the saved selections";
    } catch (const kv::Error& e) {
        EXPECT_TRUE(e.message().contains("kvelta_selections")) << e.message().toStdString();
    }
    EXPECT_KV_ERROR(PgSelectionStore(stranger).save("Jihlava", "r", false), Engine);
    EXPECT_EQ(names(PgSelectionStore(admin)), QStringList({"Brno"}));
}
