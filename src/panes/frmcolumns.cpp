#include "frmcolumns.h"

#include "core/cconnections.h"
#include "core/csqldts.h"
#include "core/moddatabase.h"
#include "core/modstring.h"
#include "panehost/forms.h"
#include "tree/nodekey.h"

[[maybe_unused]] static const bool declared = forms::Declare<frmColumns>(QStringLiteral("frmColumns"));

namespace {

enum {
    COLUMN_NUMBER,
    COLUMN_NAME,
    DISPLAY_NAME,
    FIELD_NAME,
    SQL_TYPE_NAME,
    LENGTH,
    PRECISION,
    SCALE,
    NULLABLE,
    UNSIGNED_ATTRIBUTE,
    UPDATABLE,
    VISIBLE,
    MONEY,
    AUTO_INCREMENT,
    CASE_SENSITIVE,
    SEARCHABLE,
    RADIX,
    SETFILEPARAMETER,
    DEFAULT_VALUE,
    REMARKS,
};

// The columns a column takes over from its SQL type; editable only for a type with "CHAR" in its name.
bool isTypeAttribute(int col)
{
    switch (col) {
    case LENGTH:
    case PRECISION:
    case NULLABLE:
    case UNSIGNED_ATTRIBUTE:
    case MONEY:
    case AUTO_INCREMENT:
    case CASE_SENSITIVE:
    case SEARCHABLE:
    case RADIX: return true;
    default: return false;
    }
}

bool isCharType(const QString &type) { return type.contains(QLatin1String("CHAR")); }

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

frmColumns::frmColumns()
{
    setObjectName(QStringLiteral("frmColumns"));
    const QStringList noYes = {QStringLiteral("No"), QStringLiteral("Yes")};
    auto flag = [](const char *name) { return Column(QString::fromLatin1(name)).List(2).YesNo(); };
    Particulars p;
    p.catalogTable = QStringLiteral("QN_COLUMN");
    p.columns = {
        Column(QStringLiteral("COLUMN_NUMBER")).Lookup(0).Key().Number(),
        Column(QStringLiteral("COLUMN_NAME")).Key(true),
        Column(QStringLiteral("DISPLAY_NAME")),
        Column(QStringLiteral("FIELD_NAME")).List(0).Key(),
        Column(QStringLiteral("SQL_TYPE_NAME")).List(1),
        Column(QStringLiteral("LENGTH")).Number(),
        Column(QStringLiteral("PRECISION")).Number(),
        Column(QStringLiteral("SCALE")).Number().NewRow(QStringLiteral("0")),
        flag("NULLABLE").NewRow(QStringLiteral("No")),
        flag("UNSIGNED_ATTRIBUTE").NewRow(QStringLiteral("No")),
        flag("UPDATABLE").NewRow(QStringLiteral("Yes")),
        flag("VISIBLE").NewRow(QStringLiteral("Yes")),
        flag("MONEY").NewRow(QStringLiteral("No")),
        flag("AUTO_INCREMENT").NewRow(QStringLiteral("No")),
        flag("CASE_SENSITIVE").NewRow(QStringLiteral("No")),
        Column(QStringLiteral("SEARCHABLE")).List(3).Words(modGrid::SearchableWords()).NewRow(QStringLiteral("All except LIKE")),
        Column(QStringLiteral("RADIX")).Number().NewRow(QStringLiteral("0")),
        Column(QStringLiteral("SETFILEPARAMETER")).Number().NewRow(QStringLiteral("0")),
        Column(QStringLiteral("DEFAULT_VALUE")),
        Column(QStringLiteral("REMARKS")),
    };
    p.lists = {{}, {}, noYes, modGrid::SearchableWords()};
    p.lookups = 1;
    SetParticulars(std::move(p));
}

QString frmColumns::Title(const QStringList &keys) const
{
    return keys.value(1) + QLatin1Char('.') + keys.value(2) + QStringLiteral(" - Columns");
}

QString frmColumns::Query() const
{
    return QStringLiteral("SELECT COLUMN_NUMBER, COLUMN_NAME, DISPLAY_NAME, FIELD_NAME, SQL_TYPE_NAME, LENGTH, "
                          "PRECISION, SCALE, NULLABLE, UNSIGNED_ATTRIBUTE, UPDATABLE, VISIBLE, MONEY, AUTO_INCREMENT, "
                          "CASE_SENSITIVE, SEARCHABLE, RADIX, SETFILEPARAMETER, DEFAULT_VALUE, REMARKS FROM QN_COLUMN "
                          "WHERE DATABASE_NAME = '") +
           Esc(database()) + QStringLiteral("' AND TABLE_NAME = '") + Esc(table()) +
           QStringLiteral("' AND COLUMN_TYPE = 0 ORDER BY COLUMN_NUMBER ASC");
}

// The SQL types of the data source, then the fields of the table's file.
void frmColumns::PopulateCombos()
{
    QStringList types;
    for (const auto &type : Connection().SQLDTs.NewEnum())
        types << type->SQL_TYPE_NAME;
    RefillList(1, types);
    const QString file = modDatabase::FetchTableFile(Db(), database(), table());
    RefillList(0, QStringLiteral("SELECT FIELD_NAME FROM QN_FIELD WHERE FILE_NAME = '") + Esc(file) +
                      QLatin1Char('\''));
}

bool frmColumns::IsReadOnly() const { return database() == QLatin1String("QN"); }

bool frmColumns::RefuseCell(int row, int col) const
{
    return isTypeAttribute(col) && !isCharType(Cell(row, SQL_TYPE_NAME));
}

std::shared_ptr<CSQLDT> frmColumns::sqlType(const QString &name) const
{
    if (name.isEmpty())
        return nullptr;
    try {
        return Connection().SQLDTs.Item(name);
    } catch (const QnError &e) {
        if (e.Number() == qnerr::InvalidProcedureCall)
            return nullptr; // a name the cache does not hold
        throw;
    }
}

// A new SQL type without "CHAR" brings its attributes into the row.
void frmColumns::ListChanged(int element, const QString &text)
{
    if (element != 1 || text.isEmpty() || isCharType(text))
        return;
    const auto type = sqlType(text);
    if (!type)
        return;
    SetCell(LENGTH, QString::number(type->Length));
    SetCell(PRECISION, QString::number(type->PRECISION));
    SetCell(NULLABLE, modGrid::YesNo(type->NULLABLE));
    SetCell(UNSIGNED_ATTRIBUTE, modGrid::YesNo(type->UNSIGNED_ATTRIBUTE));
    SetCell(MONEY, modGrid::YesNo(type->MONEY));
    SetCell(AUTO_INCREMENT, modGrid::YesNo(type->AUTO_INCREMENT));
    SetCell(CASE_SENSITIVE, modGrid::YesNo(type->CASE_SENSITIVE));
    SetCell(SEARCHABLE, modGrid::CodeWord(QString::number(type->SEARCHABLE), modGrid::SearchableWords()));
    SetCell(RADIX, QString::number(type->RADIX));
}

// The next free column number, special columns counted.
void frmColumns::LookupClick(int element)
{
    if (element != 0)
        return;
    const auto rs = OpenQuery(QStringLiteral("SELECT COLUMN_NUMBER FROM QN_COLUMN WHERE DATABASE_NAME = '") +
                              Esc(database()) + QStringLiteral("' AND TABLE_NAME = '") + Esc(table()) +
                              QStringLiteral("' ORDER BY COLUMN_NUMBER DESC"));
    if (rs->Eof()) {
        SetEditorText(QStringLiteral("1"));
        return;
    }
    const auto highest = modString::WholeNumber(rs->Cell(0, 0).toString());
    SetEditorText(QString::number(highest.value_or(0) + 1));
}

bool frmColumns::IsValidLength(long Value) const
{
    if (Value < 0 || Value > 32767)
        return false;
    const auto type = sqlType(Cell(EditRow(), SQL_TYPE_NAME));
    return !type || Value <= type->Length;
}

bool frmColumns::IsValidPrecision(long Value) const
{
    if (Value < 0 || Value > 32767)
        return false;
    const auto type = sqlType(Cell(EditRow(), SQL_TYPE_NAME));
    return !type || Value <= type->PRECISION;
}

QString frmColumns::ValidateCell(int row, int col)
{
    const QString v = Cell(row, col);
    const QString where = QStringLiteral("SELECT COLUMN_NAME FROM QN_COLUMN WHERE DATABASE_NAME = '") + Esc(database()) +
                          QStringLiteral("' AND TABLE_NAME = '") + Esc(table()) + QLatin1Char('\'');
    // The bound a type attribute's message names: its type's, or the rule's own for an unknown type.
    auto bound = [&](bool length) {
        const auto type = sqlType(Cell(row, SQL_TYPE_NAME));
        return type ? qint64(length ? type->Length : type->PRECISION) : qint64(32767);
    };
    switch (col) {
    case COLUMN_NUMBER: {
        if (!modString::NumberIn(v, 1, 32767))
            return modString::OutOfRange(QStringLiteral("Column Number"), 1, 32767);
        const QString number = NumberText(v);
        const auto former = modString::WholeNumber(OrigKey(COLUMN_NUMBER));
        if ((!former || *former != modString::WholeNumber(v)) &&
            Exists(where + QStringLiteral(" AND COLUMN_TYPE = 0 AND COLUMN_NUMBER = ") + number))
            return QStringLiteral("This Table already contains a column with a ") + kCrLf +
                   QStringLiteral("Column Number of ") + number;
        return {};
    }
    case COLUMN_NAME:
        if (v.isEmpty())
            return QStringLiteral("Column Name cannot be blank");
        if ((v != OrigKey(COLUMN_NAME) || OrigKey(COLUMN_NAME).isEmpty()) &&
            Exists(where + QStringLiteral(" AND COLUMN_NAME = '") + Esc(v) + QLatin1Char('\'')))
            return QStringLiteral("This Table already contains a Column called '%1'").arg(v);
        if (QStringLiteral("'RFA'INDEX_NUMBER'INDEX_NAME'INDEX_COLUMNS'TABLE_ORDER'ROWID'RELATIVE_NUMBER'RELATIVE_INDEX'")
                .contains(QLatin1Char('\'') + v + QLatin1Char('\'')))
            return QStringLiteral("That is a reserved Column Name");
        return {};
    case DISPLAY_NAME: {
        const QString name = Cell(row, COLUMN_NAME);
        if (v.isEmpty() || name.isEmpty() || v.compare(name, Qt::CaseInsensitive) == 0)
            return {};
        return QStringLiteral("The Display Name (if used) MUST exactly match the Column Name (exclusive of case).");
    }
    case FIELD_NAME: {
        if (v.isEmpty())
            return QStringLiteral("Please select a Field Name from the dropdown list.");
        if (!OrigKey(FIELD_NAME).isEmpty() && v == OrigKey(FIELD_NAME))
            return {};
        QString user;
        if (Exists(where + QStringLiteral(" AND FIELD_NAME = '") + Esc(v) + QLatin1Char('\''), &user))
            return QStringLiteral("The Field '%1' is already used").arg(v) + kCrLf +
                   QStringLiteral("by Column '%1' in this Table.").arg(user);
        return {};
    }
    case SQL_TYPE_NAME:
        if (v.isEmpty())
            return QStringLiteral("Please select an SQL Type Name from the dropdown list.");
        return {};
    case LENGTH:
        if (v.isEmpty() || !modString::WholeNumber(v) || !IsValidLength(long(*modString::WholeNumber(v))))
            return modString::OutOfRange(QStringLiteral("Length"), 0, bound(true));
        return {};
    case PRECISION:
        if (v.isEmpty() || !modString::WholeNumber(v) || !IsValidPrecision(long(*modString::WholeNumber(v))))
            return modString::OutOfRange(QStringLiteral("Precision"), 0, bound(false));
        return {};
    case SCALE:
        if (!modString::NumberIn(v, 0, 32767))
            return modString::OutOfRange(QStringLiteral("Scale"), 0, 32767);
        return {};
    case RADIX:
        if (!modString::NumberIn(v, 0, 65535))
            return modString::OutOfRange(QStringLiteral("Radix"), 0, 65535);
        return {};
    case SETFILEPARAMETER:
        if (!modString::NumberIn(v, 0, 65535))
            return modString::OutOfRange(QStringLiteral("SetFileParameter"), 0, 65535);
        return {};
    default: return {};
    }
}

// The row is identified as an ordinary column, by its former number and name,
// so that the special columns (all numbered 1) are never touched.
QString frmColumns::DeleteSQL()
{
    return QStringLiteral("DELETE FROM QN_COLUMN WHERE DATABASE_NAME = '") + Esc(database()) +
           QStringLiteral("' AND TABLE_NAME = '") + Esc(table()) + QStringLiteral("' AND COLUMN_NUMBER = ") +
           NumberText(OrigKey(COLUMN_NUMBER)) + QStringLiteral(" AND COLUMN_TYPE = 0 AND COLUMN_NAME = '") +
           Esc(OrigKey(COLUMN_NAME)) + QLatin1Char('\'');
}

QString frmColumns::InsertSQL()
{
    const QString c = QStringLiteral(", ");
    return QStringLiteral("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, FIELD_NAME, "
                          "SQL_TYPE_NAME, LENGTH, PRECISION, SCALE, NULLABLE, UNSIGNED_ATTRIBUTE, UPDATABLE, VISIBLE, "
                          "MONEY, AUTO_INCREMENT, CASE_SENSITIVE, SEARCHABLE, RADIX, DEFAULT_VALUE, REMARKS, "
                          "SETFILEPARAMETER, COLUMN_TYPE, DISPLAY_NAME) VALUES (") +
           modDatabase::Quoted(database()) + QLatin1Char(',') + modDatabase::Quoted(table()) + c +
           Number(COLUMN_NUMBER) + c + Quoted(COLUMN_NAME) + c + Quoted(FIELD_NAME) + c + Quoted(SQL_TYPE_NAME) + c +
           Number(LENGTH) + c + Number(PRECISION) + c + Number(SCALE) + c + Flag(NULLABLE) + c +
           Flag(UNSIGNED_ATTRIBUTE) + c + Flag(UPDATABLE) + c + Flag(VISIBLE) + c + Flag(MONEY) + c +
           Flag(AUTO_INCREMENT) + c + Flag(CASE_SENSITIVE) + c + Code(SEARCHABLE) + c + Number(RADIX) + c +
           Quoted(DEFAULT_VALUE) + c + Quoted(REMARKS) + c + Number(SETFILEPARAMETER) + QStringLiteral(", 0,") +
           Quoted(DISPLAY_NAME) + QLatin1Char(')');
}

QString frmColumns::UpdateSQL()
{
    return QStringLiteral("UPDATE QN_COLUMN SET DISPLAY_NAME = ") + Quoted(DISPLAY_NAME) +
           QStringLiteral(", SQL_TYPE_NAME = ") + Quoted(SQL_TYPE_NAME) + QStringLiteral(", LENGTH = ") +
           Number(LENGTH) + QStringLiteral(", PRECISION = ") + Number(PRECISION) + QStringLiteral(", SCALE = ") +
           Number(SCALE) + QStringLiteral(", NULLABLE = ") + Flag(NULLABLE) +
           QStringLiteral(", UNSIGNED_ATTRIBUTE = ") + Flag(UNSIGNED_ATTRIBUTE) + QStringLiteral(", UPDATABLE = ") +
           Flag(UPDATABLE) + QStringLiteral(", VISIBLE = ") + Flag(VISIBLE) + QStringLiteral(", MONEY = ") +
           Flag(MONEY) + QStringLiteral(", AUTO_INCREMENT = ") + Flag(AUTO_INCREMENT) +
           QStringLiteral(", CASE_SENSITIVE = ") + Flag(CASE_SENSITIVE) + QStringLiteral(", SEARCHABLE = ") +
           Code(SEARCHABLE) + QStringLiteral(", RADIX = ") + Number(RADIX) +
           QStringLiteral(", SETFILEPARAMETER = ") + Number(SETFILEPARAMETER) + QStringLiteral(", DEFAULT_VALUE = ") +
           Quoted(DEFAULT_VALUE) + QStringLiteral(", REMARKS = ") + Quoted(REMARKS) +
           QStringLiteral(" WHERE DATABASE_NAME = '") + Esc(database()) + QStringLiteral("' AND TABLE_NAME = '") +
           Esc(table()) + QStringLiteral("' AND COLUMN_NUMBER = ") + Number(COLUMN_NUMBER) +
           QStringLiteral(" AND COLUMN_TYPE = 0");
}

QString frmColumns::ParentSQL() const
{
    return modDatabase::RowSQL(QStringLiteral("QN_TABLE"),
                               {QStringLiteral("DATABASE_NAME"), QStringLiteral("TABLE_NAME")}, {database(), table()});
}

QString frmColumns::tableKey() const { return NodeKey::Table(Datasource(), database(), table()); }

QString frmColumns::FolderKey() const { return NodeKey::Child(tableKey(), QStringLiteral("CO"), table()); }

std::optional<GridPane::Up> frmColumns::UpTarget() const
{
    return Up{tableKey(), QStringLiteral("frmTable"), {Datasource(), database(), table()}};
}
