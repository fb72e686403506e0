#include "engine/PgSqlForm.h"

#include "engine/PgCzechCollation.h"

namespace kv::engine
{

QString PgSqlForm::numberArray(const std::vector<qint64>& numbers)
{
    QString array;
    array.reserve(qsizetype(numbers.size()) * 8 + 2);
    array += u'{';
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (i)
            array += u',';
        array += QString::number(numbers[i]);
    }
    return array + u'}';
}

QString PgSqlForm::like(const QString& field, const QString& mark)
{
    return QStringLiteral("lower(%1) LIKE lower(%2::text %3)")
        .arg(field, mark, PgCzechCollation::clause());
}

QString PgSqlForm::likePattern(const QString& jetPattern)
{
    QString out;
    out.reserve(jetPattern.size() + 4);
    for (const QChar c : jetPattern) {
        if (c == u'*')
            out += u'%';
        else if (c == u'?')
            out += u'_';
        else if (c == u'%' || c == u'_' || c == u'\\')
            out += u'\\' + QString(c);
        else
            out += c;
    }
    return out;
}

QString PgSqlForm::orderTerm(const QString& field, bool text, bool descending)
{
    QString s = field;
    if (text)
        s += u' ' + PgCzechCollation::clause();
    return s + (descending ? QStringLiteral(" DESC NULLS LAST") : QStringLiteral(" NULLS FIRST"));
}

} // namespace kv::engine
