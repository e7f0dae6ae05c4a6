#include "SqlText.h"

#include "DbError.h"

#include <QRegularExpression>

namespace platform::sqltext {

namespace {

constexpr QChar kFill = QLatin1Char('x');

int MatchingParen(const QString &mask, int open)
{
    int depth = 0;
    for (int i = open; i < mask.size(); ++i) {
        if (mask[i] == QLatin1Char('('))
            ++depth;
        else if (mask[i] == QLatin1Char(')') && --depth == 0)
            return i;
    }
    return -1;
}

const QRegularExpression &ParamPattern()
{
    static const QRegularExpression re(QStringLiteral(R"((?<![\w:@]):([A-Za-z_][A-Za-z0-9_]*))"));
    return re;
}

QVariant ParseProcArgument(const QString &raw)
{
    const QString arg = raw.trimmed();
    if (arg.size() >= 2 && arg.startsWith(QLatin1Char('\'')) && arg.endsWith(QLatin1Char('\'')))
        return arg.mid(1, arg.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
    if (arg.compare(QLatin1String("NULL"), Qt::CaseInsensitive) == 0)
        return QVariant();
    bool ok = false;
    const qlonglong n = arg.toLongLong(&ok);
    if (ok)
        return n;
    const double d = arg.toDouble(&ok);
    if (ok)
        return d;
    return arg;
}

} // namespace

QString Mask(const QString &sql)
{
    QString m = sql;
    const int n = sql.size();
    int i = 0;
    while (i < n) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // Literal or quoted identifier; a doubled delimiter is an escaped one.
            int j = i + 1;
            while (j < n) {
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) {
                        m[j] = kFill;
                        m[j + 1] = kFill;
                        j += 2;
                        continue;
                    }
                    break;
                }
                m[j] = kFill;
                ++j;
            }
            i = j + 1;
        } else if (c == QLatin1Char('[')) {
            int j = i + 1;
            while (j < n && sql[j] != QLatin1Char(']'))
                m[j++] = kFill;
            i = j + 1;
        } else if (c == QLatin1Char('-') && i + 1 < n && sql[i + 1] == QLatin1Char('-')) {
            int j = i;
            while (j < n && sql[j] != QLatin1Char('\n'))
                m[j++] = QLatin1Char(' ');
            i = j;
        } else if (c == QLatin1Char('/') && i + 1 < n && sql[i + 1] == QLatin1Char('*')) {
            int j = i;
            while (j < n && !(sql[j] == QLatin1Char('*') && j + 1 < n && sql[j + 1] == QLatin1Char('/')))
                m[j++] = QLatin1Char(' ');
            if (j < n) {
                m[j] = QLatin1Char(' ');
                if (j + 1 < n)
                    m[j + 1] = QLatin1Char(' ');
            }
            i = j + 2;
        } else {
            ++i;
        }
    }
    return m;
}

QStringList ParameterNames(const QString &sql)
{
    QStringList names;
    auto it = ParamPattern().globalMatch(Mask(sql));
    while (it.hasNext()) {
        const auto m = it.next();
        names << sql.mid(m.capturedStart(1), m.capturedLength(1));
    }
    return names;
}

QString ToPositional(const QString &sql, QStringList *names)
{
    QString out;
    out.reserve(sql.size());
    int last = 0;
    auto it = ParamPattern().globalMatch(Mask(sql));
    while (it.hasNext()) {
        const auto m = it.next();
        out += QStringView(sql).mid(last, m.capturedStart(0) - last);
        out += QLatin1Char('?');
        if (names)
            names->append(sql.mid(m.capturedStart(1), m.capturedLength(1)));
        last = m.capturedEnd(0);
    }
    out += QStringView(sql).mid(last);
    return out;
}

QString Quote(const QString &text)
{
    QString q = text;
    q.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + q + QLatin1Char('\'');
}

namespace {

// "(" followed by nothing but blanks and ")": the only shape an empty IN list can have.
bool HasEmptyParens(const QString &sql)
{
    for (qsizetype i = sql.indexOf(QLatin1Char('(')); i >= 0; i = sql.indexOf(QLatin1Char('('), i + 1)) {
        qsizetype j = i + 1;
        while (j < sql.size() && sql[j].isSpace())
            ++j;
        if (j < sql.size() && sql[j] == QLatin1Char(')'))
            return true;
    }
    return false;
}

// One pass over the text for the words a rewrite starts from (ISNULL, GETDATE, TOP), in
// any letter case; literals are not told apart here, so a hit only means "look closer".
bool MentionsRewrittenWord(const QString &sql)
{
    static constexpr const char *words[] = {"isnull", "getdate", "top"};
    const QChar *c = sql.constData();
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t first = c[i].unicode() | 0x20;
        if (first != u'i' && first != u'g' && first != u't')
            continue;
        for (const char *w : words) {
            qsizetype k = 0;
            while (w[k] && i + k < n && (c[i + k].unicode() | 0x20) == char16_t(w[k]))
                ++k;
            if (!w[k])
                return true;
        }
    }
    return false;
}

} // namespace

QString RewriteForSqlite(const QString &input)
{
    // Most statements need no rewrite: a cheap look for the words saves the literal-aware
    // scan (statements with values in their text are not cached, so this is per call).
    if (!MentionsRewrittenWord(input) && !HasEmptyParens(input))
        return input;

    static const QRegularExpression emptyIn(QStringLiteral(R"(\bIN\s*\(\s*\))"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression isNull(QStringLiteral(R"(\bIsNull\s*\()"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression getDate(QStringLiteral(R"(\bGetDate\s*\(\s*\))"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression top(QStringLiteral(R"(\bSELECT\s+(?:DISTINCT\s+)?(TOP\s+(\d+)\s+))"),
                                        QRegularExpression::CaseInsensitiveOption);

    QString sql = input;
    QString mask = Mask(sql);
    if (emptyIn.match(mask).hasMatch())
        throw DbError(QStringLiteral("Incorrect syntax near ')'."));

    // Replace from the end so earlier positions stay valid.
    auto replaceAll = [&](const QRegularExpression &re, const QString &with) {
        QList<QRegularExpressionMatch> found;
        auto it = re.globalMatch(mask);
        while (it.hasNext())
            found << it.next();
        for (auto m = found.crbegin(); m != found.crend(); ++m)
            sql.replace(m->capturedStart(0), m->capturedLength(0), with);
        if (!found.isEmpty())
            mask = Mask(sql);
    };
    replaceAll(isNull, QStringLiteral("ifnull("));
    replaceAll(getDate, QStringLiteral("strftime('%Y-%m-%d %H:%M:%f','now','localtime')"));

    // TOP n: one occurrence at a time, the last first, so a nested query is done before the
    // query around it and the outer end position is found on the rewritten text.
    for (;;) {
        QRegularExpressionMatch last;
        auto it = top.globalMatch(mask);
        while (it.hasNext())
            last = it.next();
        if (!last.hasMatch())
            break;
        const QString count = last.captured(2);
        const int topStart = last.capturedStart(1);
        // End of this (sub)query: the first unmatched ')' or ';' after it, else the end.
        int depth = 0;
        int end = mask.size();
        for (int i = last.capturedEnd(0); i < mask.size(); ++i) {
            const QChar c = mask[i];
            if (c == QLatin1Char('('))
                ++depth;
            else if (c == QLatin1Char(')')) {
                if (depth == 0) {
                    end = i;
                    break;
                }
                --depth;
            } else if (c == QLatin1Char(';') && depth == 0) {
                end = i;
                break;
            }
        }
        // Trailing blanks stay after the LIMIT so line structure is kept.
        int insertAt = end;
        while (insertAt > 0 && mask[insertAt - 1].isSpace())
            --insertAt;
        sql.insert(insertAt, QStringLiteral(" LIMIT ") + count);
        sql.remove(topStart, last.capturedLength(1));
        mask = Mask(sql);
    }
    return sql;
}

bool SplitIdentityTrailer(const QString &sql, QString *insert, QString *param)
{
    static const QRegularExpression trailer(
        QStringLiteral(R"(;?\s*\bSELECT\s+:([A-Za-z_]\w*)\s*=\s*@@IDENTITY\s*;?\s*$)"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = trailer.match(Mask(sql));
    if (!m.hasMatch())
        return false;
    if (insert)
        *insert = sql.left(m.capturedStart(0)).trimmed();
    if (param)
        *param = sql.mid(m.capturedStart(1), m.capturedLength(1));
    return true;
}

Plan Analyse(const QString &sql)
{
    Plan plan;
    plan.sql = sql;
    const QStringView head = QStringView(sql).trimmed();
    if (!head.startsWith(QLatin1String("EXEC"), Qt::CaseInsensitive)
        && !head.startsWith(QLatin1String("IF"), Qt::CaseInsensitive)
        && !sql.contains(QLatin1String("@@"), Qt::CaseSensitive))
        return plan; // the common case: a plain statement
    const QString mask = Mask(sql);

    static const QRegularExpression exec(QStringLiteral(R"(^\s*EXEC(?:UTE)?\s+([\w.\[\]]+)\s?)"),
                                         QRegularExpression::CaseInsensitiveOption);
    if (const auto m = exec.match(mask); m.hasMatch()) {
        plan.kind = Plan::Exec;
        plan.procName = sql.mid(m.capturedStart(1), m.capturedLength(1));
        plan.procName.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
        const int argsAt = m.capturedEnd(0);
        const QString argMask = mask.mid(argsAt);
        const QString args = sql.mid(argsAt);
        if (!args.trimmed().isEmpty()) {
            int start = 0;
            for (int i = 0; i <= argMask.size(); ++i) {
                if (i == argMask.size() || argMask[i] == QLatin1Char(',')) {
                    plan.procArgs << ParseProcArgument(args.mid(start, i - start));
                    start = i + 1;
                }
            }
        }
        return plan;
    }

    static const QRegularExpression ifNotExists(QStringLiteral(R"(^\s*IF\s+NOT\s+EXISTS\s*\()"),
                                                QRegularExpression::CaseInsensitiveOption);
    if (const auto m = ifNotExists.match(mask); m.hasMatch()) {
        const int open = m.capturedEnd(0) - 1;
        const int close = MatchingParen(mask, open);
        static const QRegularExpression branches(QStringLiteral(R"(^\s*(INSERT\b.*?)\s+ELSE\s+(UPDATE\b.*?)\s*;?\s*$)"),
                                                 QRegularExpression::CaseInsensitiveOption
                                                     | QRegularExpression::DotMatchesEverythingOption);
        if (close > open) {
            const QString restMask = mask.mid(close + 1);
            const QString rest = sql.mid(close + 1);
            if (const auto b = branches.match(restMask); b.hasMatch()) {
                plan.kind = Plan::Upsert;
                plan.existsSql = sql.mid(open + 1, close - open - 1).trimmed();
                plan.insertSql = rest.mid(b.capturedStart(1), b.capturedLength(1));
                plan.updateSql = rest.mid(b.capturedStart(2), b.capturedLength(2));
                return plan;
            }
        }
        throw DbError(QStringLiteral("Unsupported IF NOT EXISTS statement: ") + sql);
    }

    QString insert, param;
    if (SplitIdentityTrailer(sql, &insert, &param)) {
        plan.kind = Plan::IdentityInsert;
        plan.sql = insert;
        plan.identityParam = param;
    }
    return plan;
}

} // namespace platform::sqltext
