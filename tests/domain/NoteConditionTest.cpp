#include "domain/NoteCondition.h"
#include "tests/support/TestHome.h"

#include <QDir>
#include <gtest/gtest.h>

TEST(NoteCondition, NoNoteFilesGiveEmptyCondition)
{
    kvtest::TestHome home;
    EXPECT_EQ(kv::NoteCondition(home.file(QStringLiteral("Pozn"))), QString());
    EXPECT_EQ(kv::NoteCondition(home.file(QStringLiteral("missing"))), QString());
}

TEST(NoteCondition, OnlyFilesNamedByCompanyNumberCount)
{
    kvtest::TestHome home;
    for (const char* name :
         {"15.tx", "2033.tx", "abc.tx", "16.txt", "1.tx.tx", "17.TX", ".18.tx", "19.tx.bak",
          "12a.tx", ".tx", "5000000123.tx", "99999999999999999999.tx"})
        home.write(QStringLiteral("Pozn/") + QLatin1String(name), "note");
    ASSERT_TRUE(QDir(home.file(QStringLiteral("Pozn"))).mkdir(QStringLiteral("20.tx")));
    // Company numbers are 64-bit; a name beyond that is no number.
    EXPECT_EQ(kv::NoteCondition(home.file(QStringLiteral("Pozn"))),
              QStringLiteral("(peno in (15,2033,5000000123))"));
}

TEST(NoteCondition, NumbersAreWrittenPlainly)
{
    kvtest::TestHome home;
    home.write(QStringLiteral("Pozn/0042.tx"), "note");
    EXPECT_EQ(kv::NoteCondition(home.file(QStringLiteral("Pozn"))),
              QStringLiteral("(peno in (42))"));
}
