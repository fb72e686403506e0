#pragma once

#include <QString>
#include <functional>

namespace kv
{

class ReportDataSource;

// What an expression can read while a band is being printed.
struct ExpressionContext {
    // The cursor of a name ("TPrn"); an empty name means the driving cursor.
    std::function<const ReportDataSource*(const QString&)> source;
    int pageNumber = 0;
    int columnNumber = 0;
    QString reportTitle;
};

// Report expressions: terms joined by "+", each a quoted literal ('text', a
// doubled quote inside stands for one), a field written cursor.field or just
// field (the driving cursor), or one of PAGENUMBER, COLUMNNUMBER and
// REPORTTITLE. Example: 'Telefon     :  ' + TPrn.tel
class ReportExpression
{
public:
    // Throws Error::report for text that does not parse or names an unknown cursor.
    static QString evaluate(const QString& expression, const ExpressionContext& context);
};

} // namespace kv
