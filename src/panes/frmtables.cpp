#include "frmtables.h"

#include "core/moddatabase.h"
#include "core/modstring.h"
#include "dialogs/frmcriteriabuilder.h"
#include "panehost/forms.h"
#include "panes/ctltextlookup.h"
#include "settings.h"
#include "tree/nodekey.h"

[[maybe_unused]] static const bool declared = forms::Declare<frmTables>(QStringLiteral("frmTables"));

namespace {

enum { TABLE_NAME, DISPLAY_NAME, TABLE_TYPE, FILE_NAME, FILE_SPECIFICATION, NUMBER_COLUMNS, CRITERIA, REMARKS };

} // namespace

frmTables::frmTables()
{
    setObjectName(QStringLiteral("frmTables"));
    Particulars p;
    p.catalogTable = QStringLiteral("QN_TABLE");
    p.columns = {
        Column(QStringLiteral("TABLE_NAME")).Key(true),
        Column(QStringLiteral("DISPLAY_NAME")),
        Column(QStringLiteral("TABLE_TYPE")).List(0).NewRow(QStringLiteral("TABLE")),
        Column(QStringLiteral("FILE_NAME")).List(1),
        Column(QStringLiteral("FILE_SPECIFICATION")),
        Column(QStringLiteral("NUMBER_COLUMNS")).Lookup(0).Number().NewRow(QStringLiteral("0")),
        Column(QStringLiteral("CRITERIA")).Lookup(1),
        Column(QStringLiteral("REMARKS")),
    };
    p.lists = {{QStringLiteral("TABLE")}, {}}; // the file list is read at each Display
    p.lookups = 2;
    SetParticulars(std::move(p));
    ctlLUCell[1]->setTextEnabled(false); // criteria come from the builder only
}

QString frmTables::Title(const QStringList &keys) const { return keys.value(1) + QStringLiteral(" - Tables"); }

QString frmTables::Query() const
{
    return QStringLiteral("SELECT TABLE_NAME, DISPLAY_NAME, TABLE_TYPE, FILE_NAME, FILE_SPECIFICATION, NUMBER_COLUMNS, "
                          "CRITERIA, REMARKS FROM QN_TABLE WHERE DATABASE_NAME = '") +
           Esc(database()) + QStringLiteral("' ORDER BY TABLE_NAME ASC");
}

// The file list, without the catalog's own files unless they are shown.
void frmTables::PopulateCombos()
{
    RefillList(1, options::SysTables() != 0
                      ? QStringLiteral("SELECT FILE_NAME FROM QN_FILE ")
                      : QStringLiteral("SELECT FILE_NAME FROM QN_FILE WHERE FILE_NAME NOT IN ('CNTRL','COLUMN','DB',"
                                       "'DBPRV','DRIVER','FIELD','FILE','KEY','LOCDT','SQLDT','TABLE','TBLPRV','USER')"));
}

bool frmTables::IsReadOnly() const { return database() == QLatin1String("QN"); }

void frmTables::LookupClick(int element)
{
    if (element == 0) {
        // The columns saved under the row's saved name, special columns included.
        if (OrigKey(TABLE_NAME).isEmpty()) {
            SetEditorText(QStringLiteral("0"));
            return;
        }
        const auto rs = OpenQuery(QStringLiteral("SELECT COUNT(*) AS COLUMN_COUNT FROM QN_COLUMN WHERE DATABASE_NAME = '") +
                                  Esc(database()) + QStringLiteral("' AND TABLE_NAME = '") + Esc(OrigKey(TABLE_NAME)) +
                                  QLatin1Char('\''));
        SetEditorText(rs->Eof() ? QStringLiteral("0") : rs->Value(QStringLiteral("COLUMN_COUNT")).toString());
        return;
    }
    // The criteria builder over the columns of the saved table, or of the name typed.
    const QString table = OrigKey(TABLE_NAME).isEmpty() ? Cell(TABLE_NAME) : OrigKey(TABLE_NAME);
    if (table.isEmpty()) {
        Inform(QStringLiteral("Please enter a Table Name before adding criteria."));
        return;
    }
    const QString criteria = frmCriteriaBuilder::GetCriteria(Datasource(), database(), table, EditorText());
    // Into the cell as well: the editor takes no focus, so the grid may reopen it.
    SetEditorText(criteria);
    SetCell(CRITERIA, criteria);
}

QString frmTables::ValidateCell(int row, int col)
{
    const QString v = Cell(row, col);
    switch (col) {
    case TABLE_NAME:
        if (v.isEmpty())
            return QStringLiteral("Table Name cannot be blank");
        if ((v != OrigKey(TABLE_NAME) || OrigKey(TABLE_NAME).isEmpty()) &&
            Exists(QStringLiteral("SELECT TABLE_NAME FROM QN_TABLE WHERE DATABASE_NAME = '") + Esc(database()) +
                   QStringLiteral("' AND TABLE_NAME = '") + Esc(v) + QStringLiteral("' ")))
            return QStringLiteral("This Database already contains a Table called '%1'").arg(v);
        return {};
    case DISPLAY_NAME: {
        const QString name = Cell(row, TABLE_NAME);
        if (!v.isEmpty() && !name.isEmpty() && v.toUpper() != name.toUpper())
            return QStringLiteral("The Display Name (if used) MUST exactly match the Table Name (exclusive of case).");
        return {};
    }
    case FILE_NAME:
        if (v.isEmpty())
            return QStringLiteral("Please select a File Name from the dropdown list");
        return {};
    case FILE_SPECIFICATION:
        if (v.isEmpty())
            return QStringLiteral("File Specification cannot be blank");
        return {};
    case NUMBER_COLUMNS:
        if (!modString::NumberIn(v, 0, 32767))
            return modString::OutOfRange(QStringLiteral("Column Number"), 0, 32767);
        return {};
    default: return {};
    }
}

QString frmTables::DeleteSQL()
{
    return QStringLiteral("DELETE FROM QN_TABLE WHERE DATABASE_NAME = '") + Esc(database()) +
           QStringLiteral("' AND TABLE_NAME = '") + Esc(OrigKey(TABLE_NAME)) + QStringLiteral("' ");
}

QString frmTables::InsertSQL()
{
    const QString c = QStringLiteral(", ");
    return QStringLiteral("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, DISPLAY_NAME, TABLE_TYPE, FILE_NAME, "
                          "FILE_SPECIFICATION, NUMBER_COLUMNS, CRITERIA, REMARKS) VALUES ('") +
           Esc(database()) + QStringLiteral("','") + Esc(Cell(TABLE_NAME)) + QStringLiteral("', ") +
           Quoted(DISPLAY_NAME) + c + Quoted(TABLE_TYPE) + c + Quoted(FILE_NAME) + c + Quoted(FILE_SPECIFICATION) + c +
           Number(NUMBER_COLUMNS) + c + Quoted(CRITERIA) + c + Quoted(REMARKS) + QStringLiteral(") ");
}

QString frmTables::UpdateSQL()
{
    return QStringLiteral("UPDATE QN_TABLE SET DISPLAY_NAME = ") + Quoted(DISPLAY_NAME) +
           QStringLiteral(", TABLE_TYPE = ") + Quoted(TABLE_TYPE) + QStringLiteral(", FILE_NAME = ") +
           Quoted(FILE_NAME) + QStringLiteral(", FILE_SPECIFICATION = ") + Quoted(FILE_SPECIFICATION) +
           QStringLiteral(", NUMBER_COLUMNS = ") + Number(NUMBER_COLUMNS) + QStringLiteral(", CRITERIA = ") +
           Quoted(CRITERIA) + QStringLiteral(", REMARKS = ") + Quoted(REMARKS) +
           QStringLiteral(" WHERE DATABASE_NAME = '") + Esc(database()) + QStringLiteral("' AND TABLE_NAME = '") +
           Esc(OrigKey(TABLE_NAME)) + QStringLiteral("' ");
}

QString frmTables::ParentSQL() const
{
    return modDatabase::RowSQL(QStringLiteral("QN_DB"), {QStringLiteral("DATABASE_NAME")}, {database()});
}

QString frmTables::databaseKey() const { return NodeKey::Database(Datasource(), database()); }

QString frmTables::FolderKey() const { return NodeKey::Child(databaseKey(), QStringLiteral("TA"), database()); }

std::optional<GridPane::Up> frmTables::UpTarget() const
{
    return Up{databaseKey(), QStringLiteral("frmDatabase"), {Datasource(), database()}};
}
