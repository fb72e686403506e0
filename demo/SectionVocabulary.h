#pragma once

#include <QStringList>

namespace kv
{

// Words that make a firm's name and activity lines fit its industry: per
// CZ-NACE section ('A'..'U') the nouns a Czech firm name starts with
// ("Stavební firma", "Autodoprava"), brand prefixes ("STAVO", "AGRO") and
// short activity phrases as they appear in directory entries.
class SectionVocabulary
{
public:
    static const QStringList& nameWords(char section);
    static const QStringList& brandPrefixes(char section);
    static const QStringList& activities(char section);
    static const QStringList& brandSuffixes();
};

} // namespace kv
