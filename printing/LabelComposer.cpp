#include "printing/LabelComposer.h"

#include "printing/TextMeasure.h"

namespace kv
{

LabelComposer::LabelComposer(const QFont& font)
    : m_measure([font](const QString& text) { return TextMeasure::width(text, font); })
{
}

QStringList LabelComposer::wrapName(const QString& name) const
{
    // Each word on a line of its own, then neighbours joined while they fit.
    QStringList lines = name.split(QLatin1Char(' '));
    if (lines.size() < 2)
        return lines;
    qsizetype i = 0;
    while (i < lines.size() - 1) {
        const QString joined = lines[i] + QLatin1Char(' ') + lines[i + 1];
        if (m_measure(joined) > lineWidth) {
            ++i;
        } else {
            lines[i] = joined;
            lines.removeAt(i + 1);
        }
    }
    return lines;
}

QString LabelComposer::shorten(QString text) const
{
    while (!text.isEmpty() && m_measure(text) > lineWidth)
        text.chop(1);
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
