#pragma once

#include <QPixmap>
#include <QString>

namespace kv
{

// The program's own pictures, drawn rather than shipped as files.
class AuxPictures
{
public:
    static QPixmap startPicture(const QSize& size);   // splash
    static QPixmap productPicture(const QSize& size); // about box
    static QPixmap tipPicture(const QSize& size, const QString& text);
};

} // namespace kv
