#include "engine/JetDialect.h"

#include "core/Error.h"
#include "engine/CzechText.h"
#include "engine/Filter.h"
#include "engine/NumberSetFunction.h"
#include "engine/PgSqlForm.h"
#include "engine/Schema.h"

#include <QRegularExpression>
#include <algorithm>
#include <functional>
#include <limits>

namespace kv::engine
{

namespace
{

enum class Tok { Ident, Number, String, Symbol, Set, End };

struct Token {
    Tok type;
    QString text;      // identifiers as written, symbols, unquoted text literals
    qint64 number = 0; // numbers
};

// IN lists longer than this go to SQLite as a temporary table: parsing a
// hundred thousand literals costs SQLite more than loading them.
constexpr size_t kSetThreshold = 64;
// Longer still, and probing the table once per number costs more than one
// pass over it testing each row against the sorted numbers (kv_in_set).
constexpr size_t kScanThreshold = 50000;

// SQLite refuses an expression tree higher than 1000 nodes and a statement
// whose parentheses nest past its parser stack (about a hundred levels).
// Translations are measured and refused above these bounds instead.
constexpr int kMaxHeight = 900;
constexpr int kMaxParens = 60;
// Chains of AND or OR longer than this are grouped into a balanced tree, so
// a selection of thousands of alternatives stays a few levels high.
constexpr qsizetype kFlatChain = 16;

// A piece of translated SQL with the height of its expression tree and the
// depth of its parentheses.
struct Sql {
    QString text;
    int height = 1;
    int parens = 0;
};

Sql grouped(const Sql& inner)
{
    return {u'(' + inner.text + u')', inner.height, inner.parens + 1};
}

// Joins the terms of one chain; long chains as a balanced tree of groups.
Sql chain(const std::vector<Sql>& terms, qsizetype from, qsizetype to, const QString& op)
{
    const qsizetype count = to - from;
    if (count == 1)
        return terms[size_t(from)];
    if (count <= kFlatChain) {
        Sql out = terms[size_t(from)];
        for (qsizetype i = from + 1; i < to; ++i) {
            const Sql& t = terms[size_t(i)];
            out.text += op + t.text;
            out.height = std::max(out.height, t.height);
            out.parens = std::max(out.parens, t.parens);
        }
        out.height += int(count - 1);
        return out;
    }
    const qsizetype mid = from + count / 2;
    const Sql left = grouped(chain(terms, from, mid, op));
    const Sql right = grouped(chain(terms, mid, to, op));
    return {left.text + op + right.text, std::max(left.height, right.height) + 1,
            std::max(left.parens, right.parens)};
}

[[noreturn]] void reject(const QString& what, const QString& input)
{
    QString shown = input.simplified();
    if (shown.size() > 120)
        shown = shown.left(117) + QStringLiteral("...");
    throw Error::engine(QStringLiteral("Rejected query text (%1): %2").arg(what, shown));
}

std::vector<Token> tokenize(const QString& in)
{
    std::vector<Token> out;
    // A filter of the selection may list half a million numbers: one token
    // per few characters, reserved at once rather than moved ten times over.
    out.reserve(size_t(in.size() / 4) + 8);
    const qsizetype n = in.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = in[i];
        if (c.isSpace()) {
            ++i;
        } else if (c.isLetter() || c == u'_') {
            const qsizetype s = i;
            while (i < n && (in[i].isLetterOrNumber() || in[i] == u'_'))
                ++i;
            out.push_back({Tok::Ident, in.mid(s, i - s)});
        } else if (c >= u'0' && c <= u'9') {
            quint64 v = 0;
            while (i < n && in[i] >= u'0' && in[i] <= u'9') {
                v = v * 10 + quint64(in[i].unicode() - u'0');
                if (v > quint64(std::numeric_limits<qint64>::max()))
                    reject(QStringLiteral("number out of range"), in);
                ++i;
            }
            if (i < n && (in[i].isLetter() || in[i] == u'.' || in[i] == u'_'))
                reject(QStringLiteral("malformed number"), in);
            out.push_back({Tok::Number, QString(), qint64(v)});
        } else if (c == u'\'') {
            QString lit;
            ++i;
            for (;;) {
                if (i >= n)
                    reject(QStringLiteral("unterminated quote"), in);
                if (in[i] == u'\'') {
                    if (i + 1 < n && in[i + 1] == u'\'') {
                        lit += u'\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                lit += in[i++];
            }
            out.push_back({Tok::String, lit});
        } else if (c == QChar(Filter::kSetOpen)) {
            // A carried number list: its index between the two markers.
            qint64 index = 0;
            const qsizetype from = ++i;
            while (i < n && in[i] >= u'0' && in[i] <= u'9' && i - from < 9)
                index = index * 10 + (in[i++].unicode() - u'0');
            if (i == from || i >= n || in[i] != QChar(Filter::kSetClose))
                reject(QStringLiteral("malformed number list marker"), in);
            ++i;
            out.push_back({Tok::Set, QString(), index});
        } else if (c == u'<' || c == u'>') {
            QString sym(c);
            ++i;
            if (i < n && (in[i] == u'=' || (c == u'<' && in[i] == u'>')))
                sym += in[i++];
            out.push_back({Tok::Symbol, sym});
        } else if (c == u'(' || c == u')' || c == u',' || c == u'=' || c == u'*' || c == u'-') {
            out.push_back({Tok::Symbol, QString(c)});
            ++i;
        } else {
            reject(QStringLiteral("unexpected character '%1'").arg(c), in);
        }
    }
    out.push_back({Tok::End, QString()});
    return out;
}

const QStringList& keywords()
{
    static const QStringList k{"and",      "or",   "not",   "in",    "is", "null", "like", "select",
                               "distinct", "from", "where", "order", "by", "desc", "asc"};
    return k;
}

class Parser
{
public:
    Parser(const QString& input, const TableInfo* table, QString prefix, SqlForm form,
           const std::vector<Filter::SharedNumbers>* carried = nullptr)
        : m_input(input), m_tokens(tokenize(input)), m_table(table), m_prefix(std::move(prefix)),
          m_form(form), m_carried(carried)
    {
    }

    Translated parseFilter()
    {
        Translated t;
        t.sql = checked(expression()).text;
        expectEnd();
        t.params = std::move(m_params);
        t.sets = std::move(m_sets);
        return t;
    }

    Translated parseSelect()
    {
        expectKeyword("select");
        QString sql = QStringLiteral("SELECT ");
        if (acceptKeyword("distinct"))
            sql += QStringLiteral("DISTINCT ");
        // Field names are checked once the table is known.
        QStringList items;
        bool star = false;
        if (acceptSymbol("*")) {
            star = true;
        } else {
            do {
                const bool paren = acceptSymbol("(");
                items << identifier();
                if (paren)
                    expectSymbol(")");
            } while (acceptSymbol(","));
        }
        expectKeyword("from");
        m_table = &JetDialect::knownTable(identifier());
        if (star) {
            sql += u'*';
        } else {
            QStringList cols;
            for (const QString& it : items)
                cols << JetDialect::quoted(JetDialect::knownField(*m_table, it).name);
            sql += cols.join(QStringLiteral(", "));
        }
        sql += QStringLiteral(" FROM ") + JetDialect::quoted(m_table->name);
        if (acceptKeyword("where"))
            sql += QStringLiteral(" WHERE ") + checked(expression()).text;
        if (acceptKeyword("order")) {
            expectKeyword("by");
            QStringList terms;
            do {
                const FieldInfo& f = JetDialect::knownField(*m_table, identifier());
                bool desc = false;
                if (acceptKeyword("desc"))
                    desc = true;
                else
                    acceptKeyword("asc");
                terms << JetDialect::orderTerm(f, desc, QString(), m_form);
            } while (acceptSymbol(","));
            sql += QStringLiteral(" ORDER BY ") + terms.join(QStringLiteral(", "));
        }
        expectEnd();
        return {sql, std::move(m_params), std::move(m_sets)};
    }

private:
    const Token& peek() const { return m_tokens[m_pos]; }
    bool isKeyword(const char* kw) const
    {
        return peek().type == Tok::Ident &&
               peek().text.compare(QLatin1String(kw), Qt::CaseInsensitive) == 0;
    }
    bool acceptKeyword(const char* kw)
    {
        if (!isKeyword(kw))
            return false;
        ++m_pos;
        return true;
    }
    void expectKeyword(const char* kw)
    {
        if (!acceptKeyword(kw))
            fail(QStringLiteral("expected %1").arg(QLatin1String(kw).toString().toUpper()));
    }
    bool acceptSymbol(const char* s)
    {
        if (peek().type != Tok::Symbol || peek().text != QLatin1String(s))
            return false;
        ++m_pos;
        return true;
    }
    void expectSymbol(const char* s)
    {
        if (!acceptSymbol(s))
            fail(QStringLiteral("expected '%1'").arg(QLatin1String(s)));
    }
    void expectEnd()
    {
        if (peek().type != Tok::End)
            fail(QStringLiteral("unexpected '%1'").arg(peek().text));
    }
    [[noreturn]] void fail(const QString& what) const { reject(what, m_input); }

    QString identifier()
    {
        if (peek().type != Tok::Ident || keywords().contains(peek().text, Qt::CaseInsensitive))
            fail(QStringLiteral("expected a name instead of '%1'").arg(peek().text));
        return m_tokens[m_pos++].text;
    }

    QString field()
    {
        return m_prefix + JetDialect::quoted(JetDialect::knownField(*m_table, identifier()).name);
    }

    qint64 numberValue()
    {
        const bool negative = acceptSymbol("-");
        if (peek().type != Tok::Number)
            fail(QStringLiteral("expected a number instead of '%1'").arg(peek().text));
        const qint64 v = m_tokens[m_pos++].number;
        return negative ? -v : v;
    }

    QString number() { return QString::number(numberValue()); }

    // Binds value as the next parameter and returns its mark.
    QString bound(const QVariant& value)
    {
        m_params << value;
        return JetDialect::parameter(m_form, int(m_params.size()));
    }

    bool postgres() const { return m_form == SqlForm::Postgres; }

    QString literal()
    {
        if (peek().type == Tok::String)
            return bound(QVariant(m_tokens[m_pos++].text));
        return number();
    }

    QString operand()
    {
        if (peek().type == Tok::Ident)
            return field();
        return literal();
    }

    Sql checked(const Sql& sql) const
    {
        if (sql.height > kMaxHeight || sql.parens > kMaxParens)
            fail(QStringLiteral("nested too deeply"));
        return sql;
    }

    Sql expression()
    {
        // Parentheses recurse; the bound keeps the parser's own stack small.
        if (++m_depth > kMaxParens)
            fail(QStringLiteral("nested too deeply"));
        std::vector<Sql> terms{conjunction()};
        while (acceptKeyword("or"))
            terms.push_back(conjunction());
        --m_depth;
        return checked(chain(terms, 0, qsizetype(terms.size()), QStringLiteral(" OR ")));
    }

    Sql conjunction()
    {
        std::vector<Sql> terms{negation()};
        while (acceptKeyword("and"))
            terms.push_back(negation());
        return checked(chain(terms, 0, qsizetype(terms.size()), QStringLiteral(" AND ")));
    }

    Sql negation()
    {
        // Counted, not recursed: a long run of NOTs must not exhaust the
        // stack, and two of them cancel.
        int nots = 0;
        while (acceptKeyword("not"))
            ++nots;
        Sql s = predicate();
        if (nots % 2)
            s = {QStringLiteral("NOT ") + s.text, s.height + 1, s.parens};
        return s;
    }

    Sql predicate()
    {
        if (acceptSymbol("(")) {
            const Sql inner = expression();
            expectSymbol(")");
            return grouped(inner);
        }
        return {comparison(), 2, 0};
    }

    QString comparison()
    {
        const QString left = operand();
        bool negated = false;
        if (acceptKeyword("not"))
            negated = true;
        const QString neg = negated ? QStringLiteral("NOT ") : QString();
        if (acceptKeyword("in")) {
            const QString list = inList();
            if (postgres() && list == QLatin1String("()")) // PostgreSQL has no empty list
                return negated ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
            if (m_array) {
                m_array = false;
                const QString test = left + QStringLiteral(" = any(") + list + u')';
                return negated ? QStringLiteral("NOT (") + test + u')' : test;
            }
            if (!m_sets.empty() && m_sets.back().param == -1) {
                m_params << QVariant(); // the set's own parameter, bound by BoundStatement
                m_sets.back().param = int(m_params.size());
                return neg + QLatin1String(NumberSetFunction::name) + u'(' + left +
                       QStringLiteral(", ?)");
            }
            return left + u' ' + neg + QStringLiteral("IN ") + list;
        }
        if (acceptKeyword("like")) {
            if (peek().type != Tok::String)
                fail(QStringLiteral("LIKE needs a quoted pattern"));
            if (postgres())
                return neg +
                       PgSqlForm::like(left, bound(PgSqlForm::likePattern(m_tokens[m_pos++].text)));
            m_params << QVariant(m_tokens[m_pos++].text);
            return neg + QLatin1String(CzechText::likeFunction) + QStringLiteral("(?, ") + left +
                   u')';
        }
        if (negated)
            fail(QStringLiteral("expected IN or LIKE after NOT"));
        if (acceptKeyword("is")) {
            const bool isNot = acceptKeyword("not");
            expectKeyword("null");
            return left + (isNot ? QStringLiteral(" IS NOT NULL") : QStringLiteral(" IS NULL"));
        }
        static const char* ops[] = {"=", "<>", "<=", ">=", "<", ">"};
        for (const char* op : ops)
            if (acceptSymbol(op))
                return left + u' ' + QLatin1String(op) + u' ' + operand();
        fail(QStringLiteral("expected a condition after '%1'").arg(m_tokens[m_pos - 1].text));
    }

    QString inList()
    {
        expectSymbol("(");
        std::vector<qint64> numbers;
        std::vector<bool> isText; // texts are bound in order and written as their marks
        QStringList textMarks;
        if (peek().type == Tok::Set) {
            numbers = carriedList(m_tokens[m_pos++].number);
            isText.assign(numbers.size(), false);
            expectSymbol(")");
        } else if (!acceptSymbol(")")) {
            do {
                if (peek().type == Tok::String) {
                    textMarks.push_back(bound(QVariant(m_tokens[m_pos++].text)));
                    numbers.push_back(0);
                    isText.push_back(true);
                } else {
                    numbers.push_back(numberValue());
                    isText.push_back(false);
                }
            } while (acceptSymbol(","));
            expectSymbol(")");
        }
        const bool anyText = std::find(isText.begin(), isText.end(), true) != isText.end();
        if (postgres() && !anyText && numbers.size() > kSetThreshold) {
            // One array parameter, however long: the server reads it at once.
            m_array = true;
            return bound(PgSqlForm::numberArray(numbers)) + QStringLiteral("::bigint[]");
        }
        if (!anyText && numbers.size() > kScanThreshold) {
            if (!std::is_sorted(numbers.begin(), numbers.end()))
                std::sort(numbers.begin(), numbers.end());
            numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
            m_sets.push_back({QString(), std::move(numbers), -1}); // param set by predicate()
            return QString();
        }
        if (!anyText && numbers.size() > kSetThreshold) {
            static quint64 serial = 0;
            IntSet set{QStringLiteral("kv_set_%1").arg(++serial), std::move(numbers)};
            const QString sql = QStringLiteral("(SELECT n FROM temp.%1)").arg(set.table);
            m_sets.push_back(std::move(set));
            return sql;
        }
        QString s = QStringLiteral("(");
        qsizetype text = 0;
        for (size_t i = 0; i < numbers.size(); ++i) {
            if (i)
                s += u',';
            s += isText[i] ? textMarks[text++] : QString::number(numbers[i]);
        }
        return s + u')';
    }

    // The numbers of a carried list, sorted and without repeats as the
    // number sets need them (a list in another order is sorted in a copy).
    std::vector<qint64> carriedList(qint64 index) const
    {
        if (!m_carried || index < 0 || size_t(index) >= m_carried->size() ||
            !(*m_carried)[size_t(index)])
            fail(QStringLiteral("no number list %1").arg(index));
        std::vector<qint64> numbers = *(*m_carried)[size_t(index)];
        const auto ordered = [](const std::vector<qint64>& v) {
            return std::adjacent_find(v.begin(), v.end(), std::greater_equal<qint64>()) == v.end();
        };
        if (!ordered(numbers)) {
            std::sort(numbers.begin(), numbers.end());
            numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
        }
        return numbers;
    }

    const QString& m_input;
    std::vector<Token> m_tokens;
    size_t m_pos = 0;
    const TableInfo* m_table;
    QString m_prefix;
    SqlForm m_form;
    bool m_array = false; // inList() gave an array parameter
    QVariantList m_params;
    std::vector<IntSet> m_sets;
    int m_depth = 0;
    const std::vector<Filter::SharedNumbers>* m_carried;
};

} // namespace

const TableInfo& JetDialect::knownTable(const QString& name)
{
    const TableInfo* t = Schema::table(name);
    if (!t)
        throw Error::engine(QStringLiteral("Unknown table: %1").arg(name));
    return *t;
}

const FieldInfo& JetDialect::knownField(const TableInfo& table, const QString& name)
{
    const FieldInfo* f = table.field(name);
    if (!f)
        throw Error::engine(QStringLiteral("Unknown field %1 in table %2").arg(name, table.name));
    return *f;
}

Translated JetDialect::filter(const QString& table, const QString& expression,
                              const QString& prefix, SqlForm form)
{
    return Parser(expression, &knownTable(table), prefix, form).parseFilter();
}

Translated JetDialect::filter(const QString& table, const Filter& filter, const QString& prefix,
                              SqlForm form)
{
    if (!filter.hasSets())
        return JetDialect::filter(table, filter.skeleton(), prefix, form);
    return Parser(filter.skeleton(), &knownTable(table), prefix, form, &filter.sets())
        .parseFilter();
}

Translated JetDialect::select(const QString& statement, SqlForm form)
{
    return Parser(statement, nullptr, QString(), form).parseSelect();
}

std::vector<SortTerm> JetDialect::sortList(const QString& table, const QString& sort)
{
    const TableInfo& t = knownTable(table);
    std::vector<SortTerm> out;
    for (const QString& part : sort.split(QRegularExpression(QStringLiteral("[,;]")))) {
        const QStringList words = part.simplified().split(u' ', Qt::SkipEmptyParts);
        if (words.isEmpty())
            continue;
        SortTerm term{knownField(t, words[0]).name, false};
        if (words.size() == 2 && words[1].compare(QLatin1String("desc"), Qt::CaseInsensitive) == 0)
            term.descending = true;
        else if (words.size() > 2 ||
                 (words.size() == 2 && words[1].compare(QLatin1String("asc"), Qt::CaseInsensitive)))
            throw Error::engine(QStringLiteral("Rejected sort list: %1").arg(sort));
        out.push_back(term);
    }
    return out;
}

QString JetDialect::orderTerm(const FieldInfo& field, bool descending, const QString& prefix,
                              SqlForm form)
{
    QString s = prefix + quoted(field.name);
    const bool text = field.kind == FieldKind::Text || field.kind == FieldKind::Memo;
    if (form == SqlForm::Postgres)
        return PgSqlForm::orderTerm(s, text, descending);
    if (text)
        s += QStringLiteral(" COLLATE ") + QLatin1String(CzechText::collationName);
    if (descending)
        s += QStringLiteral(" DESC");
    return s;
}

QString JetDialect::parameter(SqlForm form, int index)
{
    return form == SqlForm::Postgres ? u'$' + QString::number(index) : QStringLiteral("?");
}

QString JetDialect::likePattern(const QString& jetPattern)
{
    return PgSqlForm::likePattern(jetPattern);
}

} // namespace kv::engine
