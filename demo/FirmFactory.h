#pragma once

#include "demo/CzechData.h"
#include "demo/DemoFirm.h"
#include "demo/DemoRandom.h"

#include <QHash>
#include <vector>

namespace kv
{

// Makes plausible Czech firms one at a time: name fitting the industry,
// address from the weighted town and street lists, unique IČO, contacts,
// persons, industries with activity lines, logo and advertisements.
class FirmFactory
{
public:
    FirmFactory(const CzechData& data, DemoRandom& rng);

    // showcase: the firm is given every optional part (logo, advertisements,
    // persons, web link), so that the firm shown at start-up shows everything.
    DemoFirm make(int peno, bool showcase);

private:
    QString makeName(const CzechData::Industry& main, const CzechData::Town& town,
                     DemoPerson* owner);
    QString legalForm();
    QString fixedLine(const CzechData::Town& town);
    QString mobile();
    // slug() of a first name or surname, made once per name.
    QString nameSlug(const QString& name);
    QString nextIco();
    void addContacts(DemoFirm* f, const CzechData::Town& town, bool showcase);
    void addPersons(DemoFirm* f, const DemoPerson& owner, bool showcase);
    void addIndustries(DemoFirm* f, const CzechData::Industry& main, bool showcase);
    QString title(char section);

    const CzechData& m_data;
    DemoRandom& m_rng;
    std::vector<bool> m_icoUsed;
    QHash<QString, QString> m_nameSlugs;
    QString m_domain; // web domain of the firm being made, empty when none
    char m_section = 'G';
    bool m_joint = false; // joint-stock company: the first person chairs the board
};

} // namespace kv
