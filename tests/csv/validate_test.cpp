// The validation stage: every rule of the line checks with its exact message,
// line and type word, the warnings, the summary, the error limit, and the
// dialog's Start, Stop, Restart and Cancel as a user meets them.

#include <QTimer>

#include "csvfixture.h"

namespace {

// A name of 300 characters.
#define LONG_NAME                                                                                                      \
    "Quite a long user name of 300 characters far beyond the 32 of its catalog column...................."             \
    "...................................................................................................."             \
    "...................................................................................................."

struct Case
{
    const char *line;
    QStringList rows; // "severity|type|description", listed for the line
};

// Checked against the demo catalog of QnTest: files CUSTOMER ..., databases
// SALES and STOCK, users JSMITH, MBROWN, REPORTS, their privileges.
const Case kCases[] = {
    // FILE
    {R"("FILE","NEWF","INDEXED","FIXED",100)", {}},
    {R"("FILE","newf","indexed","fixed",100)", {"ERR|FILE|'NEWF' already defined in CSV (Col 2)"}},
    {R"("FILE","customer","INDEXED","FIXED",1)", {"ERR|FILE|'CUSTOMER' already defined in Catalog (Col 2)"}},
    {R"("FILE","F2","INDEXED","FIXED")", {"ERR|FILE|Insufficient information to describe a File"}},
    {R"("FILE","F2","",FIXED,1)", {"ERR|FILE|Invalid File Organisation '' (Col 3)"}},
    {R"("FILE","F2","INDEXED,RELATIVE","FIXED",1)", {"ERR|FILE|Invalid File Organisation 'INDEXED,RELATIVE' (Col 3)"}},
    {R"("FILE","F2","RELATIVE","FIXEDX",1)", {"ERR|FILE|Invalid Record Type 'FIXEDX' (Col 4)"}},
    {R"("FILE","F2","RELATIVE","FIXED",70000)", {"ERR|FILE|Invalid Record Size '70000' (Col 5)"}},
    {R"("FILE","F2","RELATIVE","FIXED",1.5)", {"ERR|FILE|Invalid Record Size '1.5' (Col 5)"}},
    {R"("FILE","F2","RELATIVE","FIXED",&H10)", {"ERR|FILE|Invalid Record Size '&H10' (Col 5)"}},
    {"\"FILE\"\t,\"TABF\",\"SEQUENTIAL\",\"VARIABLE\",", {}},
    {"file,f3,indexed,fixed,10", {}},
    // The keys keep their parts apart: CUSTOMERN + AME is not CUSTOMER + NAME.
    {R"("FILE","CUSTOMERN","INDEXED","FIXED",10)", {}},
    {R"("FIELD","CUSTOMERN","AME","STRING",0,10,10,0,0,"","")", {}},
    // FIELD
    {R"("FIELD","NEWF","A","STRING",0,10)", {"WARN|FIELD|Missing DT information - Assuming default"}},
    {R"("FIELD","NEWF","B","NOSUCH",0,10)",
     {"WARN|FIELD|Missing DT information - Assuming default", "ERR|FIELD|Invalid Local Type Name 'NOSUCH' (Col 4)"}},
    {R"("FIELD","NEWF")", {"ERR|FIELD|Insufficient information to describe a Field"}},
    {R"("FIELD","NOFILE","A","STRING",0,10,10,0,0,"","")", {"ERR|FIELD|File 'NOFILE' is not defined (Col 2)"}},
    {R"("FIELD","newf","a","STRING",0,10,10,0,0,"","")", {"ERR|FIELD|'NEWF.A' is already defined in CSV (Col 3)"}},
    {R"("FIELD","CUSTOMER","NAME","STRING",0,10,10,0,0,"","")",
     {"ERR|FIELD|'CUSTOMER.NAME' is already defined in Catalog (Col 3)"}},
    {R"("FIELD","NEWF","C","STRING",-1,10,10,0,0,"","")", {"ERR|FIELD|Invalid Offset '-1' (Col 5)"}},
    {R"("FIELD","NEWF","C","STRING",0,70000,10,0,0,"","")", {"ERR|FIELD|Invalid Length '70000' (Col 6)"}},
    {R"("FIELD","NEWF","C","STRING",0,10,x,0,0,"","")", {"ERR|FIELD|Invalid Precision 'x' (Col 7)"}},
    {R"("FIELD","NEWF","C","STRING",0,10,10,65536,0,"","")", {"ERR|FIELD|Invalid Scale '65536' (Col 8)"}},
    {R"("FIELD","NEWF","C","STRING",0,10,10,0,3,"","")", {"ERR|FIELD|Invalid Encrypted Flag '3' (Col 9)"}},
    {R"("FIELD","NEWF","B","STRING",0,10,,,2,"","")", {}},
    // DB
    {R"("DB","NEWDB","dir","DISAM","conn")", {}},
    {R"("DB","sales","dir","DISAM","","")", {"ERR|DB|'SALES' is already defined in Catalog (Col 2)"}},
    {R"("DB","NEWDB","dir","DISAM","","")", {"ERR|DB|'NEWDB' is already defined in CSV (Col 2)"}},
    {R"("DB","DB2","dir","NODRV","","")", {"ERR|DB|Invalid Driver Name 'NODRV' (Col 4)"}},
    {R"("DB","DB2","dir","disam","","Other")", {"ERR|DB|Display Name must match Database Name"}},
    {R"("DB","DB2","C:\data, ""old""","DISAM","","db2")", {}},
    {R"("DB","DB3")", {"ERR|DB|Insufficient information to describe a Database"}},
    // TABLE
    {R"("TABLE","NEWDB","T1","TABLE","NEWF","t1.dat","")", {}},
    {R"("TABLE","NODB","T1","TABLE","NEWF","","","")", {"ERR|TABLE|Database 'NODB' does not exist (Col 2)"}},
    {R"("TABLE","NEWDB","T2","","NEWF","","","")", {"WARN|TABLE|Table Type not set (Col 4)"}},
    {R"("TABLE","NEWDB","T3","","NOFILE","","","")",
     {"WARN|TABLE|Table Type not set (Col 4)", "ERR|TABLE|File 'NOFILE' is not defined (Col 5)"}},
    {R"("TABLE","NEWDB","t1","","NEWF","","","")",
     {"WARN|TABLE|Table Type not set (Col 4)", "ERR|TABLE|'NEWDB_T1' is already defined in CSV (Col 3)"}},
    {R"("TABLE","SALES","ORDERS","TABLE","ORDERS","","","")",
     {"ERR|TABLE|'SALES_ORDERS' is already defined in Catalog (Col 3)"}},
    {R"("TABLE","NEWDB")", {"ERR|TABLE|Insufficient information to describe a Table"}},
    // Each database's table has its own file: T1 of DB2 is over CUSTOMER.
    {R"("TABLE","DB2","T1","TABLE","CUSTOMER","","","")", {}},
    // COLUMN, of NEWDB.T1 over NEWF (fields A and B)
    {R"("COLUMN","NEWDB","T1","CA","A","VARCHAR",10,1,1,"")", {}},
    {R"("COLUMN","NEWDB","T1","CB","B","varchar",10,1,1,"","Shown")",
     {"WARN|COLUMN|Missing Column Type - Assuming Default"}},
    {R"("COLUMN","DB2","T1","NAME","NAME","VARCHAR",30,1,1,"","NAME",0)", {}},
    {R"("COLUMN","NODB","T1","C","A","VARCHAR",10,1,1,"","C",0)", {"ERR|COLUMN|Database 'NODB' does not exist (Col 2)"}},
    {R"("COLUMN","NEWDB","NOTAB","C","A","VARCHAR",10,1,1,"","C",0)",
     {"ERR|COLUMN|Table 'NOTAB' does not exist (Col 3)"}},
    {R"("COLUMN","SALES","CUSTOMER","C","NAME","VARCHAR",10,1,1,"","C",0)",
     {"ERR|COLUMN|Reference to CUSTOMER has not been defined in catalog"}},
    {R"("COLUMN","NEWDB","T1","C","NOFIELD","VARCHAR",10,1,1,"","C",0)",
     {"ERR|COLUMN|Field 'NOFIELD' does not exist (Col 5)"}},
    {R"("COLUMN","NEWDB","T1","C","A","NOTYPE",10,1,1,"","C",0)",
     {"ERR|COLUMN|SQL Type Name Invalid 'NOTYPE' (Col 6)"}},
    {R"("COLUMN","NEWDB","T1","C","A","VARCHAR",70000,1,1,"","C",0)", {"ERR|COLUMN|Invalid Length '70000' (Col 7)"}},
    {R"("COLUMN","NEWDB","T1","C","A","VARCHAR",10,2,1,"","C",0)", {"ERR|COLUMN|Invalid Updatable flag '2' (Col 8)"}},
    {R"("COLUMN","NEWDB","T1","C","A","VARCHAR",10,1,0.5,"","C",0)", {"ERR|COLUMN|Invalid Visible flag '0.5' (Col 9)"}},
    {R"("COLUMN","NEWDB","T1","C","A","VARCHAR",10,1,1,"","C",9)", {"ERR|COLUMN|Invalid Column Type '9' (Col 12)"}},
    {R"("COLUMN","NEWDB","T1","C","A","VARCHAR",10,1,1,"","C",2.5)",
     {"ERR|COLUMN|Invalid Column Type '2.5' (Col 12)"}},
    {R"("COLUMN","NEWDB","T1","ROWIDX","ROWIDX","INTEGER",4,0,1,"","ROWIDX",6)",
     {"ERR|COLUMN|Invalid Column Name - Column Type indicates ROWID"}},
    {R"("COLUMN","NEWDB","T1","INDEX_NAME","INDEX_NAME","VARCHAR",64,0,1,"","INDEX_NAME",3)", {}},
    {R"("COLUMN","NEWDB","T1","RELATIVE_INDEX","RELATIVE_INDEX","INTEGER",4,0,1,"","NOCOL",8)",
     {"ERR|COLUMN|Column 'NOCOL' undefined (Col 11)"}},
    {R"("COLUMN","NEWDB","T1","RELATIVE_INDEX","RELATIVE_INDEX","INTEGER",4,0,1,"","ca",8)", {}},
    {R"("COLUMN","NEWDB","T1","CA","B","VARCHAR",10,1,1,"","CA",0)",
     {"ERR|COLUMN|'NEWDB_T1.CA' is already defined in CSV (Col 4)", "ERR|COLUMN|'B' is already mapped in CSV (Col 5)"}},
    {R"("TABLE","SALES","CUSTOMER","TABLE","CUSTOMER","","","")",
     {"ERR|TABLE|'SALES_CUSTOMER' is already defined in Catalog (Col 3)"}},
    {R"("COLUMN","SALES","CUSTOMER","NAME","NAME","VARCHAR",30,1,1,"","NAME",0)",
     {"ERR|COLUMN|'SALES_CUSTOMER.NAME' is already defined in Catalog (Col 4)",
      "ERR|COLUMN|'NAME' is already mapped in Catalog (Col 5)"}},
    {R"("COLUMN","NEWDB","T1")", {"ERR|COLUMN|Insufficient information to describe a Column"}},
    // USER
    {R"("USER","NEWU","pw")", {}},
    {R"("USER","admin","x")", {"ERR|USER|ADMIN cannot be imported"}},
    {R"("USER","jsmith","x")", {"ERR|USER|'JSMITH' is already defined in Catalog (Col 2)"}},
    {R"("USER","newu","x")", {"ERR|USER|'NEWU' is already defined in CSV (Col 2)"}},
    {R"("USER","U2","")", {"WARN|USER|Password is blank"}},
    {R"("USER","U3",)", {"WARN|USER|Password is blank"}},
    {R"("USER","U4","x","y")", {"ERR|USER|Insufficient information to describe a User"}},
    // DBPRV
    {R"("DBPRV","NEWU","NEWDB","dbu","dbp",1,1,0,0,"database")", {}},
    {R"("DBPRV","NOU","NEWDB","","x",1,1,0,0,"DATABASE")", {"ERR|DBPRV|User 'NOU' does not exist (Col 2)"}},
    {R"("DBPRV","NEWU","NODB","","x",1,1,0,0,"DATABASE")", {"ERR|DBPRV|Database 'NODB' does not exist (Col 3)"}},
    {R"("DBPRV","newu","newdb","","x",1,1,0,0,"DATABASE")",
     {"ERR|DBPRV|'User 'NEWU', Database 'NEWDB' privileges already defined in CSV (Col 2)"}},
    {R"("DBPRV","JSMITH","SALES","","x",1,1,0,0,"DATABASE")",
     {"ERR|DBPRV|'User 'JSMITH', Database 'SALES' privileges already defined in Catalog (Col 2)"}},
    {R"("DBPRV","U2","NEWDB","","",1,1,0,0,"TABLE")", {"WARN|DBPRV|Database Password is blank"}},
    {R"("DBPRV","U2","DB2","","x",2,1,0,0,"DATABASE")", {"ERR|DBPRV|Invalid Allow Select flag (Col 6)"}},
    {R"("DBPRV","U2","DB2","","x",1,x,0,0,"DATABASE")", {"ERR|DBPRV|Invalid Allow Insert flag (Col 7)"}},
    {R"("DBPRV","U2","DB2","","x",1,1,-1,0,"DATABASE")", {"ERR|DBPRV|Invalid Allow Update flag (Col 8)"}},
    {R"("DBPRV","U2","DB2","","x",1,1,0,0.5,"DATABASE")", {"ERR|DBPRV|Invalid Allow Delete flag (Col 9)"}},
    {R"("DBPRV","U2","DB2","","x",1,1,0,0,"")", {"ERR|DBPRV|Invalid Security Level (Col 10)"}},
    {R"("DBPRV","U2","DB2","","x",1,1,0,0,"DATABASE,TABLE")", {"ERR|DBPRV|Invalid Security Level (Col 10)"}},
    {R"("DBPRV","U2","DB2")", {"ERR|DBPRV|Insufficient information to describe a Database Privilege"}},
    // TBLPRV
    {R"("TBLPRV","NEWU","NEWDB","T1",1,0,0,0)", {}},
    {R"("TBLPRV","newu","NEWDB","t1",1,0,0,0)",
     {"ERR|TBLPRV|'User 'NEWU', Table 'NEWDBT1' privileges already defined in CSV (Col 2)"}},
    {R"("TBLPRV","REPORTS","SALES","CUSTOMER",1,0,0,0)",
     {"ERR|TBLPRV|'User 'REPORTS', Table 'SALESCUSTOMER' privileges already defined in Catalog (Col 2)"}},
    {R"("TBLPRV","NOU","NEWDB","T1",1,0,0,0)", {"ERR|TBLPRV|User 'NOU' does not exist (Col 2)"}},
    {R"("TBLPRV","NEWU","NODB","T1",1,0,0,0)", {"ERR|TBLPRV|Database 'NODB' does not exist (Col 3)"}},
    {R"("TBLPRV","NEWU","NEWDB","NOTAB",1,0,0,0)", {"ERR|TBLPRV|Table 'NEWDB_NOTAB' does not exist (Col 4)"}},
    {R"("TBLPRV","U2","NEWDB","T1",2,0,0,0)", {"ERR|TBLPRV|Invalid Allow Select flag (Col 5)"}},
    {R"("TBLPRV","U2","NEWDB","T1",1,2,0,0)", {"ERR|TBLPRV|Invalid Allow Insert flag (Col 6)"}},
    {R"("TBLPRV","U2","NEWDB","T1",1,0,2,0)", {"ERR|TBLPRV|Invalid Allow Update flag (Col 7)"}},
    {R"("TBLPRV","U2","NEWDB","T1",1,0,0,2)", {"ERR|TBLPRV|Invalid Allow Delete flag (Col 8)"}},
    {R"("TBLPRV","NEWU")", {"ERR|TBLPRV|Insufficient information to describe a Table Privilege"}},
    // Key parts no box can produce: empty, or longer than the catalog column
    // (FILE_NAME 32, DATABASE_NAME 10), shown as written.
    {R"("FILE","","INDEXED","FIXED",1)", {"ERR|FILE|Invalid File Name '' (Col 2)"}},
    {R"("FILE","abcdefghijklmnopqrstuvwxyzabcdefg","INDEXED","FIXED",1)",
     {"ERR|FILE|Invalid File Name 'abcdefghijklmnopqrstuvwxyzabcdefg' (Col 2)"}},
    {R"("FILE","ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEF","INDEXED","FIXED",1)", {}},
    {R"("FIELD","","A","STRING",0,10,10,0,0,"","")", {"ERR|FIELD|Invalid File Name '' (Col 2)"}},
    {R"("FIELD","NEWF","","STRING",0,10,10,0,0,"","")", {"ERR|FIELD|Invalid Field Name '' (Col 3)"}},
    {R"("DB","","dir","DISAM","","")", {"ERR|DB|Invalid Database Name '' (Col 2)"}},
    {R"("DB","Database123","dir","DISAM","","")", {"ERR|DB|Invalid Database Name 'Database123' (Col 2)"}},
    {R"("TABLE","NEWDB","","TABLE","NEWF","","","")", {"ERR|TABLE|Invalid Table Name '' (Col 3)"}},
    {R"("COLUMN","NEWDB","T1","","A","VARCHAR",10,1,1,"","C",0)", {"ERR|COLUMN|Invalid Column Name '' (Col 4)"}},
    {R"("USER","","pw")", {"ERR|USER|Invalid User Name '' (Col 2)"}},
    {"\"USER\",\"" LONG_NAME "\",\"pw\"", {"ERR|USER|Invalid User Name '" LONG_NAME "' (Col 2)"}},
    {R"("DBPRV","","NEWDB","","x",1,1,0,0,"DATABASE")", {"ERR|DBPRV|Invalid User Name '' (Col 2)"}},
    {R"("DBPRV","NEWU","","","x",1,1,0,0,"DATABASE")", {"ERR|DBPRV|Invalid Database Name '' (Col 3)"}},
    {R"("TBLPRV","NEWU","NEWDB","",1,0,0,0)", {"ERR|TBLPRV|Invalid Table Name '' (Col 4)"}},
    // Anything else
    {R"("NOPE","x")", {"ERR|?|Unknow line ID 'NOPE'"}},
    {"   ", {"ERR|?|Unknow line ID ''"}},
    {"", {}},
};

class Validate : public CsvTest
{
protected:
    // A file of `lines`, CR LF after each.
    void write(const QString &name, const QStringList &lines)
    {
        QByteArray bytes;
        for (const QString &line : lines)
            bytes += line.toUtf8() + "\r\n";
        writeFile(name, bytes);
    }
};

TEST_F(Validate, EveryBadLineIsListedWithItsMessageAndNothingIsImported)
{
    QStringList lines, expected;
    long errors = 0, warnings = 0;
    for (const Case &c : kCases) {
        lines << QString::fromUtf8(c.line);
        for (const QString &row : c.rows) {
            expected << QString::number(lines.size()) + QLatin1Char('|') + row;
            (row.startsWith(QLatin1String("ERR")) ? errors : warnings)++;
        }
    }
    write(QStringLiteral("rules.csv"), lines);
    const QStringList before = catalog(QStringLiteral("QnTest"));
    importFrom(QStringLiteral("QnTest"), QStringLiteral("rules.csv"), [&](frmCSVValidate &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("\"/rules.csv\" - Validating..."));
        EXPECT_EQ(d.lblStatus->text(), QStringLiteral("Click Start to begin Validation Stage (Stage 1 of 2)"));
        EXPECT_EQ(d.cmdAction->text(), QStringLiteral("&Start"));
        click(d.cmdAction);
        EXPECT_EQ(listed(d), expected);
        EXPECT_EQ(d.lblStatus->text(), QStringLiteral("%1 errors and %2 warnings found.  Correct the problems and "
                                                      "click Restart to retry.")
                                           .arg(errors)
                                           .arg(warnings));
        EXPECT_EQ(d.cmdAction->text(), QStringLiteral("&Restart"));
        EXPECT_EQ(d.pbrProgress->value(), lines.size());
        EXPECT_EQ(d.pbrProgress->maximum(), lines.size());
        EXPECT_TRUE(d.cmdCancel->isEnabled());
        // The icons: errors and warnings told apart.
        EXPECT_EQ(d.lvwErr->topLevelItem(0)->data(0, Qt::UserRole).toString(), QStringLiteral("Error"));
        click(d.cmdCancel);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(catalog(QStringLiteral("QnTest")), before);
    EXPECT_TRUE(ui().messages().isEmpty());
}

// One error: the singular words; warnings only: the question, and No leaves
// the catalog alone.
TEST_F(Validate, TheSummaryCountsInWordsAndWarningsAskFirst)
{
    write(QStringLiteral("one.csv"), {R"("FILE","F1","INDEXED","FIXED",1)", R"("FILE","F1","INDEXED","FIXED",1)"});
    importFrom(QStringLiteral("QnTest2"), QStringLiteral("one.csv"), [&](frmCSVValidate &d) {
        click(d.cmdAction);
        EXPECT_EQ(d.lblStatus->text(), QStringLiteral("1 error found.  Correct the problem and click Restart to retry."));
        click(d.cmdCancel);
    });
    write(QStringLiteral("warned.csv"), {R"("USER","U1","")", R"("FILE","F1","INDEXED","FIXED",1)"});
    const QStringList before = catalog(QStringLiteral("QnTest2"));
    importFrom(QStringLiteral("QnTest2"), QStringLiteral("warned.csv"), [&](frmCSVValidate &d) {
        ui().answerMsgBox(ui::vbNo);
        click(d.cmdAction);
        EXPECT_EQ(ui().messages().value(0), QStringLiteral("This CSV has no errors, but has 1 warning.\r\nDo you wish "
                                                           "to import it?"));
        EXPECT_EQ(ui().shown().last().style, ui::vbYesNo + ui::vbQuestion);
        EXPECT_EQ(d.lblStatus->text(), QStringLiteral("Validated with 1 warning"));
        EXPECT_EQ(listed(d), QStringList{QStringLiteral("1|WARN|USER|Password is blank")});
        EXPECT_EQ(d.cmdAction->text(), QStringLiteral("&Restart"));
        click(d.cmdCancel);
    });
    EXPECT_EQ(catalog(QStringLiteral("QnTest2")), before);
}

// After 5001 errors the run stops: one more row says so and nothing else of
// the file is read.
TEST_F(Validate, TheErrorLimitStopsTheRun)
{
    QStringList lines;
    for (int i = 0; i < 5003; ++i)
        lines << QStringLiteral("\"NOPE%1\"").arg(i + 1);
    write(QStringLiteral("many.csv"), lines);
    importFrom(QStringLiteral("QnTest2"), QStringLiteral("many.csv"), [&](frmCSVValidate &d) {
        click(d.cmdAction);
        const QStringList rows = listed(d);
        ASSERT_EQ(rows.size(), 5002);
        EXPECT_EQ(rows[5000], QStringLiteral("5001|ERR|?|Unknow line ID 'NOPE5001'"));
        EXPECT_EQ(rows[5001], QStringLiteral("5001|XXX|?|Stopped validating after 5001 errors"));
        EXPECT_EQ(d.lblStatus->text(), QStringLiteral("Validation halted - Click Restart to try again"));
        EXPECT_EQ(d.cmdAction->text(), QStringLiteral("&Restart"));
        EXPECT_EQ(d.pbrProgress->value(), 0);
        click(d.cmdCancel);
    });
}

// While a run is under way Cancel, the close box, Escape and a second Start
// are refused; Stop halts it after the line it is on, keeping what was
// listed; Restart reads the catalog and the file again from the start.
TEST_F(Validate, StopHaltsARunAndRestartRunsAgain)
{
    QStringList lines{QStringLiteral("\"NOPE\"")};
    for (int i = 0; i < 3000; ++i)
        lines << QStringLiteral("\"FILE\",\"X%1\",\"INDEXED\",\"FIXED\",1").arg(i);
    write(QStringLiteral("long.csv"), lines);
    importFrom(QStringLiteral("QnTest2"), QStringLiteral("long.csv"), [&](frmCSVValidate &d) {
        QStringList seen;
        QTimer timer;
        timer.setInterval(0);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (!d.lblStatus->text().startsWith(QLatin1String("Validating Line")))
                return;
            timer.stop();
            seen << d.lblStatus->text() << d.cmdAction->text();
            EXPECT_FALSE(d.cmdCancel->isEnabled());
            d.close();
            QTest::keyClick(&d, Qt::Key_Escape);
            EXPECT_TRUE(d.isVisible());
            QTest::mouseClick(d.cmdAction, Qt::LeftButton); // Stop
        });
        timer.start();
        click(d.cmdAction);
        timer.stop();
        ASSERT_EQ(seen.size(), 2);
        EXPECT_TRUE(seen[0].endsWith(QLatin1String(" of 3001")));
        EXPECT_EQ(seen[1], QStringLiteral("&Stop"));
        EXPECT_EQ(d.lblStatus->text(), QStringLiteral("Validation halted - Click Restart to try again"));
        EXPECT_EQ(d.cmdAction->text(), QStringLiteral("&Restart"));
        EXPECT_EQ(d.pbrProgress->value(), 0);
        EXPECT_EQ(listed(d), QStringList{QStringLiteral("1|ERR|?|Unknow line ID 'NOPE'")});
        EXPECT_TRUE(d.cmdCancel->isEnabled());
        EXPECT_TRUE(d.isVisible());

        // Restart: the whole file again, the list cleared first.
        click(d.cmdAction);
        EXPECT_EQ(listed(d), QStringList{QStringLiteral("1|ERR|?|Unknow line ID 'NOPE'")});
        EXPECT_EQ(d.lblStatus->text(), QStringLiteral("1 error found.  Correct the problem and click Restart to retry."));
        // Not running now: the close box cancels.
        d.close();
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_FILE WHERE FILE_NAME LIKE 'X%'"), QStringLiteral("QnTest2"))
                  .toInt(),
              0);
}

TEST_F(Validate, AnEmptyFileIsSaidToBeSoAndBlankLinesImportNothing)
{
    writeFile(QStringLiteral("empty.csv"), QByteArray());
    importFrom(QStringLiteral("QnTest2"), QStringLiteral("empty.csv"), [&](frmCSVValidate &d) {
        ui().answerMsgBox(ui::vbOK);
        click(d.cmdAction);
        EXPECT_EQ(ui().messages(), QStringList{QStringLiteral("The CSV is empty")});
        EXPECT_EQ(d.cmdAction->text(), QStringLiteral("&Stop"));
        EXPECT_EQ(d.lblStatus->text(), QStringLiteral("Reading current catalog DBPRV 'ADMIN'"));
        click(d.cmdAction);
        EXPECT_EQ(d.lblStatus->text(), QStringLiteral("Validation halted - Click Restart to try again"));
        click(d.cmdCancel);
    });
    const QStringList before = catalog(QStringLiteral("QnTest2"));
    ui().clear();
    writeFile(QStringLiteral("blank.csv"), QByteArray("\r\n\r\n"));
    importClean(QStringLiteral("QnTest2"), QStringLiteral("blank.csv"));
    EXPECT_EQ(catalog(QStringLiteral("QnTest2")), before);
}

// A data source that cannot be connected: no dialog.
TEST_F(Validate, NoDialogWithoutAConnection)
{
    ui().answerMsgBox(ui::vbOK);
    EXPECT_FALSE(frmCSVValidate::Validate(QStringLiteral("NoSuchSource"), path(QStringLiteral("x.csv"))));
    EXPECT_TRUE(ui().messages().value(0).startsWith(QLatin1String("Failed to connect")));
}

// A query of the checks that fails goes to the error dialog: Ignore halts the
// run, and Restart runs it again.
TEST_F(Validate, AFailingCheckHaltsTheRun)
{
    write(QStringLiteral("db.csv"), {R"("DB","NEWDB","dir","DISAM","","")"});
    importFrom(QStringLiteral("QnTest2"), QStringLiteral("db.csv"), [&](frmCSVValidate &d) {
        // The eight reads of the catalog, then the driver check.
        dao::Faults::Add(dao::Faults::Statement, 9, QStringLiteral("HY000"), QStringLiteral("busy"));
        ui().answerError(ui::vbIgnore);
        click(d.cmdAction);
        ASSERT_EQ(ui().errors().size(), 1);
        EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("frmCSVValidate.cmdAction_Click"));
        EXPECT_EQ(d.lblStatus->text(), QStringLiteral("Validation halted - Click Restart to try again"));
        EXPECT_EQ(d.cmdAction->text(), QStringLiteral("&Restart"));
        EXPECT_TRUE(d.cmdCancel->isEnabled());
        ui().answerMsgBox(ui::vbOK);
        click(d.cmdAction);
        EXPECT_EQ(ui().messages().last(), QStringLiteral("CSV Successfully imported."));
    });
    EXPECT_EQ(scalar(QStringLiteral("SELECT DRIVER_NAME FROM QN_DB WHERE DATABASE_NAME = 'NEWDB'"),
                     QStringLiteral("QnTest2"))
                  .toString(),
              QStringLiteral("DISAM"));
}

// A link lost under a query of the checks: Retry connects again and the run
// completes, the catalog read or the driver check as much as the import.
TEST_F(Validate, RetryAfterALostLinkCompletesTheRun)
{
    write(QStringLiteral("db.csv"), {R"("DB","NEWDB","dir","DISAM","","")"});
    const struct
    {
        int statement; // 3: a read of the catalog; 9: the driver check; 11: the INSERT
        const char *trappedIn;
    } cases[] = {{3, "frmCSVValidate.cmdAction_Click"},
                 {9, "frmCSVValidate.cmdAction_Click"},
                 {11, "frmCSVValidate.ImportLine"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.statement);
        open(QStringLiteral("QnTest2"))->Execute(QStringLiteral("DELETE FROM QN_DB WHERE DATABASE_NAME = 'NEWDB'"));
        ui().clear();
        importFrom(QStringLiteral("QnTest2"), QStringLiteral("db.csv"), [&](frmCSVValidate &d) {
            dao::Faults::Add(dao::Faults::Statement, c.statement, QStringLiteral("08S01"), QStringLiteral("link down"));
            ui().answerError(ui::vbRetry);
            ui().answerMsgBox(ui::vbOK);
            click(d.cmdAction);
        });
        ASSERT_EQ(ui().errors().size(), 1);
        EXPECT_EQ(ui().errors()[0].trappedIn, QLatin1String(c.trappedIn));
        EXPECT_EQ(ui().messages(), QStringList{QStringLiteral("CSV Successfully imported.")});
        EXPECT_EQ(scalar(QStringLiteral("SELECT DRIVER_NAME FROM QN_DB WHERE DATABASE_NAME = 'NEWDB'"),
                         QStringLiteral("QnTest2"))
                      .toString(),
                  QStringLiteral("DISAM"));
    }
}

} // namespace
