#pragma once

#include "demo/DemoFirm.h"

#include <QImage>
#include <QString>

namespace kv
{

// Draws the pictures of a demo data home: firm logos (initials on a
// coloured badge), advertisement banners with the firm's name, and the
// presentation pages. Colours follow from the company number, so the same
// firm always gets the same picture.
class DemoPictures
{
public:
    // The parts of a firm its logo and advertisements show, sharing the
    // texts: pictures waiting to be drawn then hold little memory.
    static DemoFirm shownParts(const DemoFirm& firm);
    static QImage logo(const DemoFirm& firm);
    // number: 1-based advertisement of the firm; each has its own shape.
    static QImage advertisement(const DemoFirm& firm, const QString& town, int number);
    // page: 0 maker, 1 this product, 2..4 sibling products, 5 contacts.
    static QImage presentationPage(int page, bool english);
    // The presentation page file names below Prez/, Czech ones first.
    static QStringList presentationFiles();
    // Writes through a temporary file; format "PNG" or "JPG".
    static bool save(const QImage& image, const QString& path, const char* format, QString* error);
};

} // namespace kv
