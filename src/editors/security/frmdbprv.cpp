#include "frmdbprv.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "core/errortrace.h"
#include "core/moddatabase.h"
#include "core/modupdate.h"
#include "panehost/forms.h"
#include "tree/nodekey.h"
#include "tree/refreshnodepath.h"

using panelook::Twips;

[[maybe_unused]] static const bool declared = forms::Declare<frmDBPRV>(QStringLiteral("frmDBPRV"));

namespace {
const QString kDatabase = QStringLiteral("DATABASE_NAME");
const QString kUser = QStringLiteral("USER_NAME");
const QString kDbUser = QStringLiteral("DATABASE_USERNAME");
const QString kPassword = QStringLiteral("DATABASE_PASSWORD");
const QString kLevel = QStringLiteral("SECURITY_LEVEL");
const QString kRemarks = QStringLiteral("REMARKS");
} // namespace

frmDBPRV::frmDBPRV()
    : PrivilegeEditor({QStringLiteral("frmDBPRV"),
                   QStringLiteral("QN_DBPRV"),
                   {kDatabase, kUser},
                   {},
                   QStringLiteral("dbprv"),
                   QStringLiteral("frmDBPRVs"),
                   {kUser},
                   QStringLiteral("Are you sure you wish to delete this users database privileges?"),
                   false, // missingRowShowsEmpty
                   true,  // busyCursor
                   true,  // emptyBeforeRead
                   true,  // renameOnlyNewName
                   {{QStringLiteral("QN_DB"), {kDatabase}}, {QStringLiteral("QN_USER"), {kUser}}}})
{
    setWindowTitle(QStringLiteral("Database Privileges"));
    resize(Twips(0, 0, 7005, 5655).size());
    constexpr int prompt = 120, field = 1860, promptWidth = 1695, promptHeight = 255;
    auto row = [&](int top, int width, int height = 315) { return Twips(field, top, width, height); };
    auto at = [&](int top) { return Twips(prompt, top + 30, promptWidth, promptHeight); };
    auto twin = [&](int index) { return Twips(60 + (index % 5) * 1095, 4740 + (index / 5) * 360, 1035, 315); };

    // Created in the column order of the INSERT; the tab order is set below.
    txtDatabase = AddText(0, kDatabase, row(780, 1575));
    txtUser = AddTwin(1, kUser, twin(0));
    txtDbUser = AddText(2, kDbUser, row(1500, 2775));
    txtPassword = AddPassword(3, kPassword, row(1860, 1575));
    txtLevel = AddTwin(4, kLevel, twin(1));
    txtRemarks = AddMemo(5, kRemarks, row(2940, 4815, 675),
                         QStringLiteral("Any notes you wish to make about this User's Database Privileges"));
    AddRightTwins(6, [&](int i) { return twin(2 + i); });
    txtConfirm = AddConfirm(kPassword, row(2220, 1575));
    cboUser = AddCombo(0, kUser, row(1140, 2775));
    cboLevel = AddCombo(1, kLevel, row(2580, 1635), {}, false);
    cboLevel->addItems({QStringLiteral("DATABASE"), QStringLiteral("TABLE")});
    cboLevel->setCurrentIndex(-1);

    AddPrompt(0, QStringLiteral("Database Name:"), at(780), txtDatabase);
    AddPrompt(1, QStringLiteral("User &Name:"), at(1140), cboUser, true);
    AddPrompt(2, QStringLiteral("Data&base Username"), at(1500), txtDbUser);
    AddPrompt(3, QStringLiteral("Database &Password:"), at(1860), txtPassword);
    AddPrompt(4, QStringLiteral("&Confirm Password:"), at(2220), txtConfirm);
    AddPrompt(5, QStringLiteral("Security &Level:"), at(2580), cboLevel);
    AddPrompt(6, QStringLiteral("Re&marks"), at(2940), txtRemarks);
    AddPrompt(7, QStringLiteral("Privileges:"), at(3720));
    AddRights(8, 3720, QStringLiteral("Database"));
    PlaceButtons(4380, 4140);

    QList<QWidget *> order = {txtDatabase, cboUser, txtDbUser, txtPassword, txtConfirm, cboLevel, txtRemarks};
    for (QCheckBox *check : std::as_const(chkAllow))
        order << check;
    order << cmdAction << cmdCancel;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

QString frmDBPRV::where() const
{
    return kDatabase + QStringLiteral(" = ") + Quote(Parent(0)) + QStringLiteral(" AND ") + kUser +
           QStringLiteral(" = ") + Quote(m_shownKey);
}

QString frmDBPRV::Title(Entry entry) const
{
    switch (entry) {
    case Entry::Display: return m_shownKey + QStringLiteral(" - User Database Privileges");
    case Entry::Add: return QStringLiteral("Add New User Privileges to ") + Parent(0);
    case Entry::Edit: return m_shownKey + QStringLiteral(" - Edit User Privileges");
    case Entry::Delete: return m_shownKey + QStringLiteral(" - Delete User Privileges");
    }
    return {};
}

QString frmDBPRV::SelectSQL() const { return QStringLiteral("SELECT * FROM QN_DBPRV WHERE ") + where(); }

QString frmDBPRV::CalcParentKey() const
{
    return NodeKey::Child(NodeKey::Database(DataSource(), Parent(0)), QStringLiteral("DBPRV"), Parent(0));
}

void frmDBPRV::EnableEdit(bool State)
{
    EditorFrame::EnableEdit(State);
    txtDatabase->setEnabled(false);
    txtUser->setEnabled(false); // the user is chosen through the list only
}

void frmDBPRV::PrepareNew() { SetText(kDatabase, Parent(0)); }

bool frmDBPRV::ValidateFields()
{
    TraceScope trace(TraceName("ValidateFields"));
    const QString user = Text(kUser);
    if (!IsUser(user))
        return Refuse(QStringLiteral("Please select a Username from the dropdown list."), cboUser);
    if (user != m_shownKey &&
        RowExists(QStringLiteral("SELECT USER_NAME FROM QN_DBPRV WHERE USER_NAME = ") + Quote(user) +
                  QStringLiteral(" AND DATABASE_NAME = ") + Quote(Parent(0))))
        return Refuse(QStringLiteral("User '") + user +
                          QStringLiteral("' already has Database Privileges set for this Database."),
                      nullptr);
    if (!PasswordGiven(kPassword) && NameChanged() && !KeepBlankPassword(kPassword))
        return false;
    if (Text(kLevel).isEmpty())
        return Refuse(QStringLiteral("Please select a Secutity Level from the dropdown list"), cboLevel);
    return PasswordConfirmed(kPassword);
}

// The password only when one was typed; otherwise the stored one stays.
QString frmDBPRV::UpdateSQL() const
{
    QStringList columns{kDbUser};
    if (PasswordGiven(kPassword))
        columns << kPassword;
    columns << RightColumns() << kLevel << kRemarks;
    return UpdateStatement(columns, where());
}

bool frmDBPRV::Rename(const QString &oldName, const QString &newName)
{
    return modUpdate::UpdateDBPRV(DataSource(), Parent(0), Parent(0), oldName, newName);
}

QList<EditorFrame::Statement> frmDBPRV::DeleteStatements() const
{
    return {{{}, modDatabase::BuildDeleteSQL(QStringLiteral("QN_DBPRV"), where())}};
}

// A new privilege is listed under the database's folder; an edit only re-keys its node.
void frmDBPRV::RefreshFolder()
{
    if (EditorMode() == QLatin1String("User Add"))
        modGUI::RefreshNodePath(CalcParentKey());
}
