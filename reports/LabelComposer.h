#pragma once

#include "domain/LabelSettings.h"

#include <QFont>
#include <QStringList>
#include <functional>

namespace kv
{

// Composes the text lines of one address label: the name word-wrapped to the
// line width, the salutation, then street, town, postcode and country each
// shortened to fit, then empty lines up to eight. Widths are in layout units.
class LabelComposer
{
public:
    static constexpr int LinesPerLabel = 8;
    using Measure = std::function<qreal(const QString&)>;

    // Measures in font at the report's layout scale.
    explicit LabelComposer(const QFont& font);
    explicit LabelComposer(Measure measure) : m_measure(std::move(measure)) {}

    struct Firm {
        QString name, street, town, postcode;
    };

    qreal lineWidth = 0;
    QString salutation; // empty: no salutation line
    std::array<bool, LabelSettings::OptionCount> options{false, true, true, true, true, false};
    QString countryText;

    // The lines for firm; at least eight, more when the name takes many.
    QStringList compose(const Firm& firm) const;
    QStringList wrapName(const QString& name) const;
    QString shorten(QString text) const;

private:
    Measure m_measure;
};

} // namespace kv
