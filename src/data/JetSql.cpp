#include "data/JetSql.h"

#include "common/VbDate.h"
#include "data/EngineErrors.h"

namespace {

constexpr QChar kTextMark(0xE000); // private-use characters stand for literals in a shape
constexpr QChar kDateMark(0xE001);

bool IsIdentChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

struct Tok {
    enum Type { Ident, Number, Mark, Bracketed, Punct, Space } type;
    QStringView text;
    int literal = -1; // for Mark
};

std::vector<Tok> Tokenise(QStringView shape) {
    std::vector<Tok> out;
    int lit = 0;
    qsizetype i = 0;
    const qsizetype n = shape.size();
    while (i < n) {
        const QChar c = shape[i];
        if (c == kTextMark || c == kDateMark) {
            out.push_back({Tok::Mark, shape.mid(i, 1), lit++});
            ++i;
        } else if (c.isSpace()) {
            qsizetype k = i;
            while (k < n && shape[k].isSpace())
                ++k;
            out.push_back({Tok::Space, shape.mid(i, k - i)});
            i = k;
        } else if (c == QLatin1Char('[')) {
            const qsizetype end = shape.indexOf(QLatin1Char(']'), i);
            if (end < 0)
                throw EngineError::Syntax(QStringLiteral("Invalid bracketing of name."));
            out.push_back({Tok::Bracketed, shape.mid(i + 1, end - i - 1)});
            i = end + 1;
        } else if (c.isDigit()) {
            qsizetype k = i;
            while (k < n && (shape[k].isDigit() || shape[k] == QLatin1Char('.')))
                ++k;
            out.push_back({Tok::Number, shape.mid(i, k - i)});
            i = k;
        } else if (IsIdentChar(c)) {
            qsizetype k = i;
            while (k < n && IsIdentChar(shape[k]))
                ++k;
            out.push_back({Tok::Ident, shape.mid(i, k - i)});
            i = k;
        } else {
            qsizetype len = 1;
            if (i + 1 < n) {
                const QStringView two = shape.mid(i, 2);
                if (two == u"<=" || two == u">=" || two == u"<>" || two == u"!=")
                    len = 2;
            }
            out.push_back({Tok::Punct, shape.mid(i, len)});
            i += len;
        }
    }
    return out;
}

bool Is(const Tok& t, const char* word) {
    return (t.type == Tok::Ident) && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool IsComparison(const Tok& t) {
    if (t.type != Tok::Punct)
        return false;
    return t.text == u"=" || t.text == u"<" || t.text == u">" || t.text == u"<=" ||
           t.text == u">=" || t.text == u"<>" || t.text == u"!=";
}

bool IsName(const Tok& t) {
    return t.type == Tok::Ident || t.type == Tok::Bracketed;
}

QString Lower(QStringView v) {
    return v.toString().toLower();
}

bool IsTextType(QStringView t) {
    static const char* const kTypes[] = {"text",     "char",   "varchar", "character", "memo",
                                         "longtext", "string", "nchar",   "nvarchar"};
    for (const char* k : kTypes)
        if (t.compare(QLatin1String(k), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace

ColumnKind ColumnKindOf(QStringView declared) {
    const QString t = declared.trimmed().toString().toUpper();
    if (t.startsWith(QLatin1String("DATETIME")) || t.startsWith(QLatin1String("TIMESTAMP")))
        return ColumnKind::DateTime;
    if (t.startsWith(QLatin1String("DATE")))
        return ColumnKind::Date;
    if (t.startsWith(QLatin1String("TIME")))
        return ColumnKind::Time;
    if (t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("TEXT")) ||
        t.contains(QLatin1String("MEMO")))
        return ColumnKind::Text;
    return ColumnKind::Other;
}

JetStatement SplitJet(QStringView sql) {
    JetStatement st;
    st.shape.reserve(sql.size() < 4096 ? sql.size() : 256);
    qsizetype i = 0;
    const qsizetype n = sql.size();
    qsizetype runStart = 0;
    auto flush = [&](qsizetype upTo) { st.shape.append(sql.mid(runStart, upTo - runStart)); };
    while (i < n) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            flush(i);
            QString value;
            qsizetype k = i + 1;
            qsizetype piece = k;
            bool closed = false;
            while (k < n) {
                if (sql[k] == c) {
                    value.append(sql.mid(piece, k - piece));
                    if (k + 1 < n && sql[k + 1] == c) {
                        value.append(c);
                        k += 2;
                        piece = k;
                        continue;
                    }
                    closed = true;
                    break;
                }
                ++k;
            }
            if (!closed)
                throw EngineError::Syntax(
                    QStringLiteral("Syntax error in string in query expression."));
            st.literals.push_back({JetStatement::LiteralType::Text, std::move(value)});
            st.shape.append(kTextMark);
            i = k + 1;
            runStart = i;
        } else if (c == QLatin1Char('#')) {
            flush(i);
            const qsizetype end = sql.indexOf(QLatin1Char('#'), i + 1);
            if (end < 0)
                throw EngineError::Syntax(
                    QStringLiteral("Syntax error in date in query expression."));
            st.literals.push_back(
                {JetStatement::LiteralType::Date, sql.mid(i + 1, end - i - 1).toString()});
            st.shape.append(kDateMark);
            i = end + 1;
            runStart = i;
        } else {
            if (c == kTextMark || c == kDateMark)
                throw EngineError::Syntax(QStringLiteral("Invalid character in query expression."));
            ++i;
        }
    }
    flush(n);
    return st;
}

TranslatedStatement TranslateJet(const JetStatement& statement, const SchemaKinds& schema) {
    const std::vector<Tok> all = Tokenise(statement.shape);
    std::vector<const Tok*> t; // without spaces
    for (const Tok& tok : all)
        if (tok.type != Tok::Space)
            t.push_back(&tok);

    TranslatedStatement out;
    out.binds.assign(statement.literals.size(), BindAs::Text);
    for (size_t i = 0; i < statement.literals.size(); ++i)
        if (statement.literals[i].type == JetStatement::LiteralType::Date)
            out.binds[i] = BindAs::DateOrText;
    if (t.empty())
        throw EngineError::Syntax(QStringLiteral("Invalid SQL statement."));

    // One statement per text: nothing may follow a semicolon.
    for (size_t i = 0; i < t.size(); ++i)
        if (t[i]->type == Tok::Punct && t[i]->text == u";" && i + 1 != t.size())
            throw EngineError::Syntax(
                QStringLiteral("Characters found after end of SQL statement."));

    const bool isSelect = Is(*t[0], "select");
    out.changesSchema = Is(*t[0], "create") || Is(*t[0], "alter") || Is(*t[0], "drop");

    // The table the statement is about, for unqualified columns.
    QString table;
    if ((Is(*t[0], "insert") || Is(*t[0], "delete")) && t.size() > 2) {
        for (size_t i = 1; i + 1 < t.size(); ++i)
            if ((Is(*t[i], "into") || Is(*t[i], "from")) && IsName(*t[i + 1])) {
                table = Lower(t[i + 1]->text);
                break;
            }
    } else if (Is(*t[0], "update") && t.size() > 1) {
        table = Lower(t[1]->text);
    } else if (isSelect) {
        for (size_t i = 1; i + 1 < t.size(); ++i)
            if (Is(*t[i], "from") && IsName(*t[i + 1])) {
                table = Lower(t[i + 1]->text);
                break;
            }
    }

    auto kindOf = [&](size_t nameAt) {
        QString tab = table;
        QString col = Lower(t[nameAt]->text);
        if (nameAt >= 2 && t[nameAt - 1]->text == u"." && IsName(*t[nameAt - 2]))
            tab = Lower(t[nameAt - 2]->text);
        const auto ti = schema.constFind(tab);
        if (ti == schema.constEnd())
            return ColumnKind::Other;
        return ti->value(col, ColumnKind::Other);
    };
    auto apply = [&](const Tok* mark, ColumnKind kind) {
        if (mark->type != Tok::Mark || out.binds[mark->literal] != BindAs::Text)
            return;
        if (kind == ColumnKind::Date || kind == ColumnKind::DateTime)
            out.binds[mark->literal] = BindAs::TextToDate;
        else if (kind == ColumnKind::Time)
            out.binds[mark->literal] = BindAs::TextToTime;
    };

    // insert into T (c1, c2) values (v1, v2)
    if (Is(*t[0], "insert")) {
        std::vector<size_t> columns;
        size_t i = 0;
        while (i < t.size() && t[i]->text != u"(")
            ++i;
        for (++i; i < t.size() && t[i]->text != u")"; ++i)
            if (IsName(*t[i]))
                columns.push_back(i);
        while (i < t.size() && !Is(*t[i], "values"))
            ++i;
        if (i + 1 < t.size() && t[i + 1]->text == u"(") {
            size_t column = 0;
            int depth = 0;
            std::vector<const Tok*> expr;
            for (size_t k = i + 2; k < t.size(); ++k) {
                const Tok* tok = t[k];
                const bool end = depth == 0 && (tok->text == u"," || tok->text == u")");
                if (end) {
                    if (expr.size() == 1 && column < columns.size())
                        apply(expr[0], kindOf(columns[column]));
                    expr.clear();
                    ++column;
                    if (tok->text == u")")
                        break;
                    continue;
                }
                if (tok->text == u"(")
                    ++depth;
                if (tok->text == u")")
                    --depth;
                expr.push_back(tok);
            }
        }
    }

    // column <op> literal, literal <op> column, column [not] between a and b, column in (...)
    for (size_t i = 0; i < t.size(); ++i) {
        if (IsComparison(*t[i]) && i > 0 && i + 1 < t.size()) {
            if (IsName(*t[i - 1]) && t[i + 1]->type == Tok::Mark)
                apply(t[i + 1], kindOf(i - 1));
            else if (t[i - 1]->type == Tok::Mark && IsName(*t[i + 1]))
                apply(t[i - 1], kindOf(i + 1));
        } else if (Is(*t[i], "between") || Is(*t[i], "in")) {
            // The column before [not] between / in.
            if (i == 0)
                continue;
            size_t name = i - 1;
            if (Is(*t[name], "not") && name > 0)
                --name;
            if (!IsName(*t[name]))
                continue;
            const ColumnKind kind = kindOf(name);
            if (Is(*t[i], "between")) {
                if (i + 1 < t.size())
                    apply(t[i + 1], kind);
                if (i + 3 < t.size() && Is(*t[i + 2], "and"))
                    apply(t[i + 3], kind);
            } else if (i + 1 < t.size() && t[i + 1]->text == u"(") {
                for (size_t k = i + 2; k < t.size() && t[k]->text != u")"; ++k)
                    apply(t[k], kind);
            }
        }
    }

    // Rebuild the text: literals become numbered parameters, [names] quoted names, and text
    // columns made by DDL compare without letter case like the rest of the schema.
    QString& sql = out.sqlite;
    sql.reserve(statement.shape.size() + 16);
    for (size_t i = 0; i < all.size(); ++i) {
        const Tok& tok = all[i];
        switch (tok.type) {
        case Tok::Mark:
            sql += QLatin1Char('?') + QString::number(tok.literal + 1);
            break;
        case Tok::Bracketed:
            sql += QLatin1Char('"') +
                   tok.text.toString().replace(QLatin1String("\""), QLatin1String("\"\"")) +
                   QLatin1Char('"');
            break;
        default:
            if (tok.type == Tok::Punct && tok.text == u";")
                break;
            sql += tok.text;
        }
        if (out.changesSchema && tok.type == Tok::Ident && IsTextType(tok.text) && i > 0) {
            // Keep a length in parentheses with its type.
            size_t k = i + 1;
            while (k < all.size() && all[k].type == Tok::Space)
                ++k;
            if (k < all.size() && all[k].text == u"(") {
                while (k < all.size() && all[k].text != u")")
                    ++k;
                for (size_t j = i + 1; j <= k && j < all.size(); ++j)
                    sql += all[j].text;
                i = k;
            }
            bool hasCollate = false;
            for (size_t j = i + 1; j < all.size() && all[j].text != u"," && all[j].text != u")";
                 ++j)
                if (Is(all[j], "collate"))
                    hasCollate = true;
            if (!hasCollate)
                sql += QStringLiteral(" COLLATE NOCASE");
        }
    }
    return out;
}

QString BindValue(const JetStatement::Literal& literal, BindAs how) {
    if (how == BindAs::Text)
        return literal.value;
    const auto read = ReadDate(literal.value);
    if (!read) {
        if (how == BindAs::DateOrText)
            throw EngineError::Syntax(
                QStringLiteral("Syntax error in date in query expression '#") + literal.value +
                QStringLiteral("#'."));
        throw EngineError::TypeMismatch();
    }
    VbDateTime v = *read;
    if (how == BindAs::TextToTime && v.hasTime)
        v.hasDate = false;
    return IsoText(v);
}
