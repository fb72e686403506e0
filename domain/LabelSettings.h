#pragma once

#include "domain/LabelGeometry.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <array>

namespace kv
{

// The label font as a label file stores it. The character set and the colour
// are kept as the numbers read, so a file loads and saves back unchanged even
// where the platform has no use for them (system colours are negative).
struct LabelFont {
    QString face;
    int charset = 1; // the platform default character set
    qint32 color = WindowTextColor;
    int size = 8;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    static constexpr qint32 WindowTextColor = qint32(0xFF000008);

    int style() const;
    void setStyle(int bits);
    QFont toFont() const;
    QColor toColor() const;
    // Takes face, size and style from font; keeps character set and colour.
    void takeFont(const QFont& font);
    static LabelFont fromFont(const QFont& font);
    // Colour number for an RGB colour (0x00BBGGRR).
    static qint32 colorNumber(const QColor& c);
    bool operator==(const LabelFont&) const = default;
};

// Everything a label file holds: the eight sheet fields as typed, the font,
// the salutation and the six content options.
struct LabelSettings {
    enum Option { Salutation, Name, Street, Town, Postcode, Country, OptionCount };

    LabelGeometry::Fields fields{"10", "10", "10", "10", "3", "6", "5", "5"};
    LabelFont font;
    QString salutation;
    std::array<bool, OptionCount> options{false, true, true, true, true, false};

    bool operator==(const LabelSettings&) const = default;
};

// The 21 lines of a label file.
class LabelFile
{
public:
    static constexpr int LineCount = 21;
    static constexpr int Key = 0x0E;

    enum class Status {
        Loaded,
        Empty,    // nothing to read: the file is missing or empty
        NoHeader, // line 0 lacks "KV2001;" or "Labels;"
        Damaged,  // a line is missing or does not convert; earlier ones applied
    };

    static QStringList lines(const LabelSettings& settings);
    // Applies lines 1 to 20 to settings in order, stopping at the first line
    // that is missing or does not convert.
    static Status apply(const QStringList& lines, LabelSettings& settings);

    // Writes through a temporary file; throws Error::file on failure (and for
    // text that Windows-1250 cannot hold, which would come back changed).
    static void save(const LabelSettings& settings, const QString& path);
    // Reads path and applies it; throws Error::file when the file cannot be read.
    static Status load(const QString& path, LabelSettings& settings);
};

} // namespace kv
