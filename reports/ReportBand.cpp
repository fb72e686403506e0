#include "reports/ReportBand.h"

namespace kv
{

ReportBox& ReportBand::addBox(ReportBox box)
{
    m_boxes.push_back(std::make_unique<ReportBox>(std::move(box)));
    return *m_boxes.back();
}

ReportBox& ReportBand::addText(const QString& name, const QRectF& rect, const QString& text)
{
    ReportBox b;
    b.name = name;
    b.rect = rect;
    b.text = text;
    return addBox(std::move(b));
}

ReportBox& ReportBand::addField(const QString& name, const QRectF& rect, const QString& source,
                                const QString& field)
{
    ReportBox b;
    b.name = name;
    b.kind = ReportBox::Kind::Field;
    b.rect = rect;
    b.source = source;
    b.field = field;
    return addBox(std::move(b));
}

ReportBox& ReportBand::addExpression(const QString& name, const QRectF& rect,
                                     const QString& expression)
{
    ReportBox b;
    b.name = name;
    b.kind = ReportBox::Kind::Expression;
    b.rect = rect;
    b.expression = expression;
    return addBox(std::move(b));
}

ReportBox& ReportBand::addPicture(const QString& name, const QRectF& rect, const QImage& picture)
{
    ReportBox b;
    b.name = name;
    b.kind = ReportBox::Kind::Picture;
    b.rect = rect;
    b.picture = picture;
    return addBox(std::move(b));
}

ReportBox* ReportBand::box(const QString& name) const
{
    for (const auto& b : m_boxes) {
        if (b->name == name)
            return b.get();
    }
    return nullptr;
}

} // namespace kv
