#pragma once

#include "domain/LabelGeometry.h"

#include <QColor>
#include <QWidget>

class QPainter;

namespace kv
{

// The scaled picture of a label sheet: paper, printable area and labels. The
// geometry lives in LabelGeometry; this control adds the colours and draws.
// Every effective change repaints at once.
class LabelSheetView : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QColor BaseColor READ baseColor WRITE setBaseColor)
    Q_PROPERTY(QColor BackgroundColor READ backgroundColor WRITE setBackgroundColor)
    Q_PROPERTY(QColor ForegroundColor READ foregroundColor WRITE setForegroundColor)
    Q_PROPERTY(QColor Margin READ margin WRITE setMarginColor)
    Q_PROPERTY(int Round READ round WRITE setRound)
    Q_PROPERTY(float LeftMargin READ leftMargin WRITE setLeftMargin)
    Q_PROPERTY(float RightMargin READ rightMargin WRITE setRightMargin)
    Q_PROPERTY(float TopMargin READ topMargin WRITE setTopMargin)
    Q_PROPERTY(float BottomMargin READ bottomMargin WRITE setBottomMargin)
    Q_PROPERTY(float LengthDocument READ lengthDocument WRITE setLengthDocument)
    Q_PROPERTY(float WidthDocument READ widthDocument WRITE setWidthDocument)
    Q_PROPERTY(float SizeWidth READ sizeWidth WRITE setSizeWidth)
    Q_PROPERTY(float SizeLength READ sizeLength WRITE setSizeLength)
    Q_PROPERTY(int CountHorizontal READ countHorizontal WRITE setCountHorizontal)
    Q_PROPERTY(int CountVertical READ countVertical WRITE setCountVertical)
    Q_PROPERTY(float SpaceHorizontal READ spaceHorizontal WRITE setSpaceHorizontal)
    Q_PROPERTY(float SpaceVertical READ spaceVertical WRITE setSpaceVertical)
public:
    explicit LabelSheetView(QWidget* parent = nullptr);

    const LabelGeometry& geometry() const { return m_geo; }

    QColor baseColor() const { return m_base; }
    QColor backgroundColor() const { return m_background; }
    QColor foregroundColor() const { return m_foreground; }
    QColor margin() const { return m_margin; }
    int round() const { return m_round; }
    float leftMargin() const { return m_geo.LeftMargin; }
    float rightMargin() const { return m_geo.RightMargin; }
    float topMargin() const { return m_geo.TopMargin; }
    float bottomMargin() const { return m_geo.BottomMargin; }
    float lengthDocument() const { return m_geo.LengthDocument; }
    float widthDocument() const { return m_geo.WidthDocument; }
    float sizeWidth() const { return m_geo.SizeWidth; }
    float sizeLength() const { return m_geo.SizeLength; }
    int countHorizontal() const { return m_geo.CountHorizontal; }
    int countVertical() const { return m_geo.CountVertical; }
    float spaceHorizontal() const { return m_geo.SpaceHorizontal; }
    float spaceVertical() const { return m_geo.SpaceVertical; }
    // Pixels per millimetre of the last Paint.
    float scale() const { return m_scale; }

    void setBaseColor(const QColor& c);
    void setBackgroundColor(const QColor& c);
    void setForegroundColor(const QColor& c);
    void setMarginColor(const QColor& c);
    void setRound(int v);
    void setLeftMargin(float v);
    void setRightMargin(float v);
    void setTopMargin(float v);
    void setBottomMargin(float v);
    void setLengthDocument(float v);
    void setWidthDocument(float v);
    void setSizeWidth(float v);
    void setSizeLength(float v);
    void setCountHorizontal(int v);
    void setCountVertical(int v);
    void setSpaceHorizontal(float v);
    void setSpaceVertical(float v);
    // The eight fields of the settings window; see LabelGeometry::applyFields.
    bool applyFields(const LabelGeometry::Fields& fields);

    void countSize();
    // Redraws the control now.
    void paint();
    // Draws the control's picture with painter, whose origin is the control's
    // top left corner.
    void render(QPainter& painter);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void changed(bool took);
    void setColor(QColor& field, const QColor& value);

    LabelGeometry m_geo;
    QColor m_base = Qt::black;
    QColor m_background = Qt::black;
    QColor m_foreground = Qt::black;
    QColor m_margin = Qt::black;
    int m_round = 5;
    float m_scale = 0;
};

} // namespace kv
