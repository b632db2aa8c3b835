#include "frmtblprvs.h"

#include "core/moddatabase.h"
#include "panehost/forms.h"
#include "tree/nodekey.h"

[[maybe_unused]] static const bool declared = forms::Declare<frmTBLPRVs>(QStringLiteral("frmTBLPRVs"));

namespace {

enum { USER_NAME, ALLOW_SELECT, ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE, REMARKS };

} // namespace

frmTBLPRVs::frmTBLPRVs()
{
    setObjectName(QStringLiteral("frmTBLPRVs"));
    auto permission = [](const char *name) {
        return Column(QString::fromLatin1(name)).List(1).YesNo().NewRow(QStringLiteral("No"));
    };
    Particulars p;
    p.catalogTable = QStringLiteral("QN_TBLPRV");
    p.columns = {
        Column(QStringLiteral("USER_NAME")).List(0).Key(true),
        permission("ALLOW_SELECT"),
        permission("ALLOW_INSERT"),
        permission("ALLOW_UPDATE"),
        permission("ALLOW_DELETE"),
        Column(QStringLiteral("REMARKS")),
    };
    p.lists = {{}, {QStringLiteral("No"), QStringLiteral("Yes")}}; // the users are read at each Display
    p.editorFollowsScroll = true;
    SetParticulars(std::move(p));
}

QString frmTBLPRVs::Title(const QStringList &keys) const
{
    return keys.value(1) + QLatin1Char('.') + keys.value(2) + QStringLiteral(" - User Privileges");
}

QString frmTBLPRVs::Query() const
{
    return QStringLiteral("SELECT USER_NAME, ALLOW_SELECT, ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE, REMARKS FROM "
                          "QN_TBLPRV WHERE DATABASE_NAME = '") +
           Esc(database()) + QStringLiteral("' AND TABLE_NAME = '") + Esc(table()) +
           QStringLiteral("' ORDER BY USER_NAME ASC");
}

void frmTBLPRVs::PopulateCombos() { RefillList(0, QStringLiteral("SELECT USER_NAME FROM QN_USER ")); }

bool frmTBLPRVs::IsReadOnly() const { return database() == QLatin1String("QN"); }

QString frmTBLPRVs::ValidateCell(int row, int col)
{
    if (col != USER_NAME)
        return {};
    const QString u = Cell(row, col);
    if (u.isEmpty())
        return QStringLiteral("User Name Cannot be blank.");
    if ((u != OrigKey(USER_NAME) || OrigKey(USER_NAME).isEmpty()) &&
        Exists(QStringLiteral("SELECT USER_NAME FROM QN_TBLPRV WHERE DATABASE_NAME = '") + Esc(database()) +
               QStringLiteral("' AND TABLE_NAME = '") + Esc(table()) + QStringLiteral("' AND USER_NAME = '") + Esc(u) +
               QLatin1Char('\'')))
        return QStringLiteral("This Table already has privileges set for User '%1'").arg(u);
    return {};
}

QString frmTBLPRVs::DeleteSQL()
{
    return QStringLiteral("DELETE FROM QN_TBLPRV WHERE DATABASE_NAME = '") + Esc(database()) +
           QStringLiteral("' AND TABLE_NAME = '") + Esc(table()) + QStringLiteral("' AND USER_NAME = '") +
           Esc(OrigKey(USER_NAME)) + QLatin1Char('\'');
}

QString frmTBLPRVs::InsertSQL()
{
    const QString c = QStringLiteral(", ");
    return QStringLiteral("INSERT INTO QN_TBLPRV (DATABASE_NAME, TABLE_NAME, USER_NAME, ALLOW_SELECT, ALLOW_INSERT, "
                          "ALLOW_UPDATE, ALLOW_DELETE, REMARKS) VALUES ('") +
           Esc(database()) + QStringLiteral("','") + Esc(table()) + QStringLiteral("', '") + Esc(Cell(USER_NAME)) +
           QStringLiteral("', ") + Flag(ALLOW_SELECT) + c + Flag(ALLOW_INSERT) + c + Flag(ALLOW_UPDATE) + c +
           Flag(ALLOW_DELETE) + c + Quoted(REMARKS) + QStringLiteral(") ");
}

QString frmTBLPRVs::UpdateSQL()
{
    return QStringLiteral("UPDATE QN_TBLPRV SET ALLOW_SELECT = ") + Flag(ALLOW_SELECT) +
           QStringLiteral(", ALLOW_INSERT = ") + Flag(ALLOW_INSERT) + QStringLiteral(", ALLOW_UPDATE = ") +
           Flag(ALLOW_UPDATE) + QStringLiteral(", ALLOW_DELETE = ") + Flag(ALLOW_DELETE) +
           QStringLiteral(", REMARKS = ") + Quoted(REMARKS) + QStringLiteral(" WHERE DATABASE_NAME = '") +
           Esc(database()) + QStringLiteral("' AND TABLE_NAME = '") + Esc(table()) +
           QStringLiteral("' AND USER_NAME = '") + Esc(OrigKey(USER_NAME)) + QLatin1Char('\'');
}

QString frmTBLPRVs::ParentSQL() const
{
    return modDatabase::RowSQL(QStringLiteral("QN_TABLE"),
                               {QStringLiteral("DATABASE_NAME"), QStringLiteral("TABLE_NAME")}, {database(), table()});
}

QString frmTBLPRVs::tableKey() const { return NodeKey::Table(Datasource(), database(), table()); }

QString frmTBLPRVs::FolderKey() const { return NodeKey::Child(tableKey(), QStringLiteral("TBLPRV"), table()); }

std::optional<GridPane::Up> frmTBLPRVs::UpTarget() const
{
    return Up{tableKey(), QStringLiteral("frmTable"), {Datasource(), database(), table()}};
}
