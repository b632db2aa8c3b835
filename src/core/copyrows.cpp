#include "copyrows.h"

#include "moddatabase.h"
#include "modupdate.h"
#include "ui.h"

using modDatabase::NumberForm;

namespace copyRows {

QString Value(const dao::Recordset &rs, const char *column) { return rs.Value(QLatin1String(column)).toString(); }

QString Text(const dao::Recordset &rs, const char *column) { return modDatabase::QuotedOrNull(rs.Value(QLatin1String(column))); }

QString Number(const dao::Recordset &rs, const char *column, bool quoted)
{
    return modDatabase::StoredNumberOrNullSQL(rs.Value(QLatin1String(column)), QLatin1String(column),
                                              quoted ? NumberForm::Quoted : NumberForm::Bare);
}

QString ColumnInsert(const QString &database, const QString &table, const dao::Recordset &rs)
{
    QString values = modDatabase::Quoted(database) + QStringLiteral(", ") + modDatabase::Quoted(table) +
                     QStringLiteral(", ") + Number(rs, "COLUMN_NUMBER") + QStringLiteral(", ") + Text(rs, "COLUMN_NAME") +
                     QStringLiteral(", ") + Text(rs, "FIELD_NAME") + QStringLiteral(", ") + Text(rs, "SQL_TYPE_NAME");
    for (const char *column : {"LENGTH", "PRECISION", "SCALE", "NULLABLE", "UNSIGNED_ATTRIBUTE", "UPDATABLE", "VISIBLE",
                               "MONEY", "AUTO_INCREMENT", "CASE_SENSITIVE", "SEARCHABLE", "RADIX"})
        values += QStringLiteral(", ") + Number(rs, column);
    values += QStringLiteral(", ") + Text(rs, "DEFAULT_VALUE") + QStringLiteral(", ") + Text(rs, "REMARKS") +
              QStringLiteral(", ") + Number(rs, "SETFILEPARAMETER") + QStringLiteral(", ") + Number(rs, "COLUMN_TYPE") +
              QStringLiteral(", ") + Text(rs, "DISPLAY_NAME");
    return QStringLiteral("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, FIELD_NAME, "
                          "SQL_TYPE_NAME, LENGTH, PRECISION, SCALE, NULLABLE, UNSIGNED_ATTRIBUTE, UPDATABLE, VISIBLE, "
                          "MONEY, AUTO_INCREMENT, CASE_SENSITIVE, SEARCHABLE, RADIX, DEFAULT_VALUE, REMARKS, "
                          "SETFILEPARAMETER, COLUMN_TYPE, DISPLAY_NAME) VALUES (") +
           values + QLatin1Char(')');
}

QString TablePrivilegeInsert(const QString &database, const QString &table, const dao::Recordset &rs)
{
    return QStringLiteral("INSERT INTO QN_TBLPRV(DATABASE_NAME, TABLE_NAME, USER_NAME, ALLOW_SELECT, ALLOW_INSERT, "
                          "ALLOW_UPDATE, ALLOW_DELETE, REMARKS) VALUES ( ") +
           modDatabase::Quoted(database) + QStringLiteral(", ") + modDatabase::Quoted(table) + QStringLiteral(", ") +
           Text(rs, "USER_NAME") + QStringLiteral(", ") + Number(rs, "ALLOW_SELECT") + QStringLiteral(", ") +
           Number(rs, "ALLOW_INSERT") + QStringLiteral(", ") + Number(rs, "ALLOW_UPDATE") + QStringLiteral(", ") +
           Number(rs, "ALLOW_DELETE") + QStringLiteral(", ") + Text(rs, "REMARKS") + QStringLiteral(") ");
}

void TellIfDeletedAgain()
{
    if (modUpdate::LastUnitDeletedAgain())
        Ui().MsgBox(QStringLiteral("The copy failed; the rows it had written have been deleted again."),
                    ui::vbInformation);
}

QString RowDelete(const QString &catalogTable, const QStringList &keys, const QStringList &values)
{
    return modDatabase::BuildDeleteSQL(catalogTable, modDatabase::KeyWhere(keys, values));
}

} // namespace copyRows
