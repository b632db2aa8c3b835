#include "passwordmask.h"

#include <QList>
#include <algorithm>

namespace {

const QString kMask = QStringLiteral("****");
const QString kQuotedMask = QStringLiteral("'****'");

bool isNameChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }
bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

// The end of the quoted text whose opening apostrophe is at `open`: the index
// after its closing apostrophe, or the end of `s` when it is not closed.
qsizetype quotedEnd(const QString &s, qsizetype open)
{
    qsizetype i = open + 1;
    while (i < s.size()) {
        if (s[i] == QLatin1Char('\'')) {
            if (i + 1 < s.size() && s[i + 1] == QLatin1Char('\'')) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return s.size();
}

// ------------------------------------------------------------------ connect texts

// The length of "PWD=" or "PASSWORD=" (any case, blanks around "=") at `i`; 0 when there is none.
qsizetype connectKeyAt(const QString &s, qsizetype i)
{
    if (i > 0 && isNameChar(s[i - 1]))
        return 0;
    for (QLatin1StringView key : {QLatin1StringView("PASSWORD"), QLatin1StringView("PWD")}) {
        if (QStringView(s).mid(i, key.size()).compare(key, Qt::CaseInsensitive) != 0)
            continue;
        qsizetype j = i + key.size();
        if (j < s.size() && isNameChar(s[j]))
            continue;
        while (j < s.size() && isBlank(s[j]))
            ++j;
        if (j >= s.size() || s[j] != QLatin1Char('=') || (j + 1 < s.size() && s[j + 1] == QLatin1Char('=')))
            continue;
        ++j;
        while (j < s.size() && isBlank(s[j]))
            ++j;
        return j - i;
    }
    return 0;
}

// The end of a connect value starting at `j`. Inside a quoted SQL text the
// value also ends where the quoted text does: at an apostrophe that is not
// doubled and is followed by what may follow a quoted value (the end, a blank,
// ",", ")" or ";"), so that an apostrophe of a plain connect text taken for a
// quote ("DSN=O'Neil;PWD=a'b") does not end the value early.
qsizetype connectValueEnd(const QString &s, qsizetype j, bool quoted)
{
    const qsizetype n = s.size();
    auto closesQuote = [&](qsizetype k) {
        if (!quoted || s[k] != QLatin1Char('\''))
            return false;
        if (k + 1 >= n)
            return true;
        const QChar after = s[k + 1];
        return after.isSpace() || after == QLatin1Char(',') || after == QLatin1Char(')') || after == QLatin1Char(';');
    };
    auto doubledQuote = [&](qsizetype k) {
        return quoted && s[k] == QLatin1Char('\'') && k + 1 < n && s[k + 1] == QLatin1Char('\'');
    };
    qsizetype k = j;
    if (k < n && s[k] == QLatin1Char('{')) { // up to the closing brace; "}}" stands for one
        ++k;
        while (k < n) {
            if (s[k] == QLatin1Char('}')) {
                if (k + 1 < n && s[k + 1] == QLatin1Char('}')) {
                    k += 2;
                    continue;
                }
                return k + 1;
            }
            if (closesQuote(k))
                return k;
            k += doubledQuote(k) ? 2 : 1;
        }
        return n;
    }
    while (k < n) {
        const QChar c = s[k];
        if (c == QLatin1Char(';') || c == QLatin1Char('\r') || c == QLatin1Char('\n') || closesQuote(k))
            return k;
        k += doubledQuote(k) ? 2 : 1;
    }
    return n;
}

QString maskConnectValues(const QString &s)
{
    QString out;
    out.reserve(s.size());
    bool quoted = false;
    qsizetype i = 0;
    while (i < s.size()) {
        const QChar c = s[i];
        if (c == QLatin1Char('\'')) {
            if (quoted && i + 1 < s.size() && s[i + 1] == QLatin1Char('\'')) {
                out += QStringLiteral("''");
                i += 2;
                continue;
            }
            quoted = !quoted;
            out += c;
            ++i;
            continue;
        }
        if (const qsizetype key = connectKeyAt(s, i)) {
            out += QStringView(s).mid(i, key);
            const qsizetype value = i + key;
            if (!quoted && value < s.size() && s[value] == QLatin1Char('\'')) {
                // "PASSWORD = 'x'" outside quotes: the quoted value.
                out += kQuotedMask;
                i = quotedEnd(s, value);
            } else {
                out += kMask;
                i = connectValueEnd(s, value, quoted);
            }
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

// ------------------------------------------------------------------ statements

enum class Kind { Space, Quoted, Word, Punct };

struct Token
{
    Kind kind;
    qsizetype start, end;
    QString name;   // a word: upper case, without its qualifier and quotes
    bool lineBreak; // a space: holds a line break
};

bool isPunct(QChar c)
{
    return c == QLatin1Char('(') || c == QLatin1Char(')') || c == QLatin1Char(',') || c == QLatin1Char(';') ||
           c == QLatin1Char('=');
}

QString wordName(QStringView text)
{
    const qsizetype dot = text.lastIndexOf(QLatin1Char('.'));
    QStringView name = dot >= 0 ? text.mid(dot + 1) : text;
    while (!name.isEmpty() && (name.front() == QLatin1Char('"') || name.front() == QLatin1Char('[')))
        name = name.mid(1);
    while (!name.isEmpty() && (name.back() == QLatin1Char('"') || name.back() == QLatin1Char(']')))
        name.chop(1);
    return name.toString().toUpper();
}

QList<Token> tokenize(const QString &s)
{
    QList<Token> tokens;
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = s[i];
        Token t{Kind::Word, i, i + 1, {}, false};
        if (c.isSpace()) {
            t.kind = Kind::Space;
            while (t.end < n && s[t.end].isSpace())
                ++t.end;
            const QStringView space = QStringView(s).mid(i, t.end - i);
            t.lineBreak = space.contains(QLatin1Char('\n')) || space.contains(QLatin1Char('\r'));
        } else if (c == QLatin1Char('\'')) {
            t.kind = Kind::Quoted;
            t.end = quotedEnd(s, i);
        } else if (isPunct(c)) {
            t.kind = Kind::Punct;
        } else {
            // A word, possibly qualified or in double quotes ("USER_PASSWORD").
            bool inQuotes = c == QLatin1Char('"');
            while (t.end < n) {
                const QChar d = s[t.end];
                if (d == QLatin1Char('"'))
                    inQuotes = !inQuotes;
                else if (!inQuotes && (d.isSpace() || d == QLatin1Char('\'') || isPunct(d)))
                    break;
                ++t.end;
            }
            t.name = wordName(QStringView(s).mid(i, t.end - i));
        }
        tokens.append(t);
        i = t.end;
    }
    return tokens;
}

bool isPasswordColumn(const Token &t)
{
    return t.kind == Kind::Word &&
           (t.name == QLatin1String("USER_PASSWORD") || t.name == QLatin1String("DATABASE_PASSWORD"));
}

class StatementMasker
{
public:
    explicit StatementMasker(const QString &s) : m_s(s), m_tokens(tokenize(s)) {}

    QString run()
    {
        for (qsizetype i = 0; i < m_tokens.size(); ++i) {
            if (isPasswordColumn(m_tokens[i]))
                assignment(i);
            else if (isWord(i, "INSERT"))
                insert(i);
        }
        if (m_spans.isEmpty())
            return m_s;
        std::sort(m_spans.begin(), m_spans.end());
        QString out;
        qsizetype t = 0;
        for (qsizetype k = 0; k < m_spans.size(); ++k) {
            auto [first, last] = m_spans[k];
            if (first < t) // inside a span already masked
                continue;
            while (k + 1 < m_spans.size() && m_spans[k + 1].first <= last)
                last = std::max(last, m_spans[++k].second);
            out += QStringView(m_s).mid(m_tokens[t].start, m_tokens[first].start - m_tokens[t].start);
            out += first == last && m_tokens[first].kind == Kind::Quoted ? kQuotedMask : kMask;
            t = last + 1;
        }
        if (t < m_tokens.size())
            out += QStringView(m_s).mid(m_tokens[t].start);
        return out;
    }

private:
    // The next token after `i` that is not a space; the token count when none.
    qsizetype next(qsizetype i) const
    {
        ++i;
        while (i < m_tokens.size() && m_tokens[i].kind == Kind::Space)
            ++i;
        return i;
    }
    bool isWord(qsizetype i, const char *name) const
    {
        return i < m_tokens.size() && m_tokens[i].kind == Kind::Word && m_tokens[i].name == QLatin1String(name);
    }
    bool isPunct(qsizetype i, char c) const
    {
        return i < m_tokens.size() && m_tokens[i].kind == Kind::Punct && m_s[m_tokens[i].start] == QLatin1Char(c);
    }

    // One value starting at token `i`: its first and last token (-1 when
    // empty) and the token that ended it: a comma or closing parenthesis at its
    // level; outside a row of values also a semicolon, a line break, AND, OR or WHERE.
    struct Value
    {
        qsizetype first = -1, last = -1, end = 0;
    };
    Value value(qsizetype i, bool inRow) const
    {
        Value v;
        int depth = 0;
        for (; i < m_tokens.size(); ++i) {
            if (m_tokens[i].kind == Kind::Space) {
                if (!inRow && depth == 0 && m_tokens[i].lineBreak)
                    break;
                continue;
            }
            if (depth == 0 &&
                (isPunct(i, ',') || isPunct(i, ')') ||
                 (!inRow && (isPunct(i, ';') || isWord(i, "AND") || isWord(i, "OR") || isWord(i, "WHERE")))))
                break;
            if (isPunct(i, '('))
                ++depth;
            else if (isPunct(i, ')'))
                --depth;
            if (v.first < 0)
                v.first = i;
            v.last = i;
        }
        v.end = i;
        return v;
    }

    void mask(const Value &v)
    {
        if (v.first >= 0)
            m_spans.append({v.first, v.last});
    }

    // "<password column> = <value>".
    void assignment(qsizetype column)
    {
        const qsizetype eq = next(column);
        if (isPunct(eq, '='))
            mask(value(next(eq), false));
    }

    // "INSERT INTO <table> [(<columns>)] VALUES (<values>)[, (<values>)...]".
    void insert(qsizetype i)
    {
        i = next(i);
        if (!isWord(i, "INTO"))
            return;
        i = next(i);
        if (i >= m_tokens.size() || m_tokens[i].kind != Kind::Word)
            return;
        const QString table = m_tokens[i].name;
        QList<qsizetype> positions;
        i = next(i);
        if (isPunct(i, '(')) {
            qsizetype position = 0;
            for (i = next(i);; i = next(i)) {
                if (i >= m_tokens.size() || m_tokens[i].kind != Kind::Word)
                    return;
                if (isPasswordColumn(m_tokens[i]))
                    positions.append(position);
                ++position;
                i = next(i);
                if (isPunct(i, ')'))
                    break;
                if (!isPunct(i, ','))
                    return;
            }
            i = next(i);
        } else if (table == QLatin1String("QN_USER")) {
            positions = {1};
        } else if (table == QLatin1String("QN_DBPRV")) {
            positions = {3};
        }
        if (positions.isEmpty() || !isWord(i, "VALUES"))
            return;
        for (i = next(i); isPunct(i, '('); i = next(next(i))) {
            i = values(i, positions);
            if (!isPunct(next(i), ','))
                return;
        }
    }

    // The row of values opened at `open`: masks those at `positions`; returns
    // the index of its closing parenthesis (the token count when it has none).
    qsizetype values(qsizetype open, const QList<qsizetype> &positions)
    {
        qsizetype i = open;
        for (qsizetype position = 0;; ++position) {
            const Value v = value(i + 1, true);
            if (positions.contains(position))
                mask(v);
            i = v.end;
            if (!isPunct(i, ','))
                return i;
        }
    }

    const QString &m_s;
    QList<Token> m_tokens;
    QList<std::pair<qsizetype, qsizetype>> m_spans; // first and last token of each value to mask
};

} // namespace

QString MaskPasswords(const QString &text)
{
    const QString masked = maskConnectValues(text);
    return StatementMasker(masked).run();
}
