#pragma once

#include <QByteArray>
#include <QImage>

namespace kv
{

// Encodes a 32-bit RGB picture as a baseline JPEG straight through libjpeg:
// the same bytes as Qt's writer gives at the same quality, in three quarters
// of the time (Qt copies every row into three bytes a pixel first), which
// counts for the demo's hundred thousand advertisements.
class JpegEncoder
{
public:
    // An empty result when libjpeg refuses the picture.
    static QByteArray encode(const QImage& image, int quality);
};

} // namespace kv
