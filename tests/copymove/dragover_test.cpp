// The drop rules, met as a user meets them: a node dragged over another shows
// its own picture where it may be dropped and "No Drop" where not, and over
// itself keeps the picture it had. Every rule with accepted and refused nodes.

#include "dragfixture.h"

namespace {

class DropRules : public DragTest
{
protected:
    void SetUp() override
    {
        DragTest::SetUp();
        // The catalog's own database and files shown; a file KEY and a plain file in QnTest2.
        options::Save(options::kSysTables, 1);
        exec("INSERT INTO QN_FILE (FILE_NAME) VALUES ('KEY'), ('PLAIN')", kDs2);
    }
};

TEST_F(DropRules, ThePictureOverEachKindOfNode)
{
    const QString fileIcon = QStringLiteral("Drag File"), fieldIcon = QStringLiteral("Drag Field"),
                  dbIcon = QStringLiteral("Drag Database"), tableIcon = QStringLiteral("Drag Table"),
                  columnIcon = QStringLiteral("Drag Column"), userIcon = QStringLiteral("Drag User"),
                  none = QStringLiteral("No Drop");
    const QString customer = file(kDs, "CUSTOMER"), plain = file(kDs2, "PLAIN"), qn = database(kDs2, "QN");
    const QString orders = table(kDs, "SALES", "ORDERS"), customers = table(kDs, "SALES", "CUSTOMER");
    const QString stock = database(kDs, "STOCK");
    const struct
    {
        QString from, to, picture;
    } cases[] = {
        // The Files folder: anywhere in another data source.
        {files(kDs), ds(kDs2), fileIcon},
        {files(kDs), qn, fileIcon},
        {files(kDs), ds(kDs), none},
        // A file: not on the database and user side, not in its own data source.
        {customer, ds(kDs2), fileIcon},
        {customer, fields(kDs2, "FIELD"), fileIcon},
        {customer, databases(kDs2), none},
        {customer, qn, none},
        {customer, users(kDs2), none},
        {customer, file(kDs, "ORDERS"), none},
        // Fields: on another file, its folder or its fields; never on the catalog's own files, KEY included.
        {fields(kDs, "CUSTOMER"), file(kDs, "ORDERS"), fieldIcon},
        {fields(kDs, "CUSTOMER"), customer, none},
        {fields(kDs, "CUSTOMER"), file(kDs2, "KEY"), none},
        {fields(kDs, "CUSTOMER"), fields(kDs2, "FIELD"), none},
        {fields(kDs, "CUSTOMER"), ds(kDs2), none},
        {fields(kDs, "CUSTOMER") + "fd=CITY:", fields(kDs2, "PLAIN"), fieldIcon},
        {fields(kDs, "CUSTOMER") + "fd=CITY:", fields(kDs, "CUSTOMER") + "fd=NAME:", none},
        // Databases: anywhere in another data source but in 'QN'.
        {database(kDs, "SALES"), ds(kDs2), dbIcon},
        {database(kDs, "SALES"), plain, dbIcon},
        {database(kDs, "SALES"), databases(kDs2), dbIcon},
        {database(kDs, "SALES"), qn, none},
        {database(kDs, "SALES"), tables(kDs2, "QN"), none},
        {database(kDs, "SALES"), stock, none},
        {databases(kDs), plain, dbIcon},
        // Tables: on another database's nodes down to its columns, never 'QN'.
        {orders, stock, tableIcon},
        {orders, columns(kDs, "STOCK", "BIN"), tableIcon},
        {orders, tables(kDs, "SALES"), none},
        {orders, customers, none},
        {orders, qn, none},
        {orders, ds(kDs2), none},
        {tables(kDs, "SALES"), qn, none},
        // Columns: on another table, its Columns folder or columns.
        {columns(kDs, "SALES", "ORDERS") + "co=STATUS:", customers, columnIcon},
        {columns(kDs, "SALES", "ORDERS") + "co=STATUS:", columns(kDs, "SALES", "ORDERS"), none},
        {columns(kDs, "SALES", "ORDERS") + "co=STATUS:", stock, none},
        {columns(kDs, "SALES", "ORDERS"), table(kDs2, "QN", "FILE"), none},
        // Users: anywhere in another data source.
        {users(kDs) + "us=JSMITH:", plain, userIcon},
        {users(kDs) + "us=JSMITH:", users(kDs), none},
        // Database privileges: on another database, 'QN' included.
        {dbprvs(kDs, "SALES") + "dbprv=JSMITH:", stock, userIcon},
        {dbprvs(kDs, "SALES") + "dbprv=JSMITH:", qn, userIcon},
        {dbprvs(kDs, "SALES") + "dbprv=JSMITH:", dbprvs(kDs, "SALES"), none},
        {dbprvs(kDs, "SALES") + "dbprv=JSMITH:", customers, none},
        // Table privileges: on another table's nodes.
        {tblprvs(kDs, "SALES", "ORDERS") + "tblprv=REPORTS:", customers, userIcon},
        {tblprvs(kDs, "SALES", "ORDERS") + "tblprv=REPORTS:", tblprvs(kDs, "SALES", "ORDERS"), none},
        {tblprvs(kDs, "SALES", "ORDERS") + "tblprv=REPORTS:", columns(kDs, "SALES", "ORDERS") + "co=STATUS:", none},
        {tblprvs(kDs, "SALES", "ORDERS"), stock, none},
        // Special columns go nowhere.
        {orders + "SCO=ORDERS:", customers, none},
    };
    for (const auto &c : cases) {
        dragOver(c.from, c.to);
        EXPECT_EQ(DragPicture(), c.picture) << c.from.toStdString() << " over " << c.to.toStdString();
        releaseOutside();
        EXPECT_FALSE(gDragInProgress());
    }
    EXPECT_TRUE(m_statements.isEmpty()) << "a drag-over reads no catalog";
    EXPECT_TRUE(ui().shown().isEmpty()) << "and asks nothing";
}

// Over itself a node keeps the picture it had; a drop there does nothing.
TEST_F(DropRules, OverItself)
{
    const QString orders = table(kDs, "SALES", "ORDERS");
    dragOver(orders, tables(kDs, "SALES"));
    ASSERT_EQ(DragPicture(), "No Drop");
    m_lastOver = at(orders);
    QTest::mouseMove(tree()->viewport(), m_lastOver);
    EXPECT_EQ(DragPicture(), "No Drop");
    release();
    EXPECT_TRUE(ui().shown().isEmpty());

    dragOver(orders, database(kDs, "STOCK"));
    ASSERT_EQ(DragPicture(), "Drag Table");
    QTest::mouseMove(tree()->viewport(), at(orders));
    EXPECT_EQ(DragPicture(), "Drag Table");
    releaseOutside();
}

// A refused node, and a node the drop has no operation for though the
// drag-over took it, drop nothing: no question, no refresh, no pane.
TEST_F(DropRules, DropsThatDoNothing)
{
    const struct
    {
        QString from, to;
    } cases[] = {
        {files(kDs), database(kDs2, "QN")},                  // the Files folder on the database side
        {database(kDs, "SALES"), file(kDs2, "PLAIN")},       // one database on a file node
        {table(kDs, "SALES", "ORDERS"), tables(kDs, "SALES")}, // refused
        {users(kDs) + "us=JSMITH:", users(kDs)},             // refused
    };
    for (const auto &c : cases) {
        dragOver(c.from, c.to);
        const QString shown = gCurrentPane() ? gCurrentPane()->objectName() : QString();
        release();
        EXPECT_TRUE(ui().shown().isEmpty()) << c.to.toStdString();
        EXPECT_EQ(gCurrentPane() ? gCurrentPane()->objectName() : QString(), shown) << c.to.toStdString();
        EXPECT_FALSE(gDragInProgress());
    }
    EXPECT_TRUE(m_statements.isEmpty());
}

} // namespace
