#include "moddatabase.h"

#include <QRegularExpression>
#include <QWidget>

#include "controls.h"
#include "errortrace.h"
#include "modstring.h"

namespace modDatabase {

namespace {

// The one quoting rule: every apostrophe doubled.
void appendEscaped(QString &sql, QStringView text)
{
    qsizetype from = 0;
    for (qsizetype at = text.indexOf(QLatin1Char('\'')); at >= 0; at = text.indexOf(QLatin1Char('\''), from)) {
        sql += text.sliced(from, at + 1 - from);
        sql += QLatin1Char('\'');
        from = at + 1;
    }
    sql += text.sliced(from);
}

} // namespace

QString EscapeQuotes(const QVariant &value)
{
    if (value.isNull())
        return {};
    QString text = value.toString();
    if (!text.contains(QLatin1Char('\'')))
        return text;
    QString sql;
    appendEscaped(sql, text);
    return sql;
}

QString Quoted(const QVariant &value)
{
    QString sql;
    AppendQuoted(sql, value.isNull() ? QString() : value.toString());
    return sql;
}

QString QuotedOrNull(const QVariant &value)
{
    return value.isNull() ? QStringLiteral("NULL") : Quoted(value);
}

void AppendQuoted(QString &sql, QStringView text)
{
    sql += QLatin1Char('\'');
    appendEscaped(sql, text);
    sql += QLatin1Char('\'');
}

QString TableWhere(const QString &database, const QString &table)
{
    return QStringLiteral("DATABASE_NAME = ") + Quoted(database) + QStringLiteral(" AND TABLE_NAME = ") + Quoted(table);
}

QString KeyWhere(const QStringList &columns, const QStringList &values)
{
    QStringList conditions;
    for (qsizetype i = 0; i < columns.size(); ++i)
        conditions << columns[i] + QStringLiteral(" = ") + Quoted(values.value(i));
    return conditions.join(QStringLiteral(" AND "));
}

QString RowSQL(const QString &table, const QStringList &columns, const QStringList &values)
{
    return QStringLiteral("SELECT ") + columns.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") + table +
           QStringLiteral(" WHERE ") + KeyWhere(columns, values);
}

bool IsNumber(const QString &text)
{
    // [+-]? then digits with an optional decimal part, or a decimal part alone;
    // checked by hand, as every number a writer copies passes here.
    const auto digit = [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); };
    qsizetype i = 0;
    const qsizetype n = text.size();
    if (n == 0)
        return true;
    if (text[0] == QLatin1Char('+') || text[0] == QLatin1Char('-'))
        ++i;
    qsizetype digits = 0;
    while (i < n && digit(text[i]))
        ++i, ++digits;
    if (i < n && text[i] == QLatin1Char('.')) {
        ++i;
        while (i < n && digit(text[i]))
            ++i, ++digits;
    }
    return i == n && digits > 0;
}

QString NumberSQL(const QString &text, const QString &message)
{
    if (!IsNumber(text))
        qnerr::raise(qnerr::ValidationFailed,
                     message.isEmpty() ? QStringLiteral("'%1' is not a number.").arg(text) : message);
    return QLatin1Char('0') + text;
}

QString StoredNumberSQL(const QVariant &value, const QString &column, NumberForm form)
{
    QString text;
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        break;
    case QMetaType::Bool:
        text = value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        text = QString::number(value.toDouble(), 'g', 15);
        break;
    default:
        text = value.toString();
        break;
    }
    if (!IsNumber(text))
        qnerr::raise(qnerr::ValidationFailed,
                     QStringLiteral("The stored value '%1' of %2 is not a number.").arg(text, column));
    if (text.isEmpty())
        return QStringLiteral("0");
    switch (form) {
    case NumberForm::Bare: return text;
    case NumberForm::Quoted: return QLatin1Char('\'') + text + QLatin1Char('\'');
    case NumberForm::ZeroPrefixed: break;
    }
    return QLatin1Char('0') + text;
}

QString StoredNumberOrNullSQL(const QVariant &value, const QString &column, NumberForm form)
{
    if (value.isNull() || (value.typeId() == QMetaType::QString && value.toString().isEmpty()))
        return QStringLiteral("NULL");
    return StoredNumberSQL(value, column, form);
}

const QString &NameSQL(const QString &name)
{
    if (name.isEmpty())
        qnerr::raise(qnerr::ValidationFailed, QStringLiteral("An empty name cannot be used in a statement."));
    for (const char32_t c : name.toUcs4()) {
        const QChar::Category category = QChar::category(c);
        const bool allowed = QChar::isLetterOrNumber(c) || category == QChar::Mark_NonSpacing ||
                             category == QChar::Mark_SpacingCombining || category == QChar::Mark_Enclosing ||
                             c == U'_' || c == U'$' || c == U'#' || c == U'@' || c == U'.';
        if (!allowed)
            qnerr::raise(qnerr::ValidationFailed,
                         QStringLiteral("The name '%1' cannot be used in a statement: it contains '%2'.")
                             .arg(name, QString::fromUcs4(&c, 1)));
    }
    return name;
}

QString BuildInsertSQL(const QWidget *form, const QWidget *control, const dao::Fields &fields, const QString &table)
{
    QString columns = QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (");
    QString values;
    for (const QWidget *element : controls::ArrayElements(form, controls::ArrayName(control))) {
        const QString tag = controls::Tag(element);
        if (tag.isEmpty())
            continue;
        columns += tag + QStringLiteral(", ");
        const int type = fields(tag).Type();
        const QString text = controls::Text(element);
        if (type == dao::dbText || type == dao::dbMemo || type == dao::dbChar)
            values += QLatin1Char('\'') + EscapeQuotes(text) + QStringLiteral("', ");
        else
            values += NumberSQL(text, QStringLiteral("%1 must be a number.").arg(tag)) + QStringLiteral(", ");
    }
    if (values.isEmpty())
        qnerr::raise(qnerr::InvalidProcedureCall);
    columns.chop(2);
    values.chop(2);
    return columns + QStringLiteral(") VALUES (") + values + QLatin1Char(')');
}

QString BuildDeleteSQL(const QString &table, const QString &condition)
{
    return QStringLiteral("DELETE FROM ") + table + QStringLiteral(" WHERE ") + condition;
}

QString FormatSQL(const QVariant &sql)
{
    if (sql.isNull())
        return {};
    const QString CrLf = QStringLiteral("\r\n");
    const QString Tab = QStringLiteral("\t");
    // 2: one blank at each end of the text without its own blanks at the ends.
    QString s = QLatin1Char(' ') + modString::TrimBlanks(sql.toString()) + QLatin1Char(' ');
    // 3: control and high characters become blanks; line breaks stay.
    for (QChar &c : s) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            continue;
        const int code = modString::ansiCode(c);
        if (code < 32 || code > 128)
            c = QLatin1Char(' ');
    }
    // 4: runs of blanks become one.
    static const QRegularExpression blanks(QStringLiteral(" {2,}"));
    s.replace(blanks, QStringLiteral(" "));
    s.replace(QStringLiteral(")"), QStringLiteral(")") + CrLf + Tab);
    s.replace(QStringLiteral("( "), QStringLiteral("("));
    s.replace(QStringLiteral("("), QStringLiteral("(") + CrLf + Tab);
    s.replace(QStringLiteral(", "), QStringLiteral(","));
    s.replace(QStringLiteral(","), QStringLiteral(",") + CrLf + Tab);
    s.replace(QStringLiteral(" SELECT "), CrLf + QStringLiteral("SELECT") + CrLf + Tab);
    s.replace(QStringLiteral(" FROM "), CrLf + QStringLiteral("FROM") + CrLf + Tab);
    s.replace(QStringLiteral(" WHERE "), CrLf + QStringLiteral("WHERE") + CrLf + Tab);
    s.replace(QStringLiteral(" ORDER BY "), CrLf + QStringLiteral("ORDER BY ") + CrLf + Tab);
    s.replace(QStringLiteral(" INSERT INTO "), QStringLiteral("INSERT INTO ") + CrLf + Tab);
    s.replace(Tab + QStringLiteral(" VALUES "), CrLf + QStringLiteral("VALUES "));
    s.replace(QStringLiteral(" UPDATE "), QStringLiteral("UPDATE ") + CrLf + Tab);
    s.replace(QStringLiteral(" SET "), CrLf + QStringLiteral("SET") + CrLf + Tab);
    s.replace(QStringLiteral(" AND "), CrLf + Tab + QStringLiteral("AND "));
    s.replace(QStringLiteral(" OR "), CrLf + Tab + QStringLiteral("OR "));
    // 20: blanks (only) off the ends.
    return modString::TrimBlanks(s);
}

dao::Fields FetchFieldInfo(dao::Database &db, const QString &table)
{
    TraceScope trace(QStringLiteral("modDatabase.FetchFieldInfo"));
    ErrorHandler handler(QStringLiteral("modDatabase.FetchFieldInfo"));
    std::unique_ptr<dao::Recordset> rs;
    if (!handler.step([&] { rs = db.OpenFields(QStringLiteral("SELECT * FROM ") + NameSQL(table) + QLatin1Char(' ')); }))
        return {};
    return rs->GetFields();
}

QString FetchTableFile(dao::Database &db, const QString &databaseName, const QString &tableName)
{
    auto rs = db.OpenRecordset(QStringLiteral("SELECT FILE_NAME FROM QN_TABLE WHERE DATABASE_NAME = '") +
                               EscapeQuotes(databaseName) + QStringLiteral("' AND TABLE_NAME = '") +
                               EscapeQuotes(tableName) + QLatin1Char('\''));
    if (rs->Eof())
        return {};
    return rs->Value(QStringLiteral("FILE_NAME")).toString();
}

int CalcMaxLength(int type, long size)
{
    switch (type) {
    case dao::dbBoolean: return 1;
    case dao::dbByte: return 3;
    case dao::dbInteger: return 6;
    case dao::dbCurrency: return 20;
    case dao::dbText:
    case dao::dbChar: return int(size);
    case dao::dbMemo: return size > 0 && size < INT32_MAX ? int(size) : 0;
    default: return 9;
    }
}

int CalcMaxLength(const dao::Field &field) { return CalcMaxLength(field.Type(), field.Size()); }

QString CalcUniqueName(dao::Database &db, const QString &queryTemplate, QString base)
{
    // The last "?": a name quoted into the template before it may hold one.
    const qsizetype placeholder = queryTemplate.lastIndexOf(QLatin1Char('?'));
    if (placeholder < 0)
        qnerr::raise(qnerr::InvalidProcedureCall);
    while (!base.isEmpty() && base.back() >= QLatin1Char('0') && base.back() <= QLatin1Char('9'))
        base.chop(1);
    QString candidate = base;
    for (long counter = 1;; ++counter) {
        auto rs = db.OpenRecordset(queryTemplate.left(placeholder) + EscapeQuotes(candidate) +
                                   queryTemplate.mid(placeholder + 1));
        if (rs->Eof())
            return candidate;
        const long size = rs->GetFields().Count() > 0 ? rs->GetFields()(0).Size() : 0;
        const QString suffix = QString::number(counter);
        if (size > 0 && suffix.size() > size)
            qnerr::raise(qnerr::ValidationFailed,
                         QStringLiteral("No free name could be found for '%1'.").arg(base));
        candidate = (size > 0 ? base.left(size - suffix.size()) : base) + suffix;
    }
}

bool IsSystemFile(const QString &name)
{
    return QStringLiteral(",CNTRL,COLUMN,DB,DBPRV,DRIVER,FIELD,FILE,KEY,LOCDT,SQLDT,TABLE,TBLPRV,USER,")
        .contains(QLatin1Char(',') + name + QLatin1Char(','));
}

} // namespace modDatabase
