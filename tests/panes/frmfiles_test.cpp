// The Files pane: its listing, the record-size lookup, its rules and statements.

#include <QHeaderView>
#include <QToolButton>

#include "panefixture.h"
#include "panes/frmfiles.h"

namespace {

class Files : public PaneTest
{
protected:
    frmFiles &files(const QString &dsn = QStringLiteral("QnTest"))
    {
        return show<frmFiles>(QStringLiteral("frmFiles"), {dsn});
    }
    static QStringList names(const GridPane &p)
    {
        QStringList list;
        for (int r = 0; r < p.grd->Rows() - 1; ++r)
            list << p.grd->TextMatrix(r, 0);
        return list;
    }
    // Clicks the record-size cell of `row`, opens it and clicks its lookup button.
    static void lookup(frmFiles &f, int row) { PaneTest::lookup(f, row, 2, 0); }
};

TEST_F(Files, Listing)
{
    frmFiles &f = files();
    EXPECT_EQ(f.lblTitle.title->text(), QStringLiteral("QnTest - Files"));
    EXPECT_EQ(f.lblTitle.shadow->text(), QStringLiteral("QnTest - Files"));
    QStringList captions;
    for (int c = 0; c < f.grd->Cols(); ++c)
        captions << f.grd->Model().Caption(c);
    EXPECT_EQ(captions, QStringList({QStringLiteral("File Name"), QStringLiteral("Open String"),
                                     QStringLiteral("Record Size"), QStringLiteral("File Organisation"),
                                     QStringLiteral("Record Type"), QStringLiteral("Remarks")}));
    for (int c = 0; c < f.grd->Cols(); ++c)
        EXPECT_EQ(f.grd->Model().Alignment(c), c == 2 ? Qt::AlignRight : Qt::AlignLeft) << c;
    // Without the catalog's own files, in the data source's order (compared as a set).
    QStringList listed = names(f);
    listed.sort();
    EXPECT_EQ(listed, QStringList({QStringLiteral("CUSTOMER"), QStringLiteral("MOVEMENT"), QStringLiteral("ORDERS"),
                                   QStringLiteral("ORDLINE"), QStringLiteral("PRODUCT"), QStringLiteral("STOCKBIN")}));
    EXPECT_EQ(row(f, rowOf(f, QStringLiteral("MOVEMENT"))),
              QStringLiteral("MOVEMENT||63|SEQUENTIAL|VARIABLE|Stock movement journal"));
    EXPECT_EQ(row(f, f.grd->Rows() - 1), QStringLiteral("||0|INDEXED|FIXED|"));
    EXPECT_EQ(current(f), QPoint(0, 0));

    // With the option, every file sorted by name.
    setSetting(QStringLiteral("Options"), QStringLiteral("SysTables"), QStringLiteral("1"));
    files();
    listed = names(f);
    EXPECT_TRUE(listed.contains(QStringLiteral("FIELD")));
    QStringList sorted = listed;
    sorted.sort();
    EXPECT_EQ(listed, sorted);
}

// The record size sums the lengths of the fields saved under the row's saved
// name; a new sum is an edit of the cell, written when the row is left.
TEST_F(Files, RecordSizeLookup)
{
    auto db = open();
    db->Execute(QStringLiteral("UPDATE QN_FIELD SET LENGTH = 31 WHERE FILE_NAME = 'CUSTOMER' AND FIELD_NAME = 'NAME'"));
    db->Execute(QStringLiteral("INSERT INTO QN_FILE (FILE_NAME, RECORD_SIZE) VALUES ('BARE', 9), ('TEXTLEN', 1)"));
    // A length stored as text makes the sum a real number.
    db->Execute(QStringLiteral("INSERT INTO QN_FIELD (FILE_NAME, FIELD_NAME, LENGTH) VALUES ('TEXTLEN', 'A', 4), "
                               "('TEXTLEN', 'B', '')"));
    frmFiles &f = files();

    const int customer = rowOf(f, QStringLiteral("CUSTOMER"));
    lookup(f, customer);
    EXPECT_EQ(f.ctlLUCell[0]->Text(), QStringLiteral("134"));
    EXPECT_EQ(f.Statements(), QStringList{QStringLiteral(
                                  "SELECT SUM(LENGTH) As RecordLength FROM QN_FIELD WHERE FILE_NAME = 'CUSTOMER'")});
    click(f, rowOf(f, QStringLiteral("ORDERS")), 0);
    EXPECT_EQ(row(f, customer), QStringLiteral("CUSTOMER||134|INDEXED|FIXED|Customer master"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT RECORD_SIZE FROM QN_FILE WHERE FILE_NAME = 'CUSTOMER'")).toInt(), 134);

    lookup(f, rowOf(f, QStringLiteral("BARE")));
    EXPECT_EQ(f.ctlLUCell[0]->Text(), QStringLiteral("0"));
    lookup(f, rowOf(f, QStringLiteral("TEXTLEN")));
    EXPECT_EQ(f.ctlLUCell[0]->Text(), QStringLiteral("4"));

    // The new row has no saved fields: a message, and the cell stays.
    ui().answerMsgBox(ui::vbOK);
    lookup(f, f.grd->Rows() - 1);
    EXPECT_EQ(ui().messages().last(),
              QStringLiteral("You need to add some Fields to this File before I can calculate the Record Size.."));
    EXPECT_EQ(f.ctlLUCell[0]->Text(), QStringLiteral("0"));

    // A failed lookup goes to the error dialog under its own name; Ignore leaves the cell.
    click(f, customer, 0);
    dao::Faults::Add(dao::Faults::Statement, 1, QStringLiteral("HY000"), QStringLiteral("disk I/O error"));
    ui().answerError(ui::vbIgnore);
    lookup(f, customer);
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("frmColumn.Display"));
    EXPECT_EQ(f.ctlLUCell[0]->Text(), QStringLiteral("134"));
}

TEST_F(Files, RulesAndStatements)
{
    frmFiles &f = files();
    const int customer = rowOf(f, QStringLiteral("CUSTOMER"));
    const int orders = rowOf(f, QStringLiteral("ORDERS"));

    // A name taken by another file is refused, as typed; the row's own saved name is not looked up.
    edit(f, customer, 0, QStringLiteral("ORDERS"));
    ui().answerMsgBox(ui::vbOK);
    click(f, orders, 1);
    EXPECT_EQ(ui().messages().last(), QStringLiteral("This Datasource already contains a File called 'ORDERS'"));
    EXPECT_EQ(current(f), QPoint(0, customer));
    QTest::keyClick(focus(), Qt::Key_A, Qt::ControlModifier);
    type(QStringLiteral("client")); // names are typed in upper case
    key(Qt::Key_Return);

    // An apostrophe is doubled; a key changed: the row goes and comes back under its new name.
    edit(f, customer, 5, QStringLiteral("O'Brien's"));
    EXPECT_EQ(f.Statements(),
              QStringList({QStringLiteral("SELECT FILE_NAME FROM QN_FILE WHERE FILE_NAME = 'CLIENT'"),
                           QStringLiteral("DELETE FROM QN_FILE WHERE FILE_NAME = 'CUSTOMER' "),
                           QStringLiteral("INSERT INTO QN_FILE (FILE_NAME, OPEN_STRING, RECORD_SIZE, "
                                          "FILE_ORGANISATION, RECORD_TYPE, REMARKS) VALUES ('CLIENT', NULL, 133, "
                                          "'INDEXED', 'FIXED', 'O''Brien''s') ")}));
    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM QN_FILE WHERE FILE_NAME IN ('CLIENT', 'CUSTOMER')")),
              QStringList{QStringLiteral("CLIENT||133|INDEXED|FIXED|O'Brien's")});
    // Nothing else follows the new name.
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_FIELD WHERE FILE_NAME = 'CUSTOMER'")).toInt(), 9);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_TABLE WHERE FILE_NAME = 'CUSTOMER'")).toInt(), 1);

    // No key changed: one UPDATE under the saved name, the number in its canonical form.
    edit(f, orders, 2, QStringLiteral("007"));
    edit(f, orders, 4, QStringLiteral("V"));
    click(f, customer, 1);
    EXPECT_EQ(f.Statements(),
              QStringList{QStringLiteral("UPDATE QN_FILE SET OPEN_STRING = NULL,RECORD_SIZE = 7,FILE_ORGANISATION = "
                                         "'INDEXED',RECORD_TYPE = 'VARIABLE',REMARKS = 'Order headers' WHERE "
                                         "FILE_NAME = 'ORDERS'")});

}

// A name of the catalog's own files typed into a row is refused, and the row
// stays editable: its name cell reopens with the typed name, and a name
// typed there instead is written.
TEST_F(Files, ACatalogFileNameTypedIsRefusedAndTheRowStaysEditable)
{
    const struct
    {
        const char *row; // the row's name; "" for the new row
        const char *written;
    } cases[] = {{"", "INSERT INTO"}, {"CUSTOMER", "DELETE FROM"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.row);
        frmFiles &f = files();
        const int r = *c.row ? rowOf(f, QLatin1String(c.row)) : f.grd->Rows() - 1;
        ASSERT_GE(r, 0);
        edit(f, r, 0, QStringLiteral("TABLE"));
        for (int i = 0; i < 2; ++i) {
            ui().answerMsgBox(ui::vbOK);
            click(f, r == 0 ? 1 : 0, 1);
            EXPECT_EQ(ui().messages().last(), QStringLiteral("This Datasource already contains a File called 'TABLE'"));
            EXPECT_EQ(current(f), QPoint(0, r));
            ASSERT_TRUE(f.EditorVisible());
            EXPECT_EQ(f.txtCell[0]->text(), QStringLiteral("TABLE"));
        }
        type(QStringLiteral("S"));
        key(Qt::Key_Return);
        click(f, r == 0 ? 1 : 0, 1);
        EXPECT_FALSE(f.RowDirty());
        EXPECT_TRUE(f.Statements().value(1).startsWith(QLatin1String(c.written)));
        EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_FILE WHERE FILE_NAME = 'TABLES'")).toInt(), 1);
        open()->Execute(QStringLiteral("DELETE FROM QN_FILE WHERE FILE_NAME = 'TABLES'"));
    }
}

// A failed fill honours the answer; Ignore shows the pane with its header and new row.
TEST_F(Files, FillFailure)
{
    // The connection reads its two type caches, the pane its catalog fields, then the fill.
    dao::Faults::Add(dao::Faults::Statement, 4, QStringLiteral("HY000"), QStringLiteral("disk I/O error"));
    ui().answerError(ui::vbIgnore);
    frmFiles &f = files();
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("modGrid.PopulateGrid"));
    EXPECT_EQ(f.grd->Cols(), 6);
    EXPECT_EQ(f.grd->Rows(), 1);
    EXPECT_EQ(row(f, 0), QStringLiteral("||0|INDEXED|FIXED|"));
    EXPECT_EQ(f.grd->Model().Caption(2), QStringLiteral("Record Size"));

    dao::Faults::Add(dao::Faults::Statement, 2, QStringLiteral("HY000"), QStringLiteral("disk I/O error"));
    ui().answerError(ui::vbRetry);
    files();
    EXPECT_EQ(f.grd->Rows(), 7);
}

} // namespace
