#pragma once

#include "tests/support/EngineTestDb.h"

#include <QList>
#include <QSet>
#include <memory>

namespace kvtest
{

// The small company set most engine tests run on. Names and towns are chosen
// so that Czech order differs from code order ("Č" after "C", "Ch" after "H").
//
//   peno    nazev          misto  misto_id okres_id placena  extra
//   1       Dobrá firma    Praha  1        5                 2 persons, 2 industries
//   2       Čech a syn     Brno   2        5        A        1 person, 1 industry
//   3       Cyril s.r.o.   Ústí   3        7
//   4       Chrudimská     Praha  1        5
//   5       Hrad a.s.      Brno   2        5        A
//   6       Ivan           Cheb   4        7                 email
//   200219  Stavby Kvelta  Praha  1        5                 www
void fillCompany(EngineTestDb& db);

// Opens the read-only connection on a filled database; `finished` adds the
// ranks and indexes first.
std::unique_ptr<kv::engine::Database> openCompany(EngineTestDb& db, bool finished);

// The peno of every firm a filter keeps, read through a company cursor; also
// checks that the cursor's count agrees with the rows it walked.
QSet<int> firmsMatching(kv::engine::Database& db, const QString& filter);

} // namespace kvtest
