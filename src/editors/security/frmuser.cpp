#include "frmuser.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardItem>

#include "core/controls.h"
#include "core/errortrace.h"
#include "core/moddatabase.h"
#include "core/modstring.h"
#include "core/modupdate.h"
#include "panehost/forms.h"
#include "tree/cnodes.h"
#include "tree/nodekey.h"
#include "tree/refreshnodepath.h"
#include "ui.h"

using panelook::Twips;

[[maybe_unused]] static const bool declared = forms::Declare<frmUser>(QStringLiteral("frmUser"));

namespace {
const QString kName = QStringLiteral("USER_NAME");
const QString kPassword = QStringLiteral("USER_PASSWORD");
const QString kRemarks = QStringLiteral("REMARKS");
const QString kAdmin = QStringLiteral("ADMIN");
} // namespace

frmUser::frmUser()
    : EditorFrame({QStringLiteral("frmUser"),
                   QStringLiteral("QN_USER"),
                   {kName},
                   {},
                   QStringLiteral("us"),
                   QStringLiteral("frmUsers"),
                   {},
                   QStringLiteral("Are you sure you want to delete this user?"),
                   false, // missingRowShowsEmpty
                   true,  // busyCursor
                   true,  // emptyBeforeRead
                   true}) // renameOnlyNewName
{
    setWindowTitle(QStringLiteral("User"));
    resize(Twips(0, 0, 7005, 5655).size());
    constexpr int prompt = 120, field = 1860, promptWidth = 1695, promptHeight = 255;
    auto row = [&](int top, int width, int height = 315) { return Twips(field, top, width, height); };
    auto at = [&](int top) { return Twips(prompt, top + 30, promptWidth, promptHeight); };

    // Created in the column order of the INSERT; the tab order is set below.
    txtPassword = AddPassword(1, kPassword, row(1140, 1575));
    txtRemarks = AddMemo(2, kRemarks, row(1860, 4815, 1035), QStringLiteral("Any notes you wish to make about this User"));
    txtName = AddText(0, kName, row(780, 2775));
    txtConfirm = AddConfirm(kPassword, row(1500, 1575));

    AddPrompt(0, QStringLiteral("&User Name:"), at(780), txtName, true);
    AddPrompt(1, QStringLiteral("&Password:"), at(1140), txtPassword);
    AddPrompt(3, QStringLiteral("&Confirm Password:"), at(1500), txtConfirm);
    AddPrompt(2, QStringLiteral("Re&marks:"), at(1860), txtRemarks);
    PlaceButtons(4380, 3060);

    const QList<QWidget *> order = {txtName, txtPassword, txtConfirm, txtRemarks, cmdAction, cmdCancel};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

QString frmUser::Title(Entry entry) const
{
    switch (entry) {
    case Entry::Display: return m_shownKey + QStringLiteral(" - User Properties");
    case Entry::Add: return QStringLiteral("Add New User to ") + DataSource();
    case Entry::Edit: return m_shownKey + QStringLiteral(" - Edit User Properties");
    case Entry::Delete: return m_shownKey + QStringLiteral(" - Delete User");
    }
    return {};
}

QString frmUser::SelectSQL() const
{
    return QStringLiteral("SELECT * FROM QN_USER WHERE USER_NAME = ") + Quote(m_shownKey) + QLatin1Char(' ');
}

QString frmUser::CalcParentKey() const
{
    const QString n = DataSource();
    return NodeKey::Child(NodeKey::Datasource(n), QStringLiteral("US"), n);
}

// 'ADMIN' is refused before the frame's commands: it is never deleted, never renamed.
void frmUser::tbr_ButtonClick(const QString &key)
{
    const QWidget *box = mTextCtrls.Find(kName);
    const QString name = box ? controls::Text(box) : QString();
    const QString mode = EditorMode();
    if (name == kAdmin &&
        (key == QLatin1String("User Delete") || (key == QLatin1String("OK") && mode == QLatin1String("User Delete")))) {
        TraceScope trace(TraceName("tbr_ButtonClick"));
        Ui().MsgBox(QStringLiteral("You cannot delete the ADMIN User!"), ui::vbInformation);
        return;
    }
    if (key == QLatin1String("OK") && mode == QLatin1String("User Edit") && m_shownKey == kAdmin && name != kAdmin) {
        TraceScope trace(TraceName("tbr_ButtonClick"));
        Ui().MsgBox(QStringLiteral("You cannot change the name of the ADMIN user."), ui::vbInformation);
        SetText(kName, kAdmin);
        txtName->setFocus();
        return;
    }
    EditorFrame::tbr_ButtonClick(key);
}

bool frmUser::ConfirmDelete()
{
    if (Text(kName) == kAdmin) {
        Ui().MsgBox(QStringLiteral("You cannot delete User 'ADMIN'"), ui::vbCritical);
        return false;
    }
    return EditorFrame::ConfirmDelete();
}

bool frmUser::ValidateFields()
{
    TraceScope trace(TraceName("ValidateFields"));
    const QString name = Text(kName);
    if (modString::TrimBlanks(name).isEmpty())
        return Refuse(QStringLiteral("Please enter a User Name."), txtName);
    if (name != m_shownKey && RowExists(QStringLiteral("SELECT * FROM QN_USER WHERE USER_NAME = ") + Quote(name)))
        return Refuse(QStringLiteral("A user called '") + name +
                          QStringLiteral("' already exits in the Datasource.\r\nUse a unique name to identify this user."),
                      txtName);
    if (!PasswordGiven(kPassword) && NameChanged() && !KeepBlankPassword(kPassword))
        return false;
    return PasswordConfirmed(kPassword);
}

// The password only when one was typed; otherwise the stored one stays.
QString frmUser::UpdateSQL() const
{
    QStringList columns;
    if (PasswordGiven(kPassword))
        columns << kPassword;
    columns << kRemarks;
    return UpdateStatement(columns, kName + QStringLiteral(" = ") + Quote(m_shownKey));
}

bool frmUser::Rename(const QString &oldName, const QString &newName)
{
    return modUpdate::UpdateUser(DataSource(), oldName, newName);
}

QList<EditorFrame::Statement> frmUser::DeleteStatements() const
{
    const QString where = kName + QStringLiteral(" = ") + Quote(m_shownKey);
    return {
        {{}, modDatabase::BuildDeleteSQL(QStringLiteral("QN_USER"), where)},
        {{}, modDatabase::BuildDeleteSQL(QStringLiteral("QN_DBPRV"), where)},
        {{}, modDatabase::BuildDeleteSQL(QStringLiteral("QN_TBLPRV"), where)},
    };
}

// A new user is listed in the Users folder; an edit's tree upkeep is ReKeyTree.
void frmUser::RefreshFolder()
{
    if (EditorMode() == QLatin1String("User Add"))
        modGUI::RefreshNodePath(CalcParentKey());
}

// The user's node and, under the privilege folders that are expanded, the
// nodes of its privileges take the new name; each row's step on its own.
void frmUser::ReKeyTree(const QString &oldName, const QString &newName)
{
    EditorFrame::ReKeyTree(oldName, newName);
    const QString n = DataSource();
    auto reKeyUnder = [&](const QString &folder, const QString &tag) {
        TreeStep([&] {
            QStandardItem *node = gNodes().Node(folder);
            if (node && gNodes().Expanded(node))
                ReKeyNode(NodeKey::Child(folder, tag, oldName), NodeKey::Child(folder, tag, newName), newName);
        });
    };
    const auto dbprv = db().OpenRecordset(
        QStringLiteral("SELECT DATABASE_NAME FROM QN_DBPRV WHERE USER_NAME = ") + Quote(newName), dao::dbOpenSnapshot);
    for (; !dbprv->Eof(); dbprv->MoveNext()) {
        const QString d = dbprv->Value(QStringLiteral("DATABASE_NAME")).toString();
        reKeyUnder(NodeKey::Child(NodeKey::Database(n, d), QStringLiteral("DBPRV"), d), QStringLiteral("dbprv"));
    }
    const auto tblprv = db().OpenRecordset(
        QStringLiteral("SELECT DATABASE_NAME, TABLE_NAME FROM QN_TBLPRV WHERE USER_NAME = ") + Quote(newName),
        dao::dbOpenSnapshot);
    for (; !tblprv->Eof(); tblprv->MoveNext()) {
        const QString d = tblprv->Value(QStringLiteral("DATABASE_NAME")).toString();
        const QString t = tblprv->Value(QStringLiteral("TABLE_NAME")).toString();
        reKeyUnder(NodeKey::Child(NodeKey::Table(n, d, t), QStringLiteral("TBLPRV"), t), QStringLiteral("tblprv"));
    }
}

// The user's node goes; the databases, where its privilege nodes were, are
// reloaded and their folder selected (when the tree shows it).
void frmUser::RemoveFromTree()
{
    EditorFrame::RemoveFromTree();
    const QString n = DataSource();
    const QString databases = NodeKey::Child(NodeKey::Datasource(n), QStringLiteral("DB"), n);
    if (!gNodes().Node(databases))
        return;
    modGUI::RefreshNodePath(databases);
    SelectNode(databases);
}
