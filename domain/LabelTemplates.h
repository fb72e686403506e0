#pragma once

#include "domain/LabelGeometry.h"

#include <QIODevice>
#include <QList>
#include <QString>

namespace kv
{

// Label sheets of the makers' catalogues (gLabels template files): A4 sheets
// with one regular grid of rectangular labels. Sheets whose grid does not fit
// the page, or whose pitch is smaller than the label, are left out.
class LabelTemplates
{
public:
    struct Sheet {
        QString brand;
        QString part;
        QString description;
        double width = 0, height = 0; // label size, mm
        int nx = 0, ny = 0;
        double x0 = 0, y0 = 0, dx = 0, dy = 0; // first label offset and pitch, mm

        // "Avery L7160  Address labels  63.5 x 38.1 mm, 3 x 7"
        QString title() const;
        // The eight fields of the settings window, in whole millimetres.
        LabelGeometry::Fields fields() const;
        // Whether the grid lies on the page and the labels do not overlap.
        bool fits() const;
    };

    static constexpr double PageWidth = 210;
    static constexpr double PageHeight = 297;

    // The sheets of one template file; equivalent parts take the geometry of
    // the part they name. Only sheets that fit are kept.
    static QList<Sheet> parse(QIODevice& device);
    // A length with its unit ("mm", "cm", "in", "pt" or none for points) in mm.
    static double toMm(const QString& length, bool* ok = nullptr);
    // Every sheet of the built-in catalogues, sorted by brand and part.
    static const QList<Sheet>& builtIn();
};

} // namespace kv
