#include "demo/JpegEncoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace kv
{

namespace
{

// libjpeg's own error handler ends the process; this one returns to encode().
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf back;
};

[[noreturn]] void failed(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->back, 1);
}

void silent(j_common_ptr, int) {}

} // namespace

QByteArray JpegEncoder::encode(const QImage& source, int quality)
{
    QImage image = source;
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    if (image.isNull())
        return {};

    jpeg_compress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = failed;
    errors.base.emit_message = silent;
    unsigned char* bytes = nullptr;
    unsigned long size = 0;
    // Nothing below the setjmp holds an object with a destructor.
    if (setjmp(errors.back)) {
        jpeg_destroy_compress(&info);
        std::free(bytes);
        return {};
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &bytes, &size);
    info.image_width = JDIMENSION(image.width());
    info.image_height = JDIMENSION(image.height());
    info.input_components = 4;
    // A pixel 0xffRRGGBB lies in memory as B, G, R, X on a little-endian machine.
    info.in_color_space = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;
    jpeg_set_defaults(&info);
    // The resolution Qt writes: the image's dots per metre as dots per inch.
    info.density_unit = 1;
    info.X_density = UINT16(qRound(image.dotsPerMeterX() * 0.0254));
    info.Y_density = UINT16(qRound(image.dotsPerMeterY() * 0.0254));
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray out(reinterpret_cast<const char*>(bytes), qsizetype(size));
    std::free(bytes);
    return out;
}

} // namespace kv
