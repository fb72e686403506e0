#include "domain/AdvertisementLayout.h"

#include <algorithm>

namespace kv
{

namespace
{
constexpr int ScreenHeightReserve = 100; // the window never takes the whole height
constexpr int ScreenWidthReserve = 10;
constexpr int WindowHeightExtra = 38;
constexpr int WindowWidthExtra = 18;
constexpr int ScrollBarRoom = 24; // window width when a vertical scroll bar shows
constexpr int PanelBottom = 20;
constexpr int PanelSides = 24;
} // namespace

AdvertisementLayout::AdvertisementLayout(QSize picture, QSize screen)
{
    m_panel1 = QRect(0, 0, picture.width() + PanelSides, picture.height() + ImageTop + PanelBottom);

    const int maxHeight = screen.height() - ScreenHeightReserve;
    m_heightCapped = m_panel1.height() > maxHeight;
    const int height = m_heightCapped ? maxHeight : m_panel1.height() + WindowHeightExtra;

    const int maxWidth = screen.width() - ScreenWidthReserve;
    m_widthCapped = m_panel1.width() > maxWidth;
    int width = maxWidth;
    if (!m_widthCapped) {
        if (m_panel1.width() < MinimumWidth)
            m_panel1.setWidth(MinimumWidth);
        width = m_panel1.width() + (m_heightCapped ? ScrollBarRoom : WindowWidthExtra);
    }
    m_window = QSize(width, height);
    // Truncated like the integer division it is.
    m_image = QPoint((panel2().width() - picture.width()) / 2, ImageTop);
}

QSize AdvertisementLayout::client(QSize frame, int scrollBar) const
{
    // The outer size leaves room for a frame of its own; a window manager's
    // frame differs, and that room would stay an empty band beside the panel.
    const int width = m_widthCapped ? m_window.width() - frame.width()
                                    : m_panel1.width() + (m_heightCapped ? scrollBar : 0);
    const int height = m_heightCapped ? m_window.height() - frame.height()
                                      : m_panel1.height() + (m_widthCapped ? scrollBar : 0);
    return {width, height};
}

QRect AdvertisementLayout::panel2() const
{
    return m_panel1.adjusted(FrameInset, FrameInset, -FrameInset, -FrameInset);
}

QPoint AdvertisementLayout::keptOnScreen(const QRect& window, const QRect& screen)
{
    const int x =
        std::max(screen.left(), std::min(window.left(), screen.right() + 1 - window.width()));
    const int y =
        std::max(screen.top(), std::min(window.top(), screen.bottom() + 1 - window.height()));
    return {x, y};
}

} // namespace kv
