#include "catalogimporter.h"

#include <QStringList>

#include "catalogcsv.h"
#include "catalogkeys.h"
#include "core/cconnections.h"
#include "core/csqldts.h"
#include "core/moddatabase.h"
#include "panes/modgrid.h"

namespace {

const QString kSep = QStringLiteral("', '");

// A text value between apostrophes, as read or upper-cased.
QString text(const QString &value) { return modDatabase::Quoted(value); }
QString upper(const QString &value) { return modDatabase::Quoted(value.toUpper()); }

// A number of the file as the whole number it was checked to be; empty is NULL.
QString number(const QString &value, const char *column)
{
    if (value.isEmpty())
        return modDatabase::StoredNumberOrNullSQL(QVariant(), QLatin1String(column));
    const auto whole = modGrid::WholeNumber(value);
    if (!whole)
        qnerr::raise(qnerr::ValidationFailed, QStringLiteral("The value '%1' of %2 is not a whole number.")
                                                  .arg(value, QLatin1String(column)));
    return modDatabase::StoredNumberOrNullSQL(QVariant(*whole), QLatin1String(column));
}

QString joined(std::initializer_list<QString> parts) { return QStringList(parts).join(QStringLiteral(", ")); }

} // namespace

void CatalogImporter::Reset(QHash<QString, qint32> lastFieldNumbers)
{
    m_fieldNumbers = std::move(lastFieldNumbers);
    m_columnNumbers.clear();
}

std::optional<CatalogImporter::Statements> CatalogImporter::ImportLine(const QString &line)
{
    if (line.isEmpty())
        return std::nullopt;
    QStringList f = CatalogCSV::ReadFields(line);
    const QString tag = f.value(0).toUpper();
    CatalogCSV::CompleteShortForm(f, m_connection.LOCDTs);
    const auto v = [&](int n) { return f.value(n); };
    Statements s;
    if (tag == QLatin1String("FILE")) {
        s.insert = QStringLiteral("INSERT INTO QN_FILE (FILE_NAME, FILE_ORGANISATION, RECORD_TYPE, RECORD_SIZE) "
                                  "VALUES (") +
                   joined({upper(v(1)), upper(v(2)), upper(v(3)), number(v(4), "RECORD_SIZE")}) + QLatin1Char(')');
        s.undo = QStringLiteral("DELETE FROM QN_FILE WHERE FILE_NAME = ") + upper(v(1));
    } else if (tag == QLatin1String("FIELD")) {
        const QString file = v(1).toUpper();
        const qint32 fieldNumber = ++m_fieldNumbers[file];
        s.insert = QStringLiteral("INSERT INTO QN_FIELD (FILE_NAME, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, LENGTH, "
                                  "PRECISION, SCALE, ENCRYPTED, FORMAT, FIELD_NUMBER, DEFAULT_VALUE)VALUES (") +
                   joined({text(file), upper(v(2)), upper(v(3)), number(v(4), "OFFSET"), number(v(5), "LENGTH"),
                           number(v(6), "PRECISION"), number(v(7), "SCALE"), number(v(8), "ENCRYPTED"),
                           upper(v(9)), QString::number(fieldNumber), text(v(10))}) +
                   QStringLiteral(") ");
        s.undo = QStringLiteral("DELETE FROM QN_FIELD WHERE FILE_NAME = ") + text(file) +
                 QStringLiteral(" AND FIELD_NAME = ") + upper(v(2));
    } else if (tag == QLatin1String("DB")) {
        s.insert = QStringLiteral("INSERT INTO QN_DB (DATABASE_NAME, DEFAULT_DIRECTORY, DRIVER_NAME, CONNECT_STRING, "
                                  "DISPLAY_NAME) VALUES (") +
                   joined({upper(v(1)), text(v(2)), upper(v(3)), text(v(4)), text(v(5))}) + QLatin1Char(')');
        s.undo = QStringLiteral("DELETE FROM QN_DB WHERE DATABASE_NAME = ") + upper(v(1));
    } else if (tag == QLatin1String("TABLE")) {
        s.insert = QStringLiteral("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME, "
                                  "FILE_SPECIFICATION, CRITERIA, DISPLAY_NAME) VALUES (") +
                   joined({upper(v(1)), upper(v(2)), upper(v(3)), upper(v(4)), text(v(5)), text(v(6)), text(v(7))}) +
                   QLatin1Char(')');
        s.undo = modDatabase::BuildDeleteSQL(QStringLiteral("QN_TABLE"),
                                             modDatabase::TableWhere(v(1).toUpper(), v(2).toUpper()));
    } else if (tag == QLatin1String("COLUMN")) {
        const QString db = v(1).toUpper(), table = v(2).toUpper();
        const QString typeName = v(5).toUpper();
        const auto type = m_connection.SQLDTs.Find(typeName);
        if (!type)
            qnerr::raise(qnerr::NoCurrentRecord, qnerr::standardDescription(qnerr::NoCurrentRecord));
        const QString columnType = number(v(11), "COLUMN_TYPE");
        const auto special = modGrid::WholeNumber(v(11));
        qint32 columnNumber = 1;
        if (!special || *special == 0)
            columnNumber = ++m_columnNumbers[CatalogKeys::Key({db, table})];
        // A relative index keeps the column it names in REMARKS, where the
        // special columns editor keeps it.
        const bool relativeIndex = special && *special == 8;
        const auto zero = [](int value) { return vb::ZeroText(value); };
        s.insert = QStringLiteral("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NAME, FIELD_NAME, "
                                  "SQL_TYPE_NAME, LENGTH, UPDATABLE, VISIBLE, DEFAULT_VALUE, COLUMN_NUMBER, "
                                  "DISPLAY_NAME, PRECISION, NULLABLE, CASE_SENSITIVE, SEARCHABLE, UNSIGNED_ATTRIBUTE, "
                                  "MONEY, AUTO_INCREMENT, RADIX, COLUMN_TYPE") +
                   (relativeIndex ? QStringLiteral(", REMARKS") : QString()) + QStringLiteral(") VALUES (") +
                   joined({text(db), text(table), upper(v(3)), upper(v(4)), text(typeName), number(v(6), "LENGTH"),
                           number(v(7), "UPDATABLE"), number(v(8), "VISIBLE"), text(v(9)),
                           QString::number(columnNumber), text(relativeIndex ? v(3) : v(10)), zero(type->PRECISION),
                           zero(type->NULLABLE), zero(type->CASE_SENSITIVE), zero(type->SEARCHABLE),
                           zero(type->UNSIGNED_ATTRIBUTE), zero(type->MONEY), zero(type->AUTO_INCREMENT),
                           zero(type->RADIX), columnType}) +
                   (relativeIndex ? QStringLiteral(", ") + upper(v(10)) : QString()) + QLatin1Char(')');
        s.undo = modDatabase::BuildDeleteSQL(QStringLiteral("QN_COLUMN"), modDatabase::TableWhere(db, table) +
                                                                              QStringLiteral(" AND COLUMN_NAME = ") +
                                                                              upper(v(3)));
    } else if (tag == QLatin1String("USER")) {
        s.insert = QStringLiteral("INSERT INTO QN_USER (USER_NAME, USER_PASSWORD) VALUES (") +
                   joined({upper(v(1)), upper(v(2))}) + QStringLiteral(") ");
        s.undo = QStringLiteral("DELETE FROM QN_USER WHERE USER_NAME = ") + upper(v(1));
    } else if (tag == QLatin1String("DBPRV")) {
        s.insert = QStringLiteral("INSERT INTO QN_DBPRV (USER_NAME, DATABASE_NAME, DATABASE_USERNAME, "
                                  "DATABASE_PASSWORD, ALLOW_SELECT, ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE, "
                                  "SECURITY_LEVEL) VALUES (") +
                   joined({upper(v(1)), upper(v(2)), upper(v(3)), text(v(4)), number(v(5), "ALLOW_SELECT"),
                           number(v(6), "ALLOW_INSERT"), number(v(7), "ALLOW_UPDATE"), number(v(8), "ALLOW_DELETE"),
                           upper(v(9))}) +
                   QLatin1Char(')');
        s.undo = QStringLiteral("DELETE FROM QN_DBPRV WHERE USER_NAME = ") + upper(v(1)) +
                 QStringLiteral(" AND DATABASE_NAME = ") + upper(v(2));
    } else if (tag == QLatin1String("TBLPRV")) {
        s.insert = QStringLiteral("INSERT INTO QN_TBLPRV (USER_NAME, DATABASE_NAME, TABLE_NAME, ALLOW_SELECT, "
                                  "ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE) VALUES (") +
                   joined({upper(v(1)), upper(v(2)), upper(v(3)), number(v(4), "ALLOW_SELECT"),
                           number(v(5), "ALLOW_INSERT"), number(v(6), "ALLOW_UPDATE"), number(v(7), "ALLOW_DELETE")}) +
                   QLatin1Char(')');
        s.undo = QStringLiteral("DELETE FROM QN_TBLPRV WHERE USER_NAME = ") + upper(v(1)) +
                 QStringLiteral(" AND DATABASE_NAME = ") + upper(v(2)) + QStringLiteral(" AND TABLE_NAME = ") +
                 upper(v(3));
    } else {
        return std::nullopt;
    }
    return s;
}
