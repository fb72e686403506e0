#pragma once

#include <QString>
#include <cstdint>
#include <functional>

namespace kv
{

// Builds a complete demo data home: the company database with every table,
// dictionary and index table, logo and advertisement pictures, the
// presentation pages, an empty note folder and the help file. The same
// options always give the same bytes in every file.
class DemoGenerator
{
public:
    // stage: a short text of what is being done; done of total steps.
    using Progress = std::function<void(const QString& stage, qint64 done, qint64 total)>;

    struct Options {
        int firms = 20000;
        std::uint64_t seed = 2001;
        Progress progress;
    };

    explicit DemoGenerator(Options options);

    // Writes into dir, which must exist with its subfolders (DemoHomeFolder).
    bool generate(const QString& dir);
    QString error() const { return m_error; }

private:
    bool writeFirms(const QString& dir);
    bool writePresentation(const QString& dir);
    bool writeHelp(const QString& dir);
    void report(const QString& stage, qint64 done, qint64 total) const;

    Options m_options;
    QString m_error;
};

} // namespace kv
