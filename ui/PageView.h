#pragma once

#include <QAbstractScrollArea>
#include <QPointer>

namespace kv
{

class PageStore;

// Shows one page of a page store. At zoom 100 a page has its physical size on
// the screen; a page smaller than the view is centred, a larger one scrolls.
// Both scroll positions return to the start when the page or the zoom changes.
// The wheel scrolls the page and, past its bottom or top, leafs on to the
// next page (its top) or the previous one (its bottom).
class PageView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    static constexpr int kMinZoom = 2;
    static constexpr int kMaxZoom = 2000;

    explicit PageView(QWidget* parent = nullptr);

    void attach(PageStore* store);
    void detach();
    PageStore* store() const { return m_store; }

    int page() const { return m_page; }
    void setPage(int page);
    int pageCount() const;
    int zoom() const { return m_zoom; }
    // Values outside 2..2000 are ignored.
    void setZoom(int percent);

    // The current page's size in screen pixels at 100 % (A4 when none).
    QSizeF pagePixels() const;
    // The page's size in pixels at the current zoom.
    QSize scaledPage() const;
    // The area the page is shown in (without scroll bars).
    QSize viewSize() const;

signals:
    void storeChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void updateScrollBars();
    void resetScroll();

    QPointer<PageStore> m_store;
    int m_page = 1;
    int m_zoom = 100;
    int m_wheelRest = 0; // wheel turn at a page's end not yet used for leafing
};

} // namespace kv
