#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace kv
{

// One generated firm with its detail rows. A null QString stands for a
// value the firm does not have and is written as SQL NULL.
struct DemoPerson {
    QString osoba, tel, fax, email, www;
};

struct DemoIndustryRow {
    int kod = 0;
    QString txt;
    QStringList lines; // activity lines, each beginning with a tab
};

struct DemoFirm {
    int peno = 0;
    QString ico, nazev, ulice, street; // street: ulice without the house number
    int town = -1;                     // index into CzechData::towns()
    QString psc, tel, fax, email, www, logo, placena, link, reklama;
    std::vector<DemoPerson> persons;
    std::vector<DemoIndustryRow> industries;
    QStringList ads; // advertisement picture file names
};

} // namespace kv
