// The explorer node's context menu: the items each kind of node offers, kept
// right whatever menu came before, and a chosen item running its command.

#include <QMenu>
#include <QStandardItem>
#include <algorithm>

#include "menudriver.h"
#include "tree/cnodes.h"
#include "tree/nodekey.h"
#include "tree/nodemenu.h"
#include "uitest.h"

namespace {

const QString D = QStringLiteral("QnTest");

struct MenuCase
{
    const char *node;
    const char *type;
    QStringList keys;
    QStringList menu; // empty: no menu opens
};

const QStringList all8Files = {"E&xpand All", "&Add New File", "&Edit File", "-", "&Copy", "-", "&Delete File",
                               "File to Table &Wizard"};
const QStringList all5Fields = {"&Add New Field", "&Edit Field", "&Delete Field", "Recalulate &Offsets",
                                "&Reorder Fields"};
const QStringList all6Databases = {"E&xpand All", "&Add New Database", "&Edit Database", "&Delete Database", "-",
                                   "&Copy"};
const QStringList all7Tables = {"E&xpand All", "&Add New Table", "&Edit Table", "&Delete Table", "&View Data", "-",
                                "&Copy"};
const QStringList all4Columns = {"&Add New Column", "&Edit Column", "&Delete Column", "&Reorder Columns"};
const QStringList all3Users = {"&Add New User", "&Edit User", "&Delete User"};
const QStringList all3DbPrivileges = {"&Add New User Privileges", "&Edit User's Privileges",
                                      "&Delete User's Privileges"};
const QStringList all3TablePrivileges = {"&Add New User Priveleges", "&Edit User's Privileges",
                                         "&Delete User's Privileges"};

// Every node but the data sources (those depend on the node's picture).
const QList<MenuCase> &cases()
{
    static const QList<MenuCase> list = {
        {"Files folder", "FI", {D}, {"E&xpand All", "&Add New File"}},
        {"file", "fi", {D, "CUSTOMER"}, all8Files},
        {"engine's own file", "fi", {D, "CNTRL"}, {"E&xpand All", "&Add New File", "-", "&Copy", "-"}},
        {"file KEY (not the engine's)", "fi", {D, "KEY"}, all8Files},
        {"file cntrl in lower case", "fi", {D, "cntrl"}, all8Files},
        {"Fields folder", "FD", {D, "CUSTOMER"}, {"&Add New Field", "Recalulate &Offsets", "&Reorder Fields"}},
        {"Fields folder of an engine's file", "FD", {D, "FILE"}, {}},
        {"field", "fd", {D, "CUSTOMER", "NAME"}, all5Fields},
        {"field of an engine's file", "fd", {D, "USER", "USER_NAME"}, {}},
        {"Databases folder", "DB", {D}, {"E&xpand All", "&Add New Database"}},
        {"database", "db", {D, "SALES"}, all6Databases},
        {"database QN", "db", {D, "QN"}, {"E&xpand All", "&Add New Database", "-", "&Copy"}},
        {"database qn in lower case", "db", {D, "qn"}, all6Databases},
        {"Tables folder", "TA", {D, "SALES"}, {"E&xpand All", "&Add New Table"}},
        {"Tables folder of QN", "TA", {D, "QN"}, {"E&xpand All"}},
        {"table", "ta", {D, "SALES", "CUSTOMER"}, all7Tables},
        {"table of QN", "ta", {D, "QN", "QN_DB"}, {"E&xpand All", "&View Data", "-", "&Copy"}},
        {"Columns folder", "CO", {D, "SALES", "CUSTOMER"}, {"&Add New Column", "&Reorder Columns"}},
        {"Columns folder of QN", "CO", {D, "QN", "QN_DB"}, {}},
        {"column", "co", {D, "SALES", "CUSTOMER", "NAME"}, all4Columns},
        {"column of QN", "co", {D, "QN", "QN_DB", "DATABASE_NAME"}, {}},
        {"Users folder", "US", {D}, {"&Add New User"}},
        {"user ADMIN", "us", {D, "ADMIN"}, all3Users},
        {"Database Privileges folder", "DBPRV", {D, "SALES"}, {"&Add New User Privileges"}},
        {"database privilege", "dbprv", {D, "SALES", "JSMITH"}, all3DbPrivileges},
        {"Table Privileges folder", "TBLPRV", {D, "SALES", "CUSTOMER"}, {"&Add New User Priveleges"}},
        {"table privilege", "tblprv", {D, "SALES", "CUSTOMER", "REPORTS"}, all3TablePrivileges},
        {"Table Privileges folder of QN", "TBLPRV", {D, "QN", "QN_DB"}, {}},
        {"table privilege of QN", "tblprv", {D, "QN", "QN_DB", "ADMIN"}, {}},
        {"Special Columns folder", "SCO", {D, "SALES", "CUSTOMER"}, {}},
        {"special column", "sco", {D, "SALES", "CUSTOMER", "RFA"}, {}},
        {"placeholder", "", {}, {}},
        {"unknown type", "XY", {D}, {}},
    };
    return list;
}

class NodeMenuTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        main().show();
    }

    // What a right-click on the item shows; empty when no menu opens. The flag
    // is cleared whether a menu opens or not.
    QStringList menuOf(const QString &type, const QStringList &keys, const CNodePtr &node = nullptr)
    {
        setCurrentItem(type, keys, node);
        gMenuCommandRan() = true;
        const auto shown = whilePopup([] { modGUI::PopupNodeMenu(gCurrentItem()); });
        EXPECT_FALSE(gMenuCommandRan());
        return shown.value_or(QStringList());
    }
};

TEST_F(NodeMenuTest, EachNodeOffersItsItemsWhateverMenuCameBefore)
{
    // In table order, then backwards: the items one menu hides never leak into the next.
    QList<MenuCase> order = cases();
    for (int pass = 0; pass < 2; ++pass) {
        for (const MenuCase &c : std::as_const(order))
            EXPECT_EQ(menuOf(QString::fromUtf8(c.type), c.keys), c.menu) << c.node << (pass ? " (backwards)" : "");
        std::reverse(order.begin(), order.end());
    }
    // A table of another database after the Tables folder of QN: Add New Table is back.
    menuOf(QStringLiteral("TA"), {D, QStringLiteral("QN")});
    EXPECT_EQ(menuOf(QStringLiteral("ta"), {D, QStringLiteral("SALES"), QStringLiteral("ORDERS")}), all7Tables);
}

TEST_F(NodeMenuTest, ADataSourceOffersConnectUntilItIsConnected)
{
    const CNodePtr node = gNodes().Item(NodeKey::Datasource(D));
    ASSERT_TRUE(node);
    const QStringList connected = {"E&xpand All", "&Import Catalog", "&Export Catalog", "C&lear Catalog",
                                   "&Disconnect"};
    EXPECT_EQ(menuOf(QStringLiteral("DSN"), {D}, node), QStringList{QStringLiteral("&Connect")});
    gNodes().SetImages(gNodes().Node(node->Key), QStringLiteral("Datasource"), QStringLiteral("Datasource"));
    EXPECT_EQ(menuOf(QStringLiteral("DSN"), {D}, node), connected);
    EXPECT_EQ(menuOf(QStringLiteral("FDSN"), {D}, node), connected);
    gNodes().SetImages(gNodes().Node(node->Key), QStringLiteral("DSN Ghost"), QStringLiteral("DSN Ghost"));
    EXPECT_EQ(menuOf(QStringLiteral("DSN"), {D}, node), QStringList{QStringLiteral("&Connect")});
}

TEST_F(NodeMenuTest, AMenuWithoutTheKeyPartsItTestsFailsBeforeItOpens)
{
    // The caller (the tree's release handler) reports these.
    setCurrentItem(QStringLiteral("fi"), {D});
    EXPECT_EQ(failureOf([] { modGUI::PopupNodeMenu(gCurrentItem()); }).Number(), qnerr::SubscriptOutOfRange);
    setCurrentItem(QStringLiteral("DSN"), {D}); // no node
    EXPECT_EQ(failureOf([] { modGUI::PopupNodeMenu(gCurrentItem()); }).Number(), qnerr::ObjectNotSet);
}

TEST_F(NodeMenuTest, AChosenItemRunsItsCommandBeforeThePopUpReturns)
{
    RecordingPanes panes({QStringLiteral("frmColumn")});
    setCurrentItem(QStringLiteral("co"), {D, QStringLiteral("SALES"), QStringLiteral("CUSTOMER"), QStringLiteral("NAME")});
    whilePopup([] { modGUI::PopupNodeMenu(gCurrentItem()); },
               [](QMenu &menu) { clickItem(menu, QStringLiteral("&Edit Column")); });
    EXPECT_EQ(RecordingPanes::calls(QStringLiteral("frmColumn")),
              QStringList{QStringLiteral("Edit:QnTest,SALES,CUSTOMER,NAME")});
    EXPECT_TRUE(gMenuCommandRan());
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

} // namespace
