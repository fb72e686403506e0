// The printed list and profile print the notes the session shows, as the
// profile window lists them: the private note, or on the server
// (test_notes_pg) every author's note under its author and time.
#include "core/Settings.h"
#include "domain/NoteStore.h"
#include "reports/FirmListReport.h"
#include "reports/MemoryDataSource.h"
#include "reports/ProfileReport.h"
#include "tests/reports/ReportFixture.h"
#include "tests/support/NoteBackend.h"

#include <gtest/gtest.h>

using namespace kv;
using kvtest::textsOf;

namespace
{

QVariantMap firm(int peno, const QString& nazev)
{
    return {{"peno", peno},     {"ico", "40000001"},  {"nazev", nazev},   {"ulice", "Dlouhá 5"},
            {"psc", "602 00"},  {"misto", "Brno"},    {"okres", "Brno"},  {"tel", QString()},
            {"fax", QString()}, {"email", QString()}, {"www", QString()}, {"logo", QString()}};
}

QStringList withoutBlanks(QStringList lines)
{
    lines.removeIf([](const QString& l) { return l.trimmed().isEmpty(); });
    return lines;
}

// The lines the profile window shows for firm 1, worked out from the notes
// as stored: newest first, each under "author, time".
QStringList shownLines(kvtest::NoteBackend& notes)
{
    const std::vector<Note> all = notes.store().all(1);
    if (!kvtest::NoteBackend::onServer)
        return {"Nový sklad"}; // one private note: the last one written
    QStringList lines;
    for (const Note& n : all)
        lines << n.author + ", " + NoteStore::timeText(n.changed) << n.text.trimmed();
    return lines;
}

} // namespace

TEST(KV_NOTES_SUITE(ReportNotes), TheProfileAndTheListPrintWhatTheProfileWindowShows)
{
    kvtest::NoteBackend notes;
    notes.write(1, "Volat ráno\n");
    notes.write(1, "Nový sklad", "petr");
    const QStringList expected = shownLines(notes);
    if (kvtest::NoteBackend::onServer) {
        ASSERT_EQ(expected.size(), 4); // both authors' notes
    }

    MemoryDataSource firms, persons, industries, lines;
    firms.setRows({firm(1, "Alfa"), firm(2, "Beta")});
    for (MemoryDataSource* detail : {&persons, &industries, &lines})
        detail->setMaster(&firms, "peno");
    ProfileSources s;
    s.firms = &firms;
    s.persons = &persons;
    s.industries = &industries;
    s.lines = &lines;
    s.notes = &notes.store();
    ProfileReport profile(s);
    ASSERT_EQ(profile.report().generate(), 2);
    const auto page = [&](int n) -> const ReportPage& {
        return *profile.report().pageStore().page(n);
    };
    EXPECT_EQ(withoutBlanks(textsOf(page(1), "sdPozn")), expected);
    EXPECT_TRUE(textsOf(page(2), "sdPozn").isEmpty());

    firms.setRows({firm(1, "Alfa"), firm(2, "Beta")});
    FirmListReport list(firms);
    list.items[FirmListReport::Pozn] = true;
    list.notes = &notes.store();
    list.report().generate();
    EXPECT_EQ(withoutBlanks(textsOf(*list.report().pageStore().page(1), "Detail")),
              QStringList({"Alfa;  Dlouhá 5;  Brno;  602 00"}) + expected +
                  QStringList({"Beta;  Dlouhá 5;  Brno;  602 00"}));
}
