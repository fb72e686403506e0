#include "domain/LabelGeometry.h"

#include <QLocale>
#include <cmath>

namespace kv
{

void LabelGeometry::countSize()
{
    SizeWidth = float((double(WidthDocument) - LeftMargin - RightMargin -
                       double(CountHorizontal - 1) * SpaceHorizontal) /
                      CountHorizontal);
    SizeLength = float((double(LengthDocument) - TopMargin - BottomMargin -
                        double(CountVertical - 1) * SpaceVertical) /
                       CountVertical);
}

namespace
{

int trunc(double v)
{
    // Pictures far outside any control are clamped rather than overflowing.
    if (!(v > -1e9))
        return -1000000000;
    if (v > 1e9)
        return 1000000000;
    return int(v);
}

QRect edges(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

} // namespace

LabelGeometry::Picture LabelGeometry::picture(int width, int height, int round) const
{
    Picture p;
    const double sx = WidthDocument == 0 ? 0.0 : (width - 2.0 * round) / double(WidthDocument);
    const double sy = LengthDocument == 0 ? 0.0 : (height - 2.0 * round) / double(LengthDocument);
    p.scale = float(sx < sy ? sx : sy);
    const double s = p.scale;
    const int x0 = trunc((width - WidthDocument * s) * 0.5);
    const int y0 = trunc((height - LengthDocument * s) * 0.5);
    p.sheet = edges(x0, y0, trunc(x0 + WidthDocument * s), trunc(y0 + LengthDocument * s));
    p.printable = edges(trunc(x0 + LeftMargin * s), trunc(y0 + TopMargin * s),
                        trunc(x0 + WidthDocument * s - RightMargin * s),
                        trunc(y0 + LengthDocument * s - BottomMargin * s));
    const double left = x0 + LeftMargin * s;
    const double top = y0 + TopMargin * s;
    for (int i = 0; i < CountHorizontal; ++i) {
        const int l = trunc(left + (i * double(SizeWidth) + i * double(SpaceHorizontal)) * s);
        const int r = trunc(left + ((i + 1) * double(SizeWidth) + i * double(SpaceHorizontal)) * s);
        if (l >= width && s > 0 && SizeWidth + SpaceHorizontal > 0)
            break; // every further column lies right of the control
        for (int j = 0; j < CountVertical; ++j) {
            const int t = trunc(top + (j * double(SizeLength) + j * double(SpaceVertical)) * s);
            const int b =
                trunc(top + ((j + 1) * double(SizeLength) + j * double(SpaceVertical)) * s);
            if (t >= height && s > 0 && SizeLength + SpaceVertical > 0)
                break;
            p.labels.push_back(edges(l, t, r, b));
        }
    }
    return p;
}

bool LabelGeometry::applyFields(const Fields& fields, bool* changed)
{
    bool any = false;
    const QLocale locale;
    for (int f = 0; f < FieldCount; ++f) {
        const QString& text = fields[size_t(f)];
        if (text.isEmpty())
            continue;
        bool ok = false;
        double v = locale.toDouble(text, &ok);
        if (!ok)
            v = text.toDouble(&ok);
        if (!ok || !std::isfinite(v)) {
            if (changed)
                *changed = any;
            return false;
        }
        bool took = false;
        if (f == CountH || f == CountV) {
            // Truncated toward zero; a grid beyond this cannot be printed.
            if (std::fabs(v) > MaxCount) {
                if (changed)
                    *changed = any;
                return false;
            }
            took = f == CountH ? setCountHorizontal(int(v)) : setCountVertical(int(v));
        } else {
            const float value = float(v);
            switch (f) {
            case Left:
                took = setLeftMargin(value);
                break;
            case Top:
                took = setTopMargin(value);
                break;
            case Right:
                took = setRightMargin(value);
                break;
            case Bottom:
                took = setBottomMargin(value);
                break;
            case SpaceH:
                took = setSpaceHorizontal(value);
                break;
            default:
                took = setSpaceVertical(value);
                break;
            }
        }
        any = any || took;
    }
    if (changed)
        *changed = any;
    return true;
}

} // namespace kv
