#include "frmdatabases.h"

#include <QComboBox>

#include "panehost/forms.h"
#include "settings.h"
#include "tree/nodekey.h"

[[maybe_unused]] static const bool declared = forms::Declare<frmDatabases>(QStringLiteral("frmDatabases"));

namespace {

enum { DATABASE_NAME, DISPLAY_NAME, DEFAULT_DIRECTORY, DRIVER_NAME, SETUP_PROCEDURE, CONNECT_STRING, REMARKS };

const QString kCatalogDatabase = QStringLiteral("QN");

} // namespace

frmDatabases::frmDatabases()
{
    setObjectName(QStringLiteral("frmDatabases"));
    Particulars p;
    p.catalogTable = QStringLiteral("QN_DB");
    p.columns = {
        Column(QStringLiteral("DATABASE_NAME")).Key(true),
        Column(QStringLiteral("DISPLAY_NAME")),
        Column(QStringLiteral("DEFAULT_DIRECTORY")),
        Column(QStringLiteral("DRIVER_NAME")).List(0),
        Column(QStringLiteral("SETUP_PROCEDURE")),
        Column(QStringLiteral("CONNECT_STRING")),
        Column(QStringLiteral("REMARKS")),
    };
    p.lists = {{}}; // the drivers, read at each Display and each drop-down
    SetParticulars(std::move(p));
}

QString frmDatabases::Title(const QStringList &keys) const { return keys.value(0) + QStringLiteral(" - Databases"); }

QString frmDatabases::Query() const
{
    return QStringLiteral("SELECT DATABASE_NAME, DISPLAY_NAME, DEFAULT_DIRECTORY, DRIVER_NAME, SETUP_PROCEDURE, "
                          "CONNECT_STRING, REMARKS ") +
           (options::SysTables() == 0 ? QStringLiteral("FROM QN_DB WHERE DATABASE_NAME <> 'QN' ")
                                      : QStringLiteral("FROM QN_DB ")) +
           QStringLiteral("ORDER BY DATABASE_NAME ASC");
}

// The driver list; the catalog's own database has the one driver SYSTEM.
void frmDatabases::PopulateCombos()
{
    if (EditRow() >= 0 && Cell(EditRow(), DATABASE_NAME) == kCatalogDatabase) {
        RefillList(0, QStringList{QStringLiteral("SYSTEM")});
        cboCell[0]->setEditText(QStringLiteral("SYSTEM"));
        return;
    }
    RefillList(0, QStringLiteral("SELECT DRIVER_NAME FROM QN_DRIVER WHERE DRIVER_NAME <> '' AND DRIVER_NAME <> "
                                 "'SYSTEM' ORDER BY DRIVER_NAME ASC"));
}

void frmDatabases::ListDropDown(int element)
{
    if (element == 0)
        PopulateCombos();
}

// By the stored name: a row whose typed name is refused stays editable.
bool frmDatabases::RefuseCell(int, int) const { return OrigKey(DATABASE_NAME) == kCatalogDatabase; }

// The new row takes the driver of the row above it; with no database listed it starts empty.
void frmDatabases::NewRow(int row)
{
    if (row > 0)
        grd->SetTextMatrix(row, DRIVER_NAME, Cell(row - 1, DRIVER_NAME));
}

QString frmDatabases::ValidateCell(int row, int col)
{
    const QString v = Cell(row, col);
    switch (col) {
    case DATABASE_NAME:
        if (v.isEmpty())
            return QStringLiteral("Database Name cannot be blank");
        if ((v != OrigKey(DATABASE_NAME) || OrigKey(DATABASE_NAME).isEmpty()) &&
            Exists(QStringLiteral("SELECT DATABASE_NAME FROM QN_DB WHERE DATABASE_NAME = '") + Esc(v) +
                   QLatin1Char('\'')))
            return QStringLiteral("The Database Name '%1' has already been used in this Datasource.").arg(v);
        return {};
    case DISPLAY_NAME: {
        const QString name = Cell(row, DATABASE_NAME);
        if (!v.isEmpty() && !name.isEmpty() && v.toUpper() != name.toUpper())
            return QStringLiteral("The Display Name (if used) MUST match the Database Name (exclusive of case).");
        return {};
    }
    default: return {};
    }
}

QString frmDatabases::DeleteSQL()
{
    return QStringLiteral("DELETE FROM QN_DB WHERE DATABASE_NAME = '") + Esc(OrigKey(DATABASE_NAME)) +
           QStringLiteral("' ");
}

QString frmDatabases::InsertSQL()
{
    return QStringLiteral("INSERT INTO QN_DB (DATABASE_NAME, DEFAULT_DIRECTORY, DRIVER_NAME, SETUP_PROCEDURE, "
                          "CONNECT_STRING, REMARKS, DISPLAY_NAME) VALUES ('") +
           Esc(Cell(DATABASE_NAME)) + QStringLiteral("', ") + Quoted(DEFAULT_DIRECTORY) + QStringLiteral(", ") +
           Quoted(DRIVER_NAME) + QStringLiteral(", ") + Quoted(SETUP_PROCEDURE) + QStringLiteral(", ") +
           Quoted(CONNECT_STRING) + QStringLiteral(", ") + Quoted(REMARKS) + QStringLiteral(", ") +
           Quoted(DISPLAY_NAME) + QStringLiteral(")");
}

QString frmDatabases::UpdateSQL()
{
    return QStringLiteral("UPDATE QN_DB SET DEFAULT_DIRECTORY = ") + Quoted(DEFAULT_DIRECTORY) +
           QStringLiteral(",DRIVER_NAME= ") + Quoted(DRIVER_NAME) + QStringLiteral(",SETUP_PROCEDURE = ") +
           Quoted(SETUP_PROCEDURE) + QStringLiteral(",CONNECT_STRING = ") + Quoted(CONNECT_STRING) +
           QStringLiteral(",REMARKS = ") + Quoted(REMARKS) + QStringLiteral(",DISPLAY_NAME = ") +
           Quoted(DISPLAY_NAME) + QStringLiteral(" WHERE DATABASE_NAME = '") + Esc(OrigKey(DATABASE_NAME)) +
           QLatin1Char('\'');
}

QString frmDatabases::FolderKey() const
{
    return NodeKey::Child(NodeKey::Datasource(Datasource()), QStringLiteral("DB"), Datasource());
}
