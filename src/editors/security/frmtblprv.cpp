#include "frmtblprv.h"

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

[[maybe_unused]] static const bool declared = forms::Declare<frmTBLPRV>(QStringLiteral("frmTBLPRV"));

namespace {
const QString kDatabase = QStringLiteral("DATABASE_NAME");
const QString kTable = QStringLiteral("TABLE_NAME");
const QString kUser = QStringLiteral("USER_NAME");
const QString kRemarks = QStringLiteral("REMARKS");
} // namespace

frmTBLPRV::frmTBLPRV()
    : PrivilegeEditor({QStringLiteral("frmTBLPRV"),
                       QStringLiteral("QN_TBLPRV"),
                       {kDatabase, kTable, kUser},
                       {},
                       QStringLiteral("tblprv"),
                       QStringLiteral("frmTBLPRVs"),
                       {kUser},
                       QStringLiteral("Are you sure you want to delete this users table privileges?"),
                       false, // missingRowShowsEmpty
                       true,  // busyCursor
                       true,  // emptyBeforeRead
                       true,  // renameOnlyNewName
                       {{QStringLiteral("QN_TABLE"), {kDatabase, kTable}}, {QStringLiteral("QN_USER"), {kUser}}}})
{
    setWindowTitle(QStringLiteral("Table Privileges"));
    resize(Twips(0, 0, 7005, 5655).size());
    constexpr int prompt = 120, field = 1860, promptWidth = 1695, promptHeight = 255;
    auto row = [&](int top, int width, int height = 315) { return Twips(field, top, width, height); };
    auto at = [&](int top) { return Twips(prompt, top + 30, promptWidth, promptHeight); };
    auto twin = [&](int index) { return Twips(60 + index * 1095, 4740, 1035, 315); };

    // Created in the column order of the INSERT; the tab order is set below.
    txtRemarks = AddMemo(3, kRemarks, row(1860, 4815, 675),
                         QStringLiteral("Any notes you wish to make about this Users Table Privileges"));
    AddRightTwins(4, [&](int i) { return twin(1 + i); });
    txtUser = AddTwin(2, kUser, twin(0));
    txtDatabase = AddText(0, kDatabase, row(780, 1575));
    txtTable = AddText(1, kTable, row(1140, 2775));
    cboUser = AddCombo(0, kUser, row(1500, 2775), QStringLiteral("Select a user from the dropdown list"));

    AddPrompt(0, QStringLiteral("Database Name:"), at(780), txtDatabase);
    AddPrompt(1, QStringLiteral("Table Name:"), at(1140), txtTable);
    AddPrompt(2, QStringLiteral("User &Name:"), at(1500), cboUser, true);
    AddPrompt(3, QStringLiteral("Re&marks:"), at(1860), txtRemarks);
    AddPrompt(4, QStringLiteral("Privileges:"), at(2640));
    AddRights(5, 2640, QStringLiteral("Table"));
    PlaceButtons(4380, 3180);

    QList<QWidget *> order = {txtDatabase, txtTable, cboUser, txtRemarks};
    for (QCheckBox *check : std::as_const(chkAllow))
        order << check;
    order << cmdAction << cmdCancel;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

QString frmTBLPRV::where(const QString &user) const
{
    return kDatabase + QStringLiteral(" = ") + Quote(Parent(0)) + QStringLiteral(" AND ") + kTable +
           QStringLiteral(" = ") + Quote(Parent(1)) + QStringLiteral(" AND ") + kUser + QStringLiteral(" = ") +
           Quote(user);
}

QString frmTBLPRV::Title(Entry entry) const
{
    switch (entry) {
    case Entry::Display: return m_shownKey + QStringLiteral(" - User Table Privileges");
    case Entry::Add: return QStringLiteral("Add New User Privilege to ") + Parent(0);
    case Entry::Edit: return m_shownKey + QStringLiteral(" - Edit User Privileges");
    case Entry::Delete: return m_shownKey + QStringLiteral(" - Delete User Privileges");
    }
    return {};
}

QString frmTBLPRV::SelectSQL() const { return QStringLiteral("SELECT * FROM QN_TBLPRV WHERE ") + where(m_shownKey); }

QString frmTBLPRV::CalcParentKey() const
{
    return NodeKey::Child(NodeKey::Table(DataSource(), Parent(0), Parent(1)), QStringLiteral("TBLPRV"), Parent(1));
}

void frmTBLPRV::EnableEdit(bool State)
{
    EditorFrame::EnableEdit(State);
    txtDatabase->setEnabled(false);
    txtTable->setEnabled(false);
}

void frmTBLPRV::PrepareNew()
{
    SetText(kDatabase, Parent(0));
    SetText(kTable, Parent(1));
}

bool frmTBLPRV::ValidateFields()
{
    TraceScope trace(TraceName("ValidateFields"));
    const QString user = Text(kUser);
    if (!IsUser(user))
        return Refuse(QStringLiteral("Please enter select a Username."), cboUser);
    if (user != m_shownKey && RowExists(QStringLiteral("SELECT USER_NAME FROM QN_TBLPRV WHERE ") + where(user)))
        return Refuse(QStringLiteral("This Table already has User privileges set for User '") + user +
                          QLatin1Char('\''),
                      cboUser);
    return true;
}

QString frmTBLPRV::UpdateSQL() const
{
    return UpdateStatement(RightColumns() + QStringList{kRemarks}, where(m_shownKey));
}

bool frmTBLPRV::Rename(const QString &oldName, const QString &newName)
{
    return modUpdate::UpdateTBLPRV(DataSource(), Parent(0), Parent(0), Parent(1), Parent(1), oldName, newName);
}

QList<EditorFrame::Statement> frmTBLPRV::DeleteStatements() const
{
    return {{{}, modDatabase::BuildDeleteSQL(QStringLiteral("QN_TBLPRV"), where(m_shownKey))}};
}

void frmTBLPRV::RefreshFolder() { modGUI::RefreshNodePath(CalcParentKey()); }
