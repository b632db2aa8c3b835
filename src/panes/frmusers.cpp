#include "frmusers.h"

#include "panehost/forms.h"
#include "tree/nodekey.h"

[[maybe_unused]] static const bool declared = forms::Declare<frmUsers>(QStringLiteral("frmUsers"));

namespace {

enum { USER_NAME, USER_PASSWORD, REMARKS };

} // namespace

frmUsers::frmUsers()
{
    setObjectName(QStringLiteral("frmUsers"));
    Particulars p;
    p.catalogTable = QStringLiteral("QN_USER");
    p.columns = {
        Column(QStringLiteral("USER_NAME")).Key(true),
        Column(QStringLiteral("USER_PASSWORD")).Password().Mask().NewRow(kMask),
        Column(QStringLiteral("REMARKS")),
    };
    p.titleAfterConnect = true;
    SetParticulars(std::move(p));
}

QString frmUsers::Title(const QStringList &) const { return Datasource() + QStringLiteral(" - Users"); }

QString frmUsers::Query() const
{
    return QStringLiteral("SELECT USER_NAME, USER_PASSWORD, REMARKS FROM QN_USER ORDER BY USER_NAME ASC");
}

// The administrator's name cell never opens.
bool frmUsers::RefuseCell(int, int col) const
{
    return col == USER_NAME && OrigKey(USER_NAME) == QLatin1String("ADMIN");
}

QString frmUsers::ValidateCell(int row, int col)
{
    if (col != USER_NAME)
        return {};
    const QString v = Cell(row, col);
    if (v.isEmpty())
        return QStringLiteral("User Name cannot be blank");
    if ((v != OrigKey(USER_NAME) || OrigKey(USER_NAME).isEmpty()) &&
        Exists(QStringLiteral("SELECT USER_NAME FROM QN_USER WHERE USER_NAME = '") + Esc(v) + QLatin1Char('\'')))
        return QStringLiteral("This Datasource already contains a User called '%1'").arg(v);
    if (NewPassword().isEmpty() && v != OrigKey(USER_NAME))
        Inform(QStringLiteral("User Name has changed - password will be set to blank"));
    return {};
}

QString frmUsers::DeleteSQL()
{
    return QStringLiteral("DELETE FROM QN_USER WHERE USER_NAME = '") + Esc(OrigKey(USER_NAME)) + QStringLiteral("' ");
}

QString frmUsers::InsertSQL()
{
    return QStringLiteral("INSERT INTO QN_USER (USER_NAME, USER_PASSWORD, REMARKS) VALUES ('") + Esc(Cell(USER_NAME)) +
           QStringLiteral("', '") + Esc(NewPassword()) + QStringLiteral("', ") + Quoted(REMARKS) +
           QStringLiteral(") ");
}

QString frmUsers::UpdateSQL()
{
    const QString password = NewPassword().isEmpty()
                                 ? QString()
                                 : QStringLiteral("USER_PASSWORD = '") + Esc(NewPassword()) + QStringLiteral("', ");
    return QStringLiteral("UPDATE QN_USER SET ") + password + QStringLiteral("REMARKS = ") + Quoted(REMARKS) +
           QStringLiteral(" WHERE USER_NAME = '") + Esc(Cell(USER_NAME)) + QStringLiteral("' ");
}

QString frmUsers::FolderKey() const
{
    return NodeKey::Child(NodeKey::Datasource(Datasource()), QStringLiteral("US"), Datasource());
}
