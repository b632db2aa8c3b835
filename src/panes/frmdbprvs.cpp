#include "frmdbprvs.h"

#include "core/moddatabase.h"
#include "panehost/forms.h"
#include "tree/nodekey.h"

[[maybe_unused]] static const bool declared = forms::Declare<frmDBPRVs>(QStringLiteral("frmDBPRVs"));

namespace {

enum {
    USER_NAME,
    DATABASE_USERNAME,
    DATABASE_PASSWORD,
    SECURITY_LEVEL,
    ALLOW_SELECT,
    ALLOW_INSERT,
    ALLOW_UPDATE,
    ALLOW_DELETE,
    REMARKS,
};

} // namespace

frmDBPRVs::frmDBPRVs()
{
    setObjectName(QStringLiteral("frmDBPRVs"));
    auto permission = [](const char *name) {
        return Column(QString::fromLatin1(name)).List(2).YesNo().NewRow(QStringLiteral("No"));
    };
    Particulars p;
    p.catalogTable = QStringLiteral("QN_DBPRV");
    p.columns = {
        Column(QStringLiteral("USER_NAME")).List(0).Key(true),
        Column(QStringLiteral("DATABASE_USERNAME")),
        Column(QStringLiteral("DATABASE_PASSWORD")).Password().Mask().NewRow(kMask),
        Column(QStringLiteral("SECURITY_LEVEL")).List(1),
        permission("ALLOW_SELECT"),
        permission("ALLOW_INSERT"),
        permission("ALLOW_UPDATE"),
        permission("ALLOW_DELETE"),
        Column(QStringLiteral("REMARKS")),
    };
    p.lists = {{}, // the users, read at each Display
               {QStringLiteral("DATABASE"), QStringLiteral("TABLE")},
               {QStringLiteral("No"), QStringLiteral("Yes")}};
    p.editorFollowsScroll = true;
    SetParticulars(std::move(p));
}

QString frmDBPRVs::Title(const QStringList &keys) const { return keys.value(1) + QStringLiteral(" - Database Privileges"); }

QString frmDBPRVs::Query() const
{
    return QStringLiteral("SELECT USER_NAME, DATABASE_USERNAME, DATABASE_PASSWORD, SECURITY_LEVEL, ALLOW_SELECT, "
                          "ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE, REMARKS FROM QN_DBPRV WHERE DATABASE_NAME = '") +
           Esc(database()) + QStringLiteral("'ORDER BY USER_NAME ASC");
}

void frmDBPRVs::PopulateCombos()
{
    RefillList(0, QStringLiteral("SELECT USER_NAME FROM QN_USER ORDER BY USER_NAME ASC"));
}

// The new row repeats the security level of the privilege row above it; the first starts empty.
void frmDBPRVs::NewRow(int row)
{
    if (row > 0)
        grd->SetTextMatrix(row, SECURITY_LEVEL, Cell(row - 1, SECURITY_LEVEL));
}

QString frmDBPRVs::ValidateCell(int row, int col)
{
    if (col != USER_NAME)
        return {};
    const QString v = Cell(row, col);
    if (v.isEmpty())
        return QStringLiteral("Please select a User Name from the drop down list");
    if (v == OrigKey(USER_NAME) && !OrigKey(USER_NAME).isEmpty())
        return {};
    if (Exists(QStringLiteral("SELECT USER_NAME FROM QN_DBPRV WHERE DATABASE_NAME = '") + Esc(database()) +
               QStringLiteral("' AND USER_NAME = '") + Esc(v) + QLatin1Char('\'')))
        return QStringLiteral("The User Name '%1' already has privileges set for this Database.").arg(v);
    if (NewPassword().isEmpty())
        Inform(QStringLiteral("User Name has changed - password will be set to blank"));
    return {};
}

QString frmDBPRVs::DeleteSQL()
{
    return QStringLiteral("DELETE FROM QN_DBPRV WHERE DATABASE_NAME = '") + Esc(database()) +
           QStringLiteral("' AND USER_NAME = '") + Esc(OrigKey(USER_NAME)) + QLatin1Char('\'');
}

QString frmDBPRVs::InsertSQL()
{
    const QString c = QStringLiteral(", ");
    return QStringLiteral("INSERT INTO QN_DBPRV (USER_NAME, DATABASE_NAME, DATABASE_USERNAME, DATABASE_PASSWORD, "
                          "ALLOW_SELECT, ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE, SECURITY_LEVEL, REMARKS ) VALUES ('") +
           Esc(Cell(USER_NAME)) + QStringLiteral("', '") + Esc(database()) + QStringLiteral("', ") +
           Quoted(DATABASE_USERNAME) + QStringLiteral(", '") + Esc(NewPassword()) + QStringLiteral("', ") +
           Flag(ALLOW_SELECT) + c + Flag(ALLOW_INSERT) + c + Flag(ALLOW_UPDATE) + c + Flag(ALLOW_DELETE) + c +
           Quoted(SECURITY_LEVEL) + c + Quoted(REMARKS) + QStringLiteral(")");
}

QString frmDBPRVs::UpdateSQL()
{
    const QString password = NewPassword().isEmpty()
                                 ? QString()
                                 : QStringLiteral("DATABASE_PASSWORD = '") + Esc(NewPassword()) + QStringLiteral("', ");
    return QStringLiteral("UPDATE QN_DBPRV SET DATABASE_USERNAME = ") + Quoted(DATABASE_USERNAME) +
           QStringLiteral(", ") + password + QStringLiteral("ALLOW_SELECT = ") + Flag(ALLOW_SELECT) +
           QStringLiteral(", ALLOW_INSERT = ") + Flag(ALLOW_INSERT) + QStringLiteral(", ALLOW_UPDATE = ") +
           Flag(ALLOW_UPDATE) + QStringLiteral(", ALLOW_DELETE = ") + Flag(ALLOW_DELETE) +
           QStringLiteral(", SECURITY_LEVEL = ") + Quoted(SECURITY_LEVEL) + QStringLiteral(", REMARKS = ") +
           Quoted(REMARKS) + QStringLiteral(" WHERE DATABASE_NAME = '") + Esc(database()) +
           QStringLiteral("' AND USER_NAME = '") + Esc(OrigKey(USER_NAME)) + QLatin1Char('\'');
}

QString frmDBPRVs::ParentSQL() const
{
    return modDatabase::RowSQL(QStringLiteral("QN_DB"), {QStringLiteral("DATABASE_NAME")}, {database()});
}

QString frmDBPRVs::FolderKey() const
{
    return NodeKey::Child(NodeKey::Database(Datasource(), database()), QStringLiteral("DBPRV"), database());
}

std::optional<GridPane::Up> frmDBPRVs::UpTarget() const
{
    return Up{NodeKey::Database(Datasource(), database()), QStringLiteral("frmDatabase"), {Datasource(), database()}};
}
