#include "filetotable.h"

#include <QHash>
#include <QSet>

#include "core/moddatabase.h"
#include "core/modupdate.h"
#include "dao.h"
#include "tree/explorerwindow.h"

using modDatabase::NumberForm;
using modDatabase::Quoted;

namespace fileToTable {

namespace {

QString number(const QVariant &value, const QString &column)
{
    return modDatabase::StoredNumberOrNullSQL(value, column, NumberForm::Bare);
}

// The rows of a type table by their exact name.
QHash<QString, long> byName(const dao::Recordset &rs, const QString &column)
{
    QHash<QString, long> rows;
    const int index = rs.GetFields().IndexOf(column);
    for (long row = rs.RecordCount() - 1; row >= 0; --row) // the first row of a name wins
        rows.insert(rs.Cell(row, index).toString(), row);
    return rows;
}

const QSet<QString> kZoned = {QStringLiteral("NUMERIC"), QStringLiteral("ZONED"), QStringLiteral("ZONED-NUM"),
                              QStringLiteral("ZONED-S"), QStringLiteral("ZONED-U")};

} // namespace

QString CountSQL(const QString &file)
{
    return QStringLiteral("SELECT COUNT (*) AS COLUMN_COUNT FROM QN_FIELD WHERE FILE_NAME = ") + Quoted(file);
}

QString ExistsSQL(const QString &database, const QString &table)
{
    return QStringLiteral("SELECT TABLE_NAME FROM QN_TABLE WHERE ") + modDatabase::TableWhere(database, table);
}

QList<Column> PlanColumns(dao::Database &db, const QString &dsn, const NewTable &table, QString &statement)
{
    statement = QStringLiteral("SELECT * FROM QN_FIELD WHERE FILE_NAME = ") + Quoted(table.file) +
                QStringLiteral(" ORDER BY FIELD_NUMBER ASC");
    const auto fields = db.OpenRecordset(statement);
    statement = QStringLiteral("SELECT * FROM QN_LOCDT");
    const auto locdts = db.OpenRecordset(statement);
    statement = QStringLiteral("SELECT * FROM QN_SQLDT");
    const auto sqldts = db.OpenRecordset(statement);
    const QHash<QString, long> localTypes = byName(*locdts, QStringLiteral("LOCAL_TYPE_NAME"));
    const QHash<QString, long> sqlTypes = byName(*sqldts, QStringLiteral("SQL_TYPE_NAME"));
    const auto &F = *fields;
    auto S = [&](long row, const char *column) {
        return number(sqldts->Cell(row, sqldts->GetFields().IndexOf(QLatin1String(column))),
                      QStringLiteral("QN_SQLDT.") + QLatin1String(column));
    };

    QList<Column> columns;
    columns.reserve(F.RecordCount());
    for (; !F.Eof(); fields->MoveNext()) {
        Column c;
        c.fileName = F.Value(QStringLiteral("FILE_NAME")).toString();
        c.fieldName = F.Value(QStringLiteral("FIELD_NAME")).toString();
        const QString localType = F.Value(QStringLiteral("LOCAL_TYPE_NAME")).toString();
        const auto L = localTypes.constFind(localType);
        if (L == localTypes.constEnd()) {
            c.skipped = QStringLiteral("Unable to find information about the Local Data Type '") + localType +
                        QStringLiteral("'\r\nused in File '") + c.fileName + QStringLiteral(", Field '") + c.fieldName +
                        QStringLiteral(".\r\nThis datatype is not supported in Datasource '") + dsn +
                        QStringLiteral("' and the Field has been skipped.");
            columns << c;
            continue;
        }
        const QString sqlType = locdts->Cell(L.value(), locdts->GetFields().IndexOf(QStringLiteral("SQL_TYPE_NAME")))
                                    .toString();
        const auto found = sqlTypes.constFind(sqlType);
        if (found == sqlTypes.constEnd()) {
            statement = QStringLiteral("SELECT * FROM QN_SQLDT WHERE SQL_TYPE_NAME = ") + Quoted(sqlType);
            qnerr::raise(qnerr::NoCurrentRecord, qnerr::standardDescription(qnerr::NoCurrentRecord));
        }
        const long s = found.value();
        const QString fieldLength = number(F.Value(QStringLiteral("LENGTH")), QStringLiteral("LENGTH"));
        QString length = S(s, "LENGTH"), precision = S(s, "PRECISION");
        if (localType == QLatin1String("STRING")) {
            length = precision = fieldLength;
        } else if (kZoned.contains(localType)) {
            length = fieldLength;
            if (sqlType == QLatin1String("VARCHAR"))
                precision = fieldLength;
        }
        const QString scale = number(F.Value(QStringLiteral("SCALE")), QStringLiteral("SCALE"));
        const bool decimals = scale != QLatin1String("NULL") && scale.toDouble() != 0;
        const QString columnName = QString(c.fieldName).replace(QLatin1Char('-'), QLatin1Char('_'));
        c.insert = QStringLiteral("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, "
                                  "FIELD_NAME, SQL_TYPE_NAME, LENGTH, PRECISION, SCALE, DEFAULT_VALUE, REMARKS, "
                                  "DISPLAY_NAME, VISIBLE, NULLABLE, UNSIGNED_ATTRIBUTE, MONEY, AUTO_INCREMENT, "
                                  "CASE_SENSITIVE, SEARCHABLE, UPDATABLE, RADIX) VALUES (") +
                   Quoted(table.database) + QStringLiteral(", ") + Quoted(table.table) + QStringLiteral(", ") +
                   number(F.Value(QStringLiteral("FIELD_NUMBER")), QStringLiteral("FIELD_NUMBER")) +
                   QStringLiteral(", ") + Quoted(columnName) + QStringLiteral(", ") + Quoted(c.fieldName) +
                   QStringLiteral(", ") + Quoted(decimals ? QStringLiteral("DOUBLE") : sqlType) + QStringLiteral(", ") +
                   length + QStringLiteral(", ") + precision + QStringLiteral(", 0, ") +
                   modDatabase::QuotedOrNull(F.Value(QStringLiteral("DEFAULT_VALUE"))) + QStringLiteral(", ") +
                   modDatabase::QuotedOrNull(F.Value(QStringLiteral("REMARKS"))) + QStringLiteral(", ") + Quoted(columnName) +
                   QStringLiteral(", 1, ") + S(s, "NULLABLE") + QStringLiteral(", ") + S(s, "UNSIGNED_ATTRIBUTE") +
                   QStringLiteral(", ") + S(s, "MONEY") + QStringLiteral(", ") + S(s, "AUTO_INCREMENT") +
                   QStringLiteral(", ") + S(s, "CASE_SENSITIVE") + QStringLiteral(", ") + S(s, "SEARCHABLE") +
                   QStringLiteral(", 1, ") + S(s, "RADIX") + QStringLiteral(" )");
        c.undo = modDatabase::BuildDeleteSQL(
            QStringLiteral("QN_COLUMN"),
            modDatabase::KeyWhere({QStringLiteral("DATABASE_NAME"), QStringLiteral("TABLE_NAME"),
                                   QStringLiteral("COLUMN_NAME")},
                                  {table.database, table.table, columnName}));
        columns << c;
    }
    statement.clear();
    return columns;
}

void WriteRows(const NewTable &table, const QList<Column> &columns)
{
    // Nothing goes into a database deleted since it was chosen.
    modUpdate::UnitRequireRow(
        modDatabase::RowSQL(QStringLiteral("QN_DB"), {QStringLiteral("DATABASE_NAME")}, {table.database}));
    modUpdate::UnitInsert(QStringLiteral("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME, "
                                         "FILE_SPECIFICATION, NUMBER_COLUMNS, REMARKS, DISPLAY_NAME) VALUES (") +
                              Quoted(table.database) + QStringLiteral(", ") + Quoted(table.table) +
                              QStringLiteral(", 'TABLE', ") + Quoted(table.file) + QStringLiteral(", ") +
                              Quoted(table.specification) + QStringLiteral(", ") + QString::number(table.fieldCount) +
                              QStringLiteral(", ") + Quoted(table.remarks) + QStringLiteral(", ") +
                              Quoted(table.displayName) + QStringLiteral(" )"),
                          modDatabase::BuildDeleteSQL(QStringLiteral("QN_TABLE"),
                                                      modDatabase::TableWhere(table.database, table.table)));
    ExplorerWindow *window = ExplorerWindow::Current();
    for (const Column &c : columns) {
        if (window)
            window->Status(QStringLiteral("Processing File '") + c.fileName + QStringLiteral("', Field '") +
                           c.fieldName + QLatin1Char('\''));
        if (!c.insert.isEmpty())
            modUpdate::UnitInsert(c.insert, c.undo);
    }
}

} // namespace fileToTable
