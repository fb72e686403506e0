#include "reports/ReportExpression.h"

#include "core/Error.h"
#include "reports/ReportDataSource.h"

namespace kv
{

namespace
{

class Parser
{
public:
    Parser(const QString& text, const ExpressionContext& context) : m_s(text), m_ctx(context) {}

    QString run()
    {
        QString out;
        skipBlanks();
        if (atEnd())
            return out;
        for (;;) {
            out += term();
            skipBlanks();
            if (atEnd())
                return out;
            if (m_s[m_i] != u'+')
                fail(QStringLiteral("'+' expected"));
            ++m_i;
            skipBlanks();
        }
    }

private:
    bool atEnd() const { return m_i >= m_s.size(); }
    void skipBlanks()
    {
        while (!atEnd() && m_s[m_i].isSpace())
            ++m_i;
    }
    [[noreturn]] void fail(const QString& what) const
    {
        throw Error::report(
            QStringLiteral("Expression \"%1\": %2 at position %3").arg(m_s, what).arg(m_i + 1));
    }

    QString term()
    {
        if (atEnd())
            fail(QStringLiteral("term expected"));
        if (m_s[m_i] == u'\'')
            return literal();
        if (m_s[m_i].isLetter() || m_s[m_i] == u'_')
            return name();
        fail(QStringLiteral("unexpected '%1'").arg(m_s[m_i]));
    }

    QString literal()
    {
        QString out;
        ++m_i;
        for (;;) {
            if (atEnd())
                fail(QStringLiteral("unterminated text"));
            const QChar c = m_s[m_i++];
            if (c != u'\'') {
                out += c;
            } else if (!atEnd() && m_s[m_i] == u'\'') {
                out += c;
                ++m_i;
            } else {
                return out;
            }
        }
    }

    QString identifier()
    {
        const qsizetype start = m_i;
        while (!atEnd() && (m_s[m_i].isLetterOrNumber() || m_s[m_i] == u'_'))
            ++m_i;
        return m_s.mid(start, m_i - start);
    }

    QString name()
    {
        const QString first = identifier();
        QString cursor;
        QString field = first;
        if (!atEnd() && m_s[m_i] == u'.') {
            ++m_i;
            cursor = first;
            field = identifier();
            if (field.isEmpty())
                fail(QStringLiteral("field name expected"));
        } else {
            const QString upper = first.toUpper();
            if (upper == u"PAGENUMBER" || upper == u"COLUMNNUMBER" || upper == u"REPORTTITLE") {
                skipCall();
                if (upper == u"PAGENUMBER")
                    return QString::number(m_ctx.pageNumber);
                if (upper == u"COLUMNNUMBER")
                    return QString::number(m_ctx.columnNumber);
                return m_ctx.reportTitle;
            }
        }
        const ReportDataSource* src = m_ctx.source ? m_ctx.source(cursor) : nullptr;
        if (!src)
            fail(QStringLiteral("unknown cursor \"%1\"").arg(cursor));
        return src->value(field).toString();
    }

    // Functions may be written with an empty argument list.
    void skipCall()
    {
        qsizetype j = m_i;
        while (j < m_s.size() && m_s[j].isSpace())
            ++j;
        if (j < m_s.size() && m_s[j] == u'(') {
            ++j;
            while (j < m_s.size() && m_s[j].isSpace())
                ++j;
            if (j < m_s.size() && m_s[j] == u')')
                m_i = j + 1;
        }
    }

    const QString& m_s;
    const ExpressionContext& m_ctx;
    qsizetype m_i = 0;
};

} // namespace

QString ReportExpression::evaluate(const QString& expression, const ExpressionContext& context)
{
    return Parser(expression, context).run();
}

} // namespace kv
