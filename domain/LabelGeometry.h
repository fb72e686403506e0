#pragma once

#include <QRect>
#include <QString>
#include <array>
#include <vector>

namespace kv
{

// A sheet of self-adhesive labels in millimetres: paper size, four margins, a
// grid of labels with gaps, and the label size derived from the rest. Also
// the pixel arithmetic of its scaled picture, so both are tested without a
// window. Values are 32-bit floats as the label files and the view store them.
class LabelGeometry
{
public:
    // The scaled picture of the sheet in a control of width x height pixels.
    // Rectangles hold left, top, right and bottom (right and bottom
    // exclusive), so a label of negative size keeps right < left.
    struct Picture {
        float scale = 0; // pixels per millimetre, stored as a 32-bit float
        QRect sheet;
        QRect printable;
        std::vector<QRect> labels; // column by column, top to bottom
    };

    float LeftMargin = 0;
    float RightMargin = 0;
    float TopMargin = 0;
    float BottomMargin = 0;
    float LengthDocument = 0;
    float WidthDocument = 0;
    float SizeWidth = 0;
    float SizeLength = 0;
    int CountHorizontal = 1;
    int CountVertical = 1;
    float SpaceHorizontal = 0;
    float SpaceVertical = 0;

    // The setters return whether the value was taken. Margins, sheet size,
    // counts and gaps derive the label size again; counts below 1 and
    // negative gaps are refused; the label size stands until the next change.
    bool setLeftMargin(float v) { return setDerived(LeftMargin, v); }
    bool setRightMargin(float v) { return setDerived(RightMargin, v); }
    bool setTopMargin(float v) { return setDerived(TopMargin, v); }
    bool setBottomMargin(float v) { return setDerived(BottomMargin, v); }
    bool setLengthDocument(float v) { return setDerived(LengthDocument, v); }
    bool setWidthDocument(float v) { return setDerived(WidthDocument, v); }
    bool setSizeWidth(float v) { return setPlain(SizeWidth, v); }
    bool setSizeLength(float v) { return setPlain(SizeLength, v); }
    bool setCountHorizontal(int v) { return v > 0 && setDerived(CountHorizontal, v); }
    bool setCountVertical(int v) { return v > 0 && setDerived(CountVertical, v); }
    bool setSpaceHorizontal(float v) { return v >= 0 && setDerived(SpaceHorizontal, v); }
    bool setSpaceVertical(float v) { return v >= 0 && setDerived(SpaceVertical, v); }

    // The labels and gaps of a row or column fill the printable width or
    // height exactly; nothing is clamped.
    void countSize();

    // The picture in a control of width x height pixels with round pixels of
    // border. Columns and rows that start right of or below the control are
    // left out.
    Picture picture(int width, int height, int round) const;

    // The eight fields of the label settings window, in their order: left,
    // top, right and bottom margin, labels across, labels down, column gap,
    // row gap.
    enum Field { Left, Top, Right, Bottom, CountH, CountV, SpaceH, SpaceV, FieldCount };
    using Fields = std::array<QString, FieldCount>;
    // Applies the fields in order, skipping empty ones; counts are truncated
    // toward zero. Stops at the first text that is not a number (or a count
    // out of range) and returns false; the fields before it stay applied.
    // Returns whether any property changed through changed when given.
    bool applyFields(const Fields& fields, bool* changed = nullptr);
    // Largest number of labels across or down a field may ask for.
    static constexpr int MaxCount = 999;

private:
    template <typename T> bool setPlain(T& field, T value)
    {
        if (field == value)
            return false;
        field = value;
        return true;
    }
    template <typename T> bool setDerived(T& field, T value)
    {
        if (!setPlain(field, value))
            return false;
        countSize();
        return true;
    }
};

} // namespace kv
