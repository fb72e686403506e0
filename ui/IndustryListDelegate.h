#pragma once

#include <QPixmap>
#include <QStyledItemDelegate>

namespace kv
{

// Draws the profile's industry list: industry names in navy 2 pixels in;
// activity lines (stored with a leading tab) with the marker picture at 18
// and their text at 41 in black; the selected item in white.
class IndustryListDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    static constexpr int ItemHeight = 16;
    static constexpr int MarkerWidth = 13;

    explicit IndustryListDelegate(QObject* parent = nullptr);

    static bool isActivityLine(const QString& text) { return text.startsWith(QLatin1Char('\t')); }
    // Left of the item text within the item rectangle.
    static int textOffset(const QString& text);
    static int markerOffset() { return 2 + 16; }
    // The text as shown, without the leading tab of an activity line.
    static QString shownText(const QString& text);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    QPixmap m_marker;
};

} // namespace kv
