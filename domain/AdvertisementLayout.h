#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace kv
{

// Where everything of the advertisement window goes for one picture: the
// navy frame (Panel1) sized to the picture plus room for the navigator row,
// the inner panel, the picture, the navigator, the close button and the
// window itself, capped by the screen. No widgets, so it is tested directly.
class AdvertisementLayout
{
public:
    static constexpr int ImageTop = 37;      // below the navigator row
    static constexpr int FrameInset = 6;     // lowered bevel (1) and border (5)
    static constexpr int MinimumWidth = 255; // room for the navigator and the button
    static constexpr int CloseButtonRight = 95;

    // picture: size of the loaded picture; screen: the room on the screen.
    AdvertisementLayout(QSize picture, QSize screen);

    QRect panel1() const { return m_panel1; }
    // Panel2 in Panel1's coordinates.
    QRect panel2() const;
    // The picture, the navigator and the close button in Panel2's coordinates.
    QPoint image() const { return m_image; }
    QPoint navigator() const { return {10, 8}; }
    QPoint closeButton() const { return {panel2().width() - CloseButtonRight, 8}; }
    // The window's outer size, its frame included.
    QSize window() const { return m_window; }
    // The client area under a window frame of that size: the panel and the
    // scroll bar a cap brings, no more; capped it keeps the outer size.
    QSize client(QSize frame, int scrollBar) const;
    // The frame is taller than the screen allows: the window scrolls.
    bool heightCapped() const { return m_heightCapped; }
    bool widthCapped() const { return m_widthCapped; }

    // Top left for a window of the given size that stays where it was but
    // is moved back inside the screen when it would stick out.
    static QPoint keptOnScreen(const QRect& window, const QRect& screen);

private:
    QRect m_panel1;
    QPoint m_image;
    QSize m_window;
    bool m_heightCapped = false;
    bool m_widthCapped = false;
};

} // namespace kv
