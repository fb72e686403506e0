#pragma once

#include "demo/WeightedPicker.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace kv
{

// The Czech reference lists built into the program (municipalities with
// districts and postcodes, CZ-NACE classes, first names, surnames, streets)
// and weighted pickers over them. Loaded from the ":/demo/" resources.
class CzechData
{
public:
    struct District {
        QString name;
        QString spz;         // two-character district code
        QString phonePrefix; // leading digits of fixed lines in the region
    };
    struct Town {
        QString name;
        int district = 0; // index into districts()
        int population = 0;
        QStringList postcodes; // five digits, no blank
    };
    struct Industry {
        int code = 0; // the class code as an integer: 41.20 -> 4120
        char section = 'A';
        QString name;
    };
    struct Name {
        QString text;
        bool female = false;
    };

    // Returns false with a reason in *error when a list is missing or broken.
    bool load(QString* error);

    const std::vector<District>& districts() const { return m_districts; }
    const std::vector<Town>& towns() const { return m_towns; }
    const std::vector<Industry>& industries() const { return m_industries; }

    const Town& pickTown(DemoRandom& rng) const;
    QString pickStreet(DemoRandom& rng) const;
    QString pickFirstName(DemoRandom& rng, bool female) const;
    QString pickSurname(DemoRandom& rng, bool female) const;
    // An industry class, sections weighted by how common firms in them are.
    const Industry& pickIndustry(DemoRandom& rng) const;
    // Another class of the same division (first two digits) when there is one.
    const Industry& pickRelatedIndustry(DemoRandom& rng, const Industry& to) const;

private:
    std::vector<District> m_districts;
    std::vector<Town> m_towns;
    std::vector<Industry> m_industries;
    std::vector<std::vector<int>> m_bySection; // 'A'..'U' -> industry indexes
    QStringList m_streets;
    std::vector<QString> m_firstNames[2], m_surnames[2];
    WeightedPicker m_townPicker, m_streetPicker, m_sectionPicker;
    WeightedPicker m_firstNamePicker[2], m_surnamePicker[2];
};

} // namespace kv
