// A row added through the new row of a grid whose parent (the database, table
// or file the collection belongs to) was deleted meanwhile by another
// connection: the add reads the parent first, fails with 3021 and writes nothing.

#include "panefixture.h"

namespace {

using ParentRow = PaneTest;

TEST_F(ParentRow, AnAddUnderADeletedParentWritesNothing)
{
    using Fill = std::function<void(GridPane &, int)>;
    const QString ds = QStringLiteral("QnTest");
    const struct Case
    {
        const char *form;
        QStringList keys;
        const char *before;  // the setup, through the second connection ("" for none)
        Fill fill;           // a valid new row
        const char *parent;  // the parent's query, as the add reads it
        const char *added;   // counts the added row
    } cases[] = {
        {"frmTables", {ds, QStringLiteral("SALES")}, "",
         [](GridPane &p, int r) {
             edit(p, r, 0, QStringLiteral("NEWT"));
             pickFromList(p, r, 3, QStringLiteral("ORDERS"));
             key(Qt::Key_Return);
             edit(p, r, 4, QStringLiteral("NEWT.DAT"));
         },
         "SELECT DATABASE_NAME FROM QN_DB WHERE DATABASE_NAME = 'SALES'",
         "SELECT COUNT(*) FROM QN_TABLE WHERE TABLE_NAME = 'NEWT'"},
        {"frmFields", {ds, QStringLiteral("CUSTOMER")}, "",
         [](GridPane &p, int r) {
             edit(p, r, 0, QStringLiteral("NEWF"));
             edit(p, r, 1, QStringLiteral("50"));
             edit(p, r, 2, QStringLiteral("133"));
         },
         "SELECT FILE_NAME FROM QN_FILE WHERE FILE_NAME = 'CUSTOMER'",
         "SELECT COUNT(*) FROM QN_FIELD WHERE FIELD_NAME = 'NEWF'"},
        {"frmColumns", {ds, QStringLiteral("SALES"), QStringLiteral("CUSTOMER")},
         "INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME) VALUES ('CUSTOMER', 10, 'FAX')",
         [](GridPane &p, int r) {
             edit(p, r, 0, QStringLiteral("50"));
             edit(p, r, 1, QStringLiteral("NEWC"));
             pickFromList(p, r, 3, QStringLiteral("FAX"));
             key(Qt::Key_Return);
             pickFromList(p, r, 4, QStringLiteral("INTEGER"));
             key(Qt::Key_Return);
         },
         "SELECT DATABASE_NAME, TABLE_NAME FROM QN_TABLE WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = "
         "'CUSTOMER'",
         "SELECT COUNT(*) FROM QN_COLUMN WHERE COLUMN_NAME = 'NEWC'"},
        {"frmDBPRVs", {ds, QStringLiteral("STOCK")}, "INSERT INTO QN_USER (USER_NAME) VALUES ('NEWU')",
         [](GridPane &p, int r) {
             pickFromList(p, r, 0, QStringLiteral("NEWU"));
             key(Qt::Key_Return);
             edit(p, r, 2, QStringLiteral("PW"));
         },
         "SELECT DATABASE_NAME FROM QN_DB WHERE DATABASE_NAME = 'STOCK'",
         "SELECT COUNT(*) FROM QN_DBPRV WHERE USER_NAME = 'NEWU'"},
        {"frmTBLPRVs", {ds, QStringLiteral("SALES"), QStringLiteral("ORDERS")}, "",
         [](GridPane &p, int r) {
             pickFromList(p, r, 0, QStringLiteral("JSMITH"));
             key(Qt::Key_Return);
         },
         "SELECT DATABASE_NAME, TABLE_NAME FROM QN_TABLE WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = 'ORDERS'",
         "SELECT COUNT(*) FROM QN_TBLPRV WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = 'ORDERS' AND USER_NAME = "
         "'JSMITH'"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.form);
        if (*c.before)
            open()->Execute(QLatin1String(c.before));
        auto &p = show<GridPane>(QLatin1String(c.form), c.keys);
        const int fresh = p.grd->Rows() - 1;
        c.fill(p, fresh);
        ASSERT_TRUE(p.RowDirty());
        const QString parent = QLatin1String(c.parent);
        ASSERT_EQ(rows(parent).size(), 1);
        open()->Execute(QStringLiteral("DELETE") + parent.mid(parent.indexOf(QLatin1String(" FROM "))));
        ui().answerError(ui::vbIgnore);
        click(p, 0, 0);
        ASSERT_EQ(ui().errors().size(), 1);
        EXPECT_EQ(ui().errors()[0].number, QStringLiteral("3021"));
        EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("frmColumns.EnterCell"));
        EXPECT_EQ(p.Statements().value(p.Statements().size() - 2), parent);
        EXPECT_EQ(scalar(QLatin1String(c.added)).toInt(), 0);
        EXPECT_FALSE(p.RowDirty());
        ui().clear();
    }
}

} // namespace
