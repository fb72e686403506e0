#include "domain/LabelSettings.h"

#include "core/Cp1250.h"
#include "core/Error.h"
#include "core/ListFile.h"

#include <QGuiApplication>
#include <QPalette>

namespace kv
{

int LabelFont::style() const
{
    return (bold ? 1 : 0) | (italic ? 2 : 0) | (underline ? 4 : 0) | (strikeOut ? 8 : 0);
}

void LabelFont::setStyle(int bits)
{
    bold = bits & 1;
    italic = bits & 2;
    underline = bits & 4;
    strikeOut = bits & 8;
}

QFont LabelFont::toFont() const
{
    QFont f = QGuiApplication::font();
    if (!face.isEmpty())
        f.setFamilies({face});
    f.setPointSize(size > 0 ? size : 8);
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    f.setStrikeOut(strikeOut);
    return f;
}

QColor LabelFont::toColor() const
{
    if (color < 0) {
        // A system colour: the low byte names it. Text on the white label
        // takes the palette's text colour for any of them.
        const int index = color & 0xFF;
        const QPalette pal = QGuiApplication::palette();
        return index == 5 ? pal.color(QPalette::Base) : pal.color(QPalette::Text);
    }
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

qint32 LabelFont::colorNumber(const QColor& c)
{
    return qint32(c.red() | (c.green() << 8) | (c.blue() << 16));
}

void LabelFont::takeFont(const QFont& font)
{
    face = font.family();
    size = font.pointSize() > 0 ? font.pointSize() : qMax(1, qRound(font.pointSizeF()));
    bold = font.bold();
    italic = font.italic();
    underline = font.underline();
    strikeOut = font.strikeOut();
}

LabelFont LabelFont::fromFont(const QFont& font)
{
    LabelFont f;
    f.takeFont(font);
    return f;
}

namespace
{

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

bool toInt(const QString& text, int low, int high, int& out)
{
    bool ok = false;
    const qlonglong v = text.trimmed().toLongLong(&ok);
    if (!ok || v < low || v > high)
        return false;
    out = int(v);
    return true;
}

} // namespace

QStringList LabelFile::lines(const LabelSettings& s)
{
    QStringList out{QStringLiteral("KV2001;Labels;")};
    for (const QString& f : s.fields)
        out << f;
    out << s.font.face << QString::number(s.font.charset) << QString::number(s.font.color)
        << QString::number(s.font.size) << QString::number(s.font.style()) << s.salutation;
    for (bool on : s.options)
        out << flag(on);
    return out;
}

LabelFile::Status LabelFile::apply(const QStringList& lines, LabelSettings& s)
{
    if (lines.isEmpty())
        return Status::Empty;
    if (!lines[0].contains(QLatin1String("KV2001;")) ||
        !lines[0].contains(QLatin1String("Labels;")))
        return Status::NoHeader;
    int n = 1;
    auto has = [&](int line) { return line < lines.size(); };
    for (; n <= 8; ++n) {
        if (!has(n))
            return Status::Damaged;
        s.fields[size_t(n - 1)] = lines[n];
    }
    if (!has(9))
        return Status::Damaged;
    s.font.face = lines[9];
    int v = 0;
    if (!has(10) || !toInt(lines[10], 0, 255, v))
        return Status::Damaged;
    s.font.charset = v;
    if (!has(11) || !toInt(lines[11], INT_MIN, INT_MAX, v))
        return Status::Damaged;
    s.font.color = v;
    // A size the platform cannot draw would only fail later, at printing.
    if (!has(12) || !toInt(lines[12], 1, 1638, v))
        return Status::Damaged;
    s.font.size = v;
    if (!has(13) || !toInt(lines[13], INT_MIN, INT_MAX, v))
        return Status::Damaged;
    s.font.setStyle(v);
    if (!has(14))
        return Status::Damaged;
    s.salutation = lines[14];
    for (int i = 0; i < LabelSettings::OptionCount; ++i) {
        if (!has(15 + i))
            return Status::Damaged;
        s.options[size_t(i)] = lines[15 + i] == QLatin1String("1");
    }
    return Status::Loaded;
}

void LabelFile::save(const LabelSettings& settings, const QString& path)
{
    const QStringList list = lines(settings);
    for (const QString& line : list) {
        QByteArray bytes;
        qsizetype bad = -1;
        if (!Cp1250::encodeStrict(line, bytes, &bad))
            throw Error::file(
                path,
                QStringLiteral("\"%1\" cannot be stored in Windows-1250").arg(line.mid(bad, 1)));
    }
    saveListFile(list, path, 1, Key);
}

LabelFile::Status LabelFile::load(const QString& path, LabelSettings& settings)
{
    QStringList list;
    loadListFile(list, path);
    return apply(list, settings);
}

} // namespace kv
