#pragma once

#include "printing/LabelGeometry.h"

#include <QColor>
#include <QWidget>

class QPainter;

namespace kv
{

// The scaled picture of a label sheet: paper, printable area and labels. The
// geometry lives in LabelGeometry; this control adds the colours and draws.
// Every effective change repaints at once.
class TPrintLabelView : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QColor BaseColor READ BaseColor WRITE SetBaseColor)
    Q_PROPERTY(QColor BackgroundColor READ BackgroundColor WRITE SetBackgroungColor)
    Q_PROPERTY(QColor ForegroundColor READ ForegroundColor WRITE SetForegroundColor)
    Q_PROPERTY(QColor Margin READ Margin WRITE SetMarginColor)
    Q_PROPERTY(int Round READ Round WRITE SetRound)
    Q_PROPERTY(float LeftMargin READ LeftMargin WRITE SetLeftMargin)
    Q_PROPERTY(float RightMargin READ RightMargin WRITE SetRightMargin)
    Q_PROPERTY(float TopMargin READ TopMargin WRITE SetTopMargin)
    Q_PROPERTY(float BottomMargin READ BottomMargin WRITE SetBottomMargin)
    Q_PROPERTY(float LengthDocument READ LengthDocument WRITE SetLengthDocument)
    Q_PROPERTY(float WidthDocument READ WidthDocument WRITE SetWidthDocument)
    Q_PROPERTY(float SizeWidth READ SizeWidth WRITE SetSizeWidth)
    Q_PROPERTY(float SizeLength READ SizeLength WRITE SetSizeLength)
    Q_PROPERTY(int CountHorizontal READ CountHorizontal WRITE SetCountHorizontal)
    Q_PROPERTY(int CountVertical READ CountVertical WRITE SetCountVertical)
    Q_PROPERTY(float SpaceHorizontal READ SpaceHorizontal WRITE SetSpaceHorizontal)
    Q_PROPERTY(float SpaceVertical READ SpaceVertical WRITE SetSpaceVertical)
public:
    explicit TPrintLabelView(QWidget* parent = nullptr);

    const LabelGeometry& geometry() const { return m_geo; }

    QColor BaseColor() const { return m_base; }
    QColor BackgroundColor() const { return m_background; }
    QColor ForegroundColor() const { return m_foreground; }
    QColor Margin() const { return m_margin; }
    int Round() const { return m_round; }
    float LeftMargin() const { return m_geo.LeftMargin; }
    float RightMargin() const { return m_geo.RightMargin; }
    float TopMargin() const { return m_geo.TopMargin; }
    float BottomMargin() const { return m_geo.BottomMargin; }
    float LengthDocument() const { return m_geo.LengthDocument; }
    float WidthDocument() const { return m_geo.WidthDocument; }
    float SizeWidth() const { return m_geo.SizeWidth; }
    float SizeLength() const { return m_geo.SizeLength; }
    int CountHorizontal() const { return m_geo.CountHorizontal; }
    int CountVertical() const { return m_geo.CountVertical; }
    float SpaceHorizontal() const { return m_geo.SpaceHorizontal; }
    float SpaceVertical() const { return m_geo.SpaceVertical; }
    // Pixels per millimetre of the last Paint.
    float scale() const { return m_scale; }

    void SetBaseColor(const QColor& c);
    void SetBackgroungColor(const QColor& c);
    void SetForegroundColor(const QColor& c);
    void SetMarginColor(const QColor& c);
    void SetRound(int v);
    void SetLeftMargin(float v);
    void SetRightMargin(float v);
    void SetTopMargin(float v);
    void SetBottomMargin(float v);
    void SetLengthDocument(float v);
    void SetWidthDocument(float v);
    void SetSizeWidth(float v);
    void SetSizeLength(float v);
    void SetCountHorizontal(int v);
    void SetCountVertical(int v);
    void SetSpaceHorizontal(float v);
    void SetSpaceVertical(float v);
    // The eight fields of the settings window; see LabelGeometry::applyFields.
    bool applyFields(const LabelGeometry::Fields& fields);

    void CountSize();
    // Redraws the control now.
    void Paint();
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
