#include "reports/LabelComposer.h"

#include "reports/TextMeasure.h"

namespace kv
{

LabelComposer::LabelComposer(const QFont& font)
    : m_measure([font](const QString& text) { return TextMeasure::width(text, font); })
{
}

QStringList LabelComposer::wrapName(const QString& name) const
{
    // Each word on a line of its own, then neighbours joined while they fit:
    // one pass that measures about a line per word.
    const QStringList words = name.split(QLatin1Char(' '));
    if (words.size() < 2)
        return words;
    QStringList lines;
    QString line = words.first();
    for (qsizetype i = 1; i < words.size(); ++i) {
        QString joined = line + QLatin1Char(' ') + words[i];
        if (m_measure(joined) > lineWidth) {
            lines << line;
            line = words[i];
        } else {
            line = std::move(joined);
        }
    }
    lines << line;
    return lines;
}

QString LabelComposer::shorten(QString text) const
{
    // The longest prefix that fits, found in a few measurements rather than
    // one per character chopped off.
    const qsizetype keep = TextMeasure::longestFitting(
        text, lineWidth, [this](QStringView prefix) { return m_measure(prefix.toString()); });
    text.truncate(keep);
    return text;
}

QStringList LabelComposer::compose(const Firm& firm) const
{
    using S = LabelSettings;
    QStringList out;
    if (options[S::Name])
        out << wrapName(firm.name);
    if (options[S::Salutation] && !salutation.isEmpty())
        out << salutation;
    if (options[S::Street])
        out << shorten(firm.street);
    if (options[S::Town])
        out << shorten(firm.town);
    if (options[S::Postcode])
        out << shorten(firm.postcode);
    if (options[S::Country])
        out << shorten(countryText);
    while (out.size() < LinesPerLabel)
        out << QString();
    return out;
}

} // namespace kv
