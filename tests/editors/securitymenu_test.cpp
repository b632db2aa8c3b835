// The user and privilege commands of the tree's context menu, end to end: a
// right click on a node, the item chosen, the editor at work on the stand-in.

#include <QMenu>
#include <QPushButton>

#include "../mainwindow/menudriver.h"
#include "editorfixture.h"
#include "editors/security/frmdbprv.h"
#include "editors/security/frmtblprv.h"
#include "editors/security/frmuser.h"

namespace {

const QString kDsKey = QStringLiteral("DSN=QnTest:");
const QString kUsers = QStringLiteral("DSN=QnTest:US=QnTest:");
const QString kSales = QStringLiteral("DSN=QnTest:DB=QnTest:db=SALES:");
const QString kSalesPrv = kSales + QStringLiteral("DBPRV=SALES:");
const QString kOrders = kSales + QStringLiteral("TA=SALES:ta=ORDERS:");
const QString kOrdersPrv = kOrders + QStringLiteral("TBLPRV=ORDERS:");

class SecurityMenu : public EditorTest
{
protected:
    // A right click on the node and `caption` chosen from its menu; the items it showed.
    std::optional<QStringList> choose(const QString &key, const QString &caption)
    {
        QStandardItem *item = node(key);
        EXPECT_TRUE(item) << key.toStdString();
        if (!item)
            return std::nullopt;
        const QPoint at = pointOf(item);
        QTest::mousePress(tree()->viewport(), Qt::RightButton, {}, at);
        const auto shown = whilePopup([&] { QTest::mouseRelease(tree()->viewport(), Qt::RightButton, {}, at); },
                                      [&](QMenu &menu) { clickItem(menu, caption); });
        flush();
        return shown;
    }
    QString owned(const QString &user)
    {
        return scalar(QStringLiteral("SELECT (SELECT COUNT(*) FROM QN_USER WHERE USER_NAME = '%1') || ' ' || "
                                     "(SELECT COUNT(*) FROM QN_DBPRV WHERE USER_NAME = '%1') || ' ' || "
                                     "(SELECT COUNT(*) FROM QN_TBLPRV WHERE USER_NAME = '%1')")
                          .arg(user))
            .toString();
    }
};

TEST_F(SecurityMenu, UsersAddedEditedAndDeletedFromTheirMenu)
{
    openPath({kDsKey, kUsers});
    EXPECT_EQ(choose(kUsers + QStringLiteral("us=JSMITH:"), QStringLiteral("&Edit User")),
              QStringList({"&Add New User", "&Edit User", "&Delete User"}));
    auto *user = forms::LoadedForm<frmUser>();
    ASSERT_TRUE(user);
    EXPECT_EQ(current(), QStringLiteral("frmUser"));
    EXPECT_EQ(user->EditorMode(), QStringLiteral("User Edit"));
    EXPECT_EQ(textOf(user->txtName), QStringLiteral("JSMITH"));
    EXPECT_EQ(textOf(user->txtPassword), QString(9, QLatin1Char(' ')));

    // 'ADMIN': refused at once, no question.
    ui().answerMsgBox(ui::vbOK);
    choose(kUsers + QStringLiteral("us=ADMIN:"), QStringLiteral("&Delete User"));
    EXPECT_EQ(takeMessages(), QStringList{"You cannot delete User 'ADMIN'"});
    EXPECT_EQ(owned(QStringLiteral("ADMIN")), QStringLiteral("1 3 0"));

    // Another user: the question, then the user and its privileges go.
    ui().answerMsgBox(ui::vbYes);
    choose(kUsers + QStringLiteral("us=MBROWN:"), QStringLiteral("&Delete User"));
    EXPECT_EQ(takeMessages(), QStringList{"Are you sure you want to delete this user?"});
    EXPECT_EQ(owned(QStringLiteral("MBROWN")), QStringLiteral("0 0 0"));
    EXPECT_FALSE(node(kUsers + QStringLiteral("us=MBROWN:")));
    EXPECT_EQ(current(), QStringLiteral("frmUsers"));

    // Add from the folder: a new user, listed in the folder.
    choose(kUsers, QStringLiteral("&Add New User"));
    ASSERT_EQ(current(), QStringLiteral("frmUser"));
    user = forms::LoadedForm<frmUser>();
    EXPECT_EQ(user->EditorMode(), QStringLiteral("User Add"));
    type(user->txtName, QStringLiteral("DAVE"));
    type(user->txtPassword, QStringLiteral("D4VE"));
    type(user->txtConfirm, QStringLiteral("D4VE"));
    click(user->cmdAction);
    EXPECT_EQ(owned(QStringLiteral("DAVE")), QStringLiteral("1 0 0"));
    EXPECT_TRUE(node(kUsers + QStringLiteral("us=DAVE:")));
    EXPECT_TRUE(ui().errors().isEmpty());
}

TEST_F(SecurityMenu, PrivilegesFromTheirMenus)
{
    openPath({kDsKey, QStringLiteral("DSN=QnTest:DB=QnTest:"), kSales, kSalesPrv, kSales + QStringLiteral("TA=SALES:"),
              kOrders, kOrdersPrv});
    EXPECT_EQ(choose(kSalesPrv + QStringLiteral("dbprv=REPORTS:"), QStringLiteral("&Edit User's Privileges")),
              QStringList({"&Add New User Privileges", "&Edit User's Privileges", "&Delete User's Privileges"}));
    auto *dbprv = forms::LoadedForm<frmDBPRV>();
    ASSERT_TRUE(dbprv);
    EXPECT_EQ(dbprv->EditorMode(), QStringLiteral("User Edit"));
    EXPECT_EQ(textOf(dbprv->cboUser), QStringLiteral("REPORTS"));

    ui().answerMsgBox(ui::vbYes);
    choose(kSalesPrv + QStringLiteral("dbprv=REPORTS:"), QStringLiteral("&Delete User's Privileges"));
    EXPECT_EQ(takeMessages(), QStringList{"Are you sure you wish to delete this users database privileges?"});
    EXPECT_EQ(owned(QStringLiteral("REPORTS")), QStringLiteral("1 1 3"));
    EXPECT_FALSE(node(kSalesPrv + QStringLiteral("dbprv=REPORTS:")));

    choose(kOrdersPrv, QStringLiteral("&Add New User Priveleges"));
    auto *tblprv = forms::LoadedForm<frmTBLPRV>();
    ASSERT_TRUE(tblprv);
    EXPECT_EQ(tblprv->EditorMode(), QStringLiteral("User Add"));
    EXPECT_EQ(tblprv->lblTitle.title->text(), QStringLiteral("Add New User Privilege to SALES"));
    EditorTest::choose(tblprv->cboUser, QStringLiteral("J"));
    click(tblprv->cmdAction);
    EXPECT_TRUE(node(kOrdersPrv + QStringLiteral("tblprv=JSMITH:")));

    ui().answerMsgBox(ui::vbYes);
    choose(kOrdersPrv + QStringLiteral("tblprv=JSMITH:"), QStringLiteral("&Delete User's Privileges"));
    EXPECT_EQ(takeMessages(), QStringList{"Are you sure you want to delete this users table privileges?"});
    EXPECT_FALSE(node(kOrdersPrv + QStringLiteral("tblprv=JSMITH:")));
    EXPECT_EQ(owned(QStringLiteral("JSMITH")), QStringLiteral("1 2 2"));
    EXPECT_TRUE(ui().errors().isEmpty());
}

} // namespace
