// The import stage: the exact statements of a clean file and its numbering,
// the whole import as one unit (a failure at any line leaves the catalog as it
// was, with or without the driver's transactions), and a round trip of a
// catalog through the file.

#include "core/frmqnerr.h"
#include "core/moddatabase.h"
#include "core/modupdate.h"
#include "csvfixture.h"

namespace {

const QString kTarget = QStringLiteral("QnTest2");

// A file written in every form the importer reads: lower case, short forms,
// numbers with a leading zero, Null numbers, an apostrophe, an empty line.
const char *const kClean[] = {
    R"("FILE","f1","indexed","fixed",012)",
    R"("FIELD","f1","a","string",0,4,4,0,0,"x","d'v")",
    R"("FILE","f2","RELATIVE","VARIABLE",)",
    R"("FIELD","F2","Z","STRING",0,1,1,0,0,"","")",
    R"("FIELD","OLD","n1","DATE",0,8)",
    R"("FIELD","f1","b","STRING",4,4,,,,"","")",
    R"("FIELD","Old","n2","STRING",8,2,2,0,1,"","")",
    "",
    R"("DB","d1","dir","disam","c's")",
    R"("TABLE","d1","t1","table","f1","t1.dat","")",
    R"("COLUMN","d1","t1","ca","a","varchar",4,1,1,"")",
    R"("COLUMN","d1","t1","ROWID","ROWID","INTEGER",4,0,1,"",6)",
    R"("COLUMN","d1","t1","cb","b","INTEGER",4,1,1,"0","Cb Shown")",
    R"("COLUMN","d1","t1","RELATIVE_INDEX","RELATIVE_INDEX","INTEGER",4,0,1,"","ca",8)",
    R"("USER","bob","secret")",
    R"("DBPRV","bob","d1","su","Pass",1,1,0,0,"database")",
    R"("TBLPRV","bob","d1","t1",1,0,0,)",
};

const char *const kInserts[] = {
    "INSERT INTO QN_FILE (FILE_NAME, FILE_ORGANISATION, RECORD_TYPE, RECORD_SIZE) VALUES ('F1', 'INDEXED', 'FIXED', "
    "12)",
    "INSERT INTO QN_FIELD (FILE_NAME, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, LENGTH, PRECISION, SCALE, ENCRYPTED, FORMAT, "
    "FIELD_NUMBER, DEFAULT_VALUE)VALUES ('F1', 'A', 'STRING', 0, 4, 4, 0, 0, 'X', 1, 'd''v') ",
    "INSERT INTO QN_FILE (FILE_NAME, FILE_ORGANISATION, RECORD_TYPE, RECORD_SIZE) VALUES ('F2', 'RELATIVE', "
    "'VARIABLE', NULL)",
    "INSERT INTO QN_FIELD (FILE_NAME, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, LENGTH, PRECISION, SCALE, ENCRYPTED, FORMAT, "
    "FIELD_NUMBER, DEFAULT_VALUE)VALUES ('F2', 'Z', 'STRING', 0, 1, 1, 0, 0, '', 1, '') ",
    "INSERT INTO QN_FIELD (FILE_NAME, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, LENGTH, PRECISION, SCALE, ENCRYPTED, FORMAT, "
    "FIELD_NUMBER, DEFAULT_VALUE)VALUES ('OLD', 'N1', 'DATE', 0, 8, 8, 8, 0, 'YYYYMMDD', 6, '') ",
    "INSERT INTO QN_FIELD (FILE_NAME, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, LENGTH, PRECISION, SCALE, ENCRYPTED, FORMAT, "
    "FIELD_NUMBER, DEFAULT_VALUE)VALUES ('F1', 'B', 'STRING', 4, 4, NULL, NULL, NULL, '', 2, '') ",
    "INSERT INTO QN_FIELD (FILE_NAME, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, LENGTH, PRECISION, SCALE, ENCRYPTED, FORMAT, "
    "FIELD_NUMBER, DEFAULT_VALUE)VALUES ('OLD', 'N2', 'STRING', 8, 2, 2, 0, 1, '', 7, '') ",
    "INSERT INTO QN_DB (DATABASE_NAME, DEFAULT_DIRECTORY, DRIVER_NAME, CONNECT_STRING, DISPLAY_NAME) VALUES ('D1', "
    "'dir', 'DISAM', 'c''s', 'd1')",
    "INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME, FILE_SPECIFICATION, CRITERIA, "
    "DISPLAY_NAME) VALUES ('D1', 'T1', 'TABLE', 'F1', 't1.dat', '', 't1')",
    "INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NAME, FIELD_NAME, SQL_TYPE_NAME, LENGTH, UPDATABLE, "
    "VISIBLE, DEFAULT_VALUE, COLUMN_NUMBER, DISPLAY_NAME, PRECISION, NULLABLE, CASE_SENSITIVE, SEARCHABLE, "
    "UNSIGNED_ATTRIBUTE, MONEY, AUTO_INCREMENT, RADIX, COLUMN_TYPE) VALUES ('D1', 'T1', 'CA', 'A', 'VARCHAR', 4, 1, "
    "1, '', 1, 'ca', 0254, 01, 01, 03, 00, 00, 00, 00, 0)",
    "INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NAME, FIELD_NAME, SQL_TYPE_NAME, LENGTH, UPDATABLE, "
    "VISIBLE, DEFAULT_VALUE, COLUMN_NUMBER, DISPLAY_NAME, PRECISION, NULLABLE, CASE_SENSITIVE, SEARCHABLE, "
    "UNSIGNED_ATTRIBUTE, MONEY, AUTO_INCREMENT, RADIX, COLUMN_TYPE) VALUES ('D1', 'T1', 'ROWID', 'ROWID', 'INTEGER', "
    "4, 0, 1, '', 1, 'ROWID', 010, 01, 00, 02, 00, 00, 00, 01, 6)",
    "INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NAME, FIELD_NAME, SQL_TYPE_NAME, LENGTH, UPDATABLE, "
    "VISIBLE, DEFAULT_VALUE, COLUMN_NUMBER, DISPLAY_NAME, PRECISION, NULLABLE, CASE_SENSITIVE, SEARCHABLE, "
    "UNSIGNED_ATTRIBUTE, MONEY, AUTO_INCREMENT, RADIX, COLUMN_TYPE) VALUES ('D1', 'T1', 'CB', 'B', 'INTEGER', 4, 1, "
    "1, '0', 2, 'Cb Shown', 010, 01, 00, 02, 00, 00, 00, 01, 0)",
    "INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NAME, FIELD_NAME, SQL_TYPE_NAME, LENGTH, UPDATABLE, "
    "VISIBLE, DEFAULT_VALUE, COLUMN_NUMBER, DISPLAY_NAME, PRECISION, NULLABLE, CASE_SENSITIVE, SEARCHABLE, "
    "UNSIGNED_ATTRIBUTE, MONEY, AUTO_INCREMENT, RADIX, COLUMN_TYPE, REMARKS) VALUES ('D1', 'T1', 'RELATIVE_INDEX', "
    "'RELATIVE_INDEX', 'INTEGER', 4, 0, 1, '', 1, 'RELATIVE_INDEX', 010, 01, 00, 02, 00, 00, 00, 01, 8, 'CA')",
    "INSERT INTO QN_USER (USER_NAME, USER_PASSWORD) VALUES ('BOB', 'SECRET') ",
    "INSERT INTO QN_DBPRV (USER_NAME, DATABASE_NAME, DATABASE_USERNAME, DATABASE_PASSWORD, ALLOW_SELECT, ALLOW_INSERT, "
    "ALLOW_UPDATE, ALLOW_DELETE, SECURITY_LEVEL) VALUES ('BOB', 'D1', 'SU', 'Pass', 1, 1, 0, 0, 'DATABASE')",
    "INSERT INTO QN_TBLPRV (USER_NAME, DATABASE_NAME, TABLE_NAME, ALLOW_SELECT, ALLOW_INSERT, ALLOW_UPDATE, "
    "ALLOW_DELETE) VALUES ('BOB', 'D1', 'T1', 1, 0, 0, NULL)",
};

class Import : public CsvTest
{
protected:
    void SetUp() override
    {
        CsvTest::SetUp();
        // A file of the catalog whose fields are numbered 1 and 5.
        for (const char *sql : {"INSERT INTO QN_FILE VALUES ('OLD', NULL, 10, 'INDEXED', 'FIXED', NULL)",
                                "INSERT INTO QN_FIELD VALUES ('OLD', 1, 'P', 'STRING', 0, 4, 4, 0, 0, NULL, NULL, "
                                "NULL), ('OLD', 5, 'Q', 'STRING', 4, 4, 4, 0, 0, NULL, NULL, NULL)"})
            open(kTarget)->Execute(QString::fromLatin1(sql));
        QByteArray bytes;
        for (const char *line : kClean)
            bytes += QByteArray(line) + "\r\n";
        writeFile(QStringLiteral("clean.csv"), bytes);
    }

    // The line of the file that holds the n-th INSERT (from 1).
    static int lineOfInsert(int n)
    {
        int line = 0;
        for (const char *text : kClean) {
            ++line;
            if (*text && --n == 0)
                return line;
        }
        return -1;
    }

    // Runs the import of clean.csv, answering the warnings question with Yes
    // and the closing message with OK; `onStatement` sees every statement sent
    // meanwhile.
    void runImport(const std::function<void(const QString &)> &onStatement)
    {
        importFrom(kTarget, QStringLiteral("clean.csv"), [&](frmCSVValidate &d) {
            ui().answerMsgBox(ui::vbYes);
            ui().answerMsgBox(ui::vbOK);
            dao::SetStatementObserver(onStatement);
            click(d.cmdAction);
            dao::SetStatementObserver(nullptr);
        });
    }
};

TEST_F(Import, ACleanFileIsWrittenWithTheGivenStatementsAndFreshNumbers)
{
    QStringList inserts, others;
    bool buttonsOff = true;
    runImport([&](const QString &sql) {
        if (!sql.startsWith(QLatin1String("INSERT"))) {
            others << sql;
            return;
        }
        inserts << sql;
        const auto *d = forms::LoadedForm<frmCSVValidate>();
        buttonsOff = buttonsOff && d && !d->cmdAction->isEnabled() && !d->cmdCancel->isEnabled();
    });
    QStringList expected;
    for (const char *sql : kInserts)
        expected << QString::fromUtf8(sql);
    EXPECT_EQ(inserts, expected);
    EXPECT_TRUE(buttonsOff);
    // The catalog is read once per table, the driver once, the field numbers
    // once, and the file OLD of the catalog once before its first new field.
    EXPECT_EQ(others.size(), 8 + 1 + 1 + 1);
    EXPECT_EQ(others.mid(9), QStringList({"SELECT FILE_NAME, MAX(FIELD_NUMBER) FROM QN_FIELD GROUP BY FILE_NAME",
                                          "SELECT FILE_NAME FROM QN_FILE WHERE FILE_NAME = 'OLD'"}));
    EXPECT_EQ(ui().messages(), QStringList({"This CSV has no errors, but has 2 warnings.\r\nDo you wish to import it?",
                                            "CSV Successfully imported."}));
    EXPECT_FALSE(forms::LoadedForm<frmCSVValidate>());
    EXPECT_EQ(rows(QStringLiteral("SELECT FILE_NAME, FIELD_NUMBER, FIELD_NAME FROM QN_FIELD WHERE FILE_NAME IN "
                                  "('F1', 'F2', 'OLD') ORDER BY 1, 2"),
                   kTarget),
              QStringList({"F1|1|A", "F1|2|B", "F2|1|Z", "OLD|1|P", "OLD|5|Q", "OLD|6|N1", "OLD|7|N2"}));
    EXPECT_EQ(rows(QStringLiteral("SELECT COLUMN_NAME, COLUMN_NUMBER, COLUMN_TYPE, REMARKS FROM QN_COLUMN WHERE "
                                  "DATABASE_NAME = 'D1' ORDER BY COLUMN_TYPE, COLUMN_NUMBER"),
                   kTarget),
              QStringList({"CA|1|0|", "CB|2|0|", "ROWID|1|6|", "RELATIVE_INDEX|1|8|CA"}));
    // The tree shows the data source afresh.
    const QModelIndex current = main().tvwExplorer->currentIndex();
    EXPECT_EQ(CNodes::NodeKeyOf(gNodes().Model()->itemFromIndex(current)), NodeKey::Datasource(kTarget));
    EXPECT_TRUE(main().tvwExplorer->isExpanded(current));
}

// A failure at any line leaves the catalog as it was and says so; with the
// driver's transactions off, the rows written are deleted again, last first.
// A commit that fails loses the connection, and with it the rows.
TEST_F(Import, AFailureLeavesTheCatalogAsItWasWithOrWithoutTransactions)
{
    const QStringList before = catalog(kTarget);
    const struct
    {
        bool transactions;
        int failingInsert; // 0: the commit fails; -1: the read of the field numbers before the first line
    } cases[] = {{true, 1}, {true, 9}, {true, 0}, {true, -1}, {false, 1}, {false, 9}, {false, 16}};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << (c.transactions ? "with" : "without") << " transactions, insert "
                                        << c.failingInsert);
        dao::IgnoreTransactionSupport(!c.transactions);
        ui().clear();
        ui().answerError(ui::vbIgnore);
        int inserts = 0;
        if (c.failingInsert == 0)
            dao::Faults::Add(dao::Faults::Commit, 1, QStringLiteral("08S01"), QStringLiteral("link down"));
        runImport([&](const QString &sql) {
            if ((sql.startsWith(QLatin1String("INSERT")) && ++inserts == c.failingInsert) ||
                (c.failingInsert < 0 && sql.contains(QLatin1String("MAX(FIELD_NUMBER)"))))
                dao::Faults::Add(dao::Faults::Statement, 1, QStringLiteral("23000"), QStringLiteral("refused"));
        });
        EXPECT_EQ(catalog(kTarget), before);
        ASSERT_EQ(ui().errors().size(), 1);
        EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("frmCSVValidate.ImportLine"));
        if (c.failingInsert > 0) {
            EXPECT_EQ(ui().errors()[0].additionalInfo.simplified(),
                      modDatabase::FormatSQL(QString::fromUtf8(kInserts[c.failingInsert - 1])).simplified());
            EXPECT_EQ(ui().messages().last(), QStringLiteral("The import stopped at line %1; nothing was imported.")
                                                  .arg(lineOfInsert(c.failingInsert)));
        } else if (c.failingInsert == 0) {
            EXPECT_EQ(ui().messages().last(), QStringLiteral("The import stopped at line %1; nothing was imported.")
                                                  .arg(int(std::size(kClean))));
        } else {
            EXPECT_EQ(ui().messages().last(),
                      QStringLiteral("The import stopped before its first line; nothing was imported."));
        }
        if (!c.transactions && c.failingInsert > 1) {
            // The DELETEs of the rows written, last first.
            const QStringList sent = modUpdate::LastStatements();
            ASSERT_GE(sent.size(), c.failingInsert - 1);
            EXPECT_EQ(sent.last(), QStringLiteral("DELETE FROM QN_FILE WHERE FILE_NAME = 'F1'"));
            EXPECT_EQ(sent[sent.size() - c.failingInsert + 1],
                      c.failingInsert == 9 ? QStringLiteral("DELETE FROM QN_DB WHERE DATABASE_NAME = 'D1'")
                                           : QStringLiteral("DELETE FROM QN_DBPRV WHERE USER_NAME = 'BOB' AND "
                                                            "DATABASE_NAME = 'D1'"));
        }
        EXPECT_FALSE(forms::LoadedForm<frmCSVValidate>());
        EXPECT_EQ(frmQNErr::Trace(), QStringList());
    }
}

// Without transactions, a row that cannot be deleted again either is not
// passed off as "nothing was imported": the message says what is left.
TEST_F(Import, AnUndoThatFailsTooIsNotCalledNothingImported)
{
    dao::IgnoreTransactionSupport(true);
    ui().answerError(ui::vbIgnore);
    int inserts = 0;
    runImport([&](const QString &sql) {
        if ((sql.startsWith(QLatin1String("INSERT")) && ++inserts == 3) ||
            sql == QLatin1String("DELETE FROM QN_FILE WHERE FILE_NAME = 'F1'"))
            dao::Faults::Add(dao::Faults::Statement, 1, QStringLiteral("HY000"), QStringLiteral("refused"));
    });
    dao::IgnoreTransactionSupport(false);
    EXPECT_EQ(ui().messages().last(), QStringLiteral("The import stopped at line %1; the lines imported before it "
                                                     "could not all be removed again.")
                                          .arg(lineOfInsert(3)));
    EXPECT_EQ(ui().shown().last().style, ui::vbExclamation);
    EXPECT_EQ(rows(QStringLiteral("SELECT FILE_NAME FROM QN_FILE WHERE FILE_NAME IN ('F1', 'F2')"), kTarget),
              QStringList{"F1"});
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_FIELD WHERE FILE_NAME = 'F1'"), kTarget).toInt(), 0);
}

// Retry runs the whole import again: numbers start afresh, nothing twice.
TEST_F(Import, RetryImportsTheWholeFileOnce)
{
    ui().answerError(ui::vbRetry);
    int inserts = 0;
    runImport([&](const QString &sql) {
        if (sql.startsWith(QLatin1String("INSERT")) && ++inserts == 5)
            dao::Faults::Add(dao::Faults::Statement, 1, QStringLiteral("HY000"), QStringLiteral("busy"));
    });
    EXPECT_EQ(ui().messages().last(), QStringLiteral("CSV Successfully imported."));
    EXPECT_EQ(inserts, 5 + int(std::size(kInserts)));
    EXPECT_EQ(rows(QStringLiteral("SELECT FILE_NAME, FIELD_NUMBER, FIELD_NAME FROM QN_FIELD WHERE FILE_NAME IN "
                                  "('F1', 'F2', 'OLD') ORDER BY 1, 2"),
                   kTarget),
              QStringList({"F1|1|A", "F1|2|B", "F2|1|Z", "OLD|1|P", "OLD|5|Q", "OLD|6|N1", "OLD|7|N2"}));
}

// A file of the catalog whose fields have no number yet: the imported ones
// are numbered from 1.
TEST_F(Import, FieldsOfACatalogFileWithoutNumbersStartAtOne)
{
    for (const char *sql : {"INSERT INTO QN_FILE VALUES ('BARE', NULL, 10, 'INDEXED', 'FIXED', NULL)",
                            "INSERT INTO QN_FIELD VALUES ('BARE', NULL, 'P', 'STRING', 0, 4, 4, 0, 0, NULL, NULL, NULL)"})
        open(kTarget)->Execute(QString::fromLatin1(sql));
    writeFile(QStringLiteral("bare.csv"), QByteArray(R"("FIELD","BARE","Q","STRING",4,4,4,0,0,"","")"
                                                     "\r\n"));
    importClean(kTarget, QStringLiteral("bare.csv"));
    EXPECT_EQ(rows(QStringLiteral("SELECT FIELD_NAME, FIELD_NUMBER FROM QN_FIELD WHERE FILE_NAME = 'BARE' ORDER BY 1"),
                   kTarget),
              QStringList({"P|", "Q|1"}));
}

// A row that a line goes under, found in the catalog by the checks and
// deleted by another connection before the import writes (the question on
// screen): the import fails with 3021 on the read of that row, names it, and
// writes nothing, with or without the driver's transactions.
TEST_F(Import, AParentDeletedMeanwhileFailsTheImportAndWritesNothing)
{
    const char *const parents[] = {
        "INSERT OR REPLACE INTO QN_FILE VALUES ('OLD', NULL, 10, 'INDEXED', 'FIXED', NULL)",
        "INSERT OR REPLACE INTO QN_DB (DATABASE_NAME, DRIVER_NAME, DISPLAY_NAME) VALUES ('CATDB', 'DISAM', 'CATDB')",
        "INSERT OR REPLACE INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME) VALUES ('CATDB', 'CATT', "
        "'TABLE', 'OLD')",
        "INSERT OR REPLACE INTO QN_USER (USER_NAME, USER_PASSWORD) VALUES ('CATU', 'PW')",
    };
    const struct
    {
        const char *line;
        const char *gone;
        const char *parent;  // the read that fails
        const char *written; // counts the line's row
    } cases[] = {
        {R"("FIELD","OLD","N3","STRING",0,4,4,0,0,"","")", "DELETE FROM QN_FILE WHERE FILE_NAME = 'OLD'",
         "SELECT FILE_NAME FROM QN_FILE WHERE FILE_NAME = 'OLD'",
         "SELECT COUNT(*) FROM QN_FIELD WHERE FIELD_NAME = 'N3'"},
        {R"("TABLE","CATDB","T9","TABLE","OLD","t9.dat","","T9")", "DELETE FROM QN_DB WHERE DATABASE_NAME = 'CATDB'",
         "SELECT DATABASE_NAME FROM QN_DB WHERE DATABASE_NAME = 'CATDB'",
         "SELECT COUNT(*) FROM QN_TABLE WHERE TABLE_NAME = 'T9'"},
        {R"("DBPRV","CATU","CATDB","SU","PW",1,1,0,0,"DATABASE")", "DELETE FROM QN_USER WHERE USER_NAME = 'CATU'",
         "SELECT USER_NAME FROM QN_USER WHERE USER_NAME = 'CATU'",
         "SELECT COUNT(*) FROM QN_DBPRV WHERE USER_NAME = 'CATU'"},
        {R"("DBPRV","CATU","CATDB","SU","PW",1,1,0,0,"DATABASE")", "DELETE FROM QN_DB WHERE DATABASE_NAME = 'CATDB'",
         "SELECT DATABASE_NAME FROM QN_DB WHERE DATABASE_NAME = 'CATDB'",
         "SELECT COUNT(*) FROM QN_DBPRV WHERE USER_NAME = 'CATU'"},
        {R"("TBLPRV","CATU","CATDB","CATT",1,0,0,0)", "DELETE FROM QN_TABLE WHERE TABLE_NAME = 'CATT'",
         "SELECT DATABASE_NAME, TABLE_NAME FROM QN_TABLE WHERE DATABASE_NAME = 'CATDB' AND TABLE_NAME = 'CATT'",
         "SELECT COUNT(*) FROM QN_TBLPRV WHERE USER_NAME = 'CATU'"},
    };
    for (const bool transactions : {true, false}) {
        for (const auto &c : cases) {
            SCOPED_TRACE(testing::Message() << (transactions ? "with" : "without") << " transactions: " << c.gone);
            for (const char *sql : parents)
                open(kTarget)->Execute(QString::fromLatin1(sql));
            // A line of its own written first; its blank password asks the question.
            writeFile(QStringLiteral("parent.csv"), QByteArray(R"("USER","NEWU","")") + "\r\n" + c.line + "\r\n");
            dao::IgnoreTransactionSupport(!transactions);
            ui().clear();
            ui().answerError(ui::vbIgnore);
            importFrom(kTarget, QStringLiteral("parent.csv"), [&](frmCSVValidate &d) {
                ui().answerMsgBox(ui::vbYes);
                ui().answerMsgBox(ui::vbOK);
                dao::SetStatementObserver([&](const QString &sql) {
                    if (sql.contains(QLatin1String("MAX(FIELD_NUMBER)")))
                        open(kTarget)->Execute(QString::fromLatin1(c.gone));
                });
                click(d.cmdAction);
                dao::SetStatementObserver(nullptr);
                EXPECT_EQ(listed(d), QStringList{QStringLiteral("1|WARN|USER|Password is blank")});
            });
            ASSERT_EQ(ui().errors().size(), 1);
            EXPECT_EQ(ui().errors()[0].number, QStringLiteral("3021"));
            EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("frmCSVValidate.ImportLine"));
            EXPECT_EQ(ui().errors()[0].additionalInfo.simplified(),
                      modDatabase::FormatSQL(QString::fromLatin1(c.parent)).simplified());
            EXPECT_EQ(ui().messages().last(), QStringLiteral("The import stopped at line 2; nothing was imported."));
            EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_USER WHERE USER_NAME = 'NEWU'"), kTarget).toInt(), 0);
            EXPECT_EQ(scalar(QString::fromLatin1(c.written), kTarget).toInt(), 0);
        }
    }
}

// Without transactions nothing holds a row of the catalog that lines go
// under: each such line reads it right before its own INSERT, so a parent
// another connection deletes part-way fails the next line under it with 3021
// and nothing is imported. With transactions one read per import serves.
TEST_F(Import, WithoutTransactionsEachLineReadsItsCatalogParentFirst)
{
    open(kTarget)->Execute(QStringLiteral(
        "INSERT INTO QN_DB (DATABASE_NAME, DRIVER_NAME, DISPLAY_NAME) VALUES ('SALES', 'DISAM', 'SALES')"));
    const QString sales = QStringLiteral("SELECT DATABASE_NAME FROM QN_DB WHERE DATABASE_NAME = 'SALES'");
    const QString old = QStringLiteral("SELECT FILE_NAME FROM QN_FILE WHERE FILE_NAME = 'OLD'");
    writeFile(QStringLiteral("privileges.csv"), "\"USER\",\"U0\",\"PW\"\r\n"
                                                "\"DBPRV\",\"U0\",\"SALES\",\"SU\",\"PW\",1,1,0,0,\"DATABASE\"\r\n"
                                                "\"USER\",\"U1\",\"PW\"\r\n"
                                                "\"DBPRV\",\"U1\",\"SALES\",\"SU\",\"PW\",1,1,0,0,\"DATABASE\"\r\n");
    writeFile(QStringLiteral("fields.csv"), "\"FIELD\",\"OLD\",\"N1\",\"STRING\",8,2,2,0,0,\"\",\"\"\r\n"
                                            "\"FIELD\",\"OLD\",\"N2\",\"STRING\",10,2,2,0,0,\"\",\"\"\r\n");

    // The reads and INSERTs sent, and where the reads fall.
    const auto imported = [&](const QString &file, bool transactions) {
        dao::IgnoreTransactionSupport(!transactions);
        ui().clear();
        QStringList sent;
        importFrom(kTarget, file, [&](frmCSVValidate &d) {
            ui().answerMsgBox(ui::vbOK);
            click(d.cmdAction);
        });
        dao::IgnoreTransactionSupport(false);
        for (const QString &sql : modUpdate::LastStatements())
            sent << (sql.startsWith(QLatin1String("INSERT")) ? sql.section(QLatin1Char(' '), 0, 2) : sql);
        return sent;
    };
    const QString users = QStringLiteral("INSERT INTO QN_USER"), privileges = QStringLiteral("INSERT INTO QN_DBPRV");
    const QString numbers = QStringLiteral("SELECT FILE_NAME, MAX(FIELD_NUMBER) FROM QN_FIELD GROUP BY FILE_NAME");
    EXPECT_EQ(imported(QStringLiteral("privileges.csv"), false),
              QStringList({numbers, users, sales, privileges, users, sales, privileges}));
    EXPECT_EQ(ui().messages().value(0), QStringLiteral("CSV Successfully imported."));
    open(kTarget)->Execute(QStringLiteral("DELETE FROM QN_USER WHERE USER_NAME IN ('U0', 'U1')"));
    open(kTarget)->Execute(QStringLiteral("DELETE FROM QN_DBPRV WHERE USER_NAME IN ('U0', 'U1')"));
    EXPECT_EQ(imported(QStringLiteral("privileges.csv"), true),
              QStringList({numbers, users, sales, privileges, users, privileges}));
    EXPECT_EQ(ui().messages().value(0), QStringLiteral("CSV Successfully imported."));
    open(kTarget)->Execute(QStringLiteral("DELETE FROM QN_USER WHERE USER_NAME IN ('U0', 'U1')"));
    open(kTarget)->Execute(QStringLiteral("DELETE FROM QN_DBPRV WHERE USER_NAME IN ('U0', 'U1')"));

    const struct
    {
        const char *file;
        int deleteAtInsert; // the INSERT before which the other connection deletes
        const char *gone;
        QString read; // the read that fails
        int line;     // the line that fails
        const char *written;
    } cases[] = {
        // A parent met again after lines under other rows.
        {"privileges.csv", 3, "DELETE FROM QN_DB WHERE DATABASE_NAME = 'SALES'", sales, 4,
         "SELECT COUNT(*) FROM QN_USER WHERE USER_NAME IN ('U0', 'U1')"},
        // A parent of the line just before.
        {"fields.csv", 1, "DELETE FROM QN_FILE WHERE FILE_NAME = 'OLD'", old, 2,
         "SELECT COUNT(*) FROM QN_FIELD WHERE FIELD_NAME IN ('N1', 'N2')"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.gone);
        dao::IgnoreTransactionSupport(true);
        ui().clear();
        ui().answerError(ui::vbIgnore);
        importFrom(kTarget, QString::fromLatin1(c.file), [&](frmCSVValidate &d) {
            ui().answerMsgBox(ui::vbOK);
            int inserts = 0;
            dao::SetStatementObserver([&](const QString &sql) {
                if (sql.startsWith(QLatin1String("INSERT")) && ++inserts == c.deleteAtInsert)
                    open(kTarget)->Execute(QString::fromLatin1(c.gone));
            });
            click(d.cmdAction);
            dao::SetStatementObserver(nullptr);
        });
        dao::IgnoreTransactionSupport(false);
        ASSERT_EQ(ui().errors().size(), 1);
        EXPECT_EQ(ui().errors()[0].number, QStringLiteral("3021"));
        EXPECT_EQ(ui().errors()[0].additionalInfo.simplified(), modDatabase::FormatSQL(c.read).simplified());
        EXPECT_EQ(ui().messages().value(0),
                  QStringLiteral("The import stopped at line %1; nothing was imported.").arg(c.line));
        EXPECT_EQ(scalar(QString::fromLatin1(c.written), kTarget).toInt(), 0);
        EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_DBPRV WHERE USER_NAME IN ('U0', 'U1')"), kTarget)
                      .toInt(),
                  0);
    }
}

// Names compare with their letter case, in the catalog's keys as in the
// checks: a row another tool stored in lower case is not the parent that a
// line's upper-cased name (the name the import writes and reads) refers to,
// so the checks list the line; nor does it hold that name, so a line of that
// name imports beside it.
TEST_F(Import, ARowStoredInLowerCaseIsNotTheParentOfALine)
{
    for (const char *sql :
         {"INSERT INTO QN_FILE VALUES ('lowf', NULL, 10, 'INDEXED', 'FIXED', NULL)",
          "INSERT INTO QN_DB (DATABASE_NAME, DRIVER_NAME, DISPLAY_NAME) VALUES ('lowdb', 'DISAM', 'lowdb'), "
          "('UPDB', 'DISAM', 'UPDB')",
          "INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME) VALUES ('lowdb', 'LOWT', 'TABLE', "
          "'OLD'), ('UPDB', 'lowt', 'TABLE', 'OLD')",
          "INSERT INTO QN_USER VALUES ('lowu', 'PW', NULL)"})
        open(kTarget)->Execute(QString::fromLatin1(sql));
    writeFile(QStringLiteral("lower.csv"),
              R"("FIELD","lowf","F1","STRING",0,4,4,0,0,"","")" "\r\n"
              R"("TABLE","lowdb","T1","TABLE","OLD","","","")" "\r\n"
              R"("DB","NEWDB","dir","DISAM","","")" "\r\n"
              R"("TABLE","NEWDB","T2","TABLE","lowf","","","")" "\r\n"
              R"("DBPRV","lowu","NEWDB","SU","PW",1,1,0,0,"DATABASE")" "\r\n"
              R"("USER","NEWU","PW")" "\r\n"
              R"("DBPRV","NEWU","lowdb","SU","PW",1,1,0,0,"DATABASE")" "\r\n"
              R"("TBLPRV","NEWU","lowdb","LOWT",1,0,0,0)" "\r\n"
              R"("TBLPRV","NEWU","UPDB","lowt",1,0,0,0)" "\r\n");
    const QStringList before = catalog(kTarget);
    importFrom(kTarget, QStringLiteral("lower.csv"), [&](frmCSVValidate &d) {
        click(d.cmdAction);
        EXPECT_EQ(listed(d), QStringList({
                                 "1|ERR|FIELD|File 'LOWF' is not defined (Col 2)",
                                 "2|ERR|TABLE|Database 'LOWDB' does not exist (Col 2)",
                                 "4|ERR|TABLE|File 'LOWF' is not defined (Col 5)",
                                 "5|ERR|DBPRV|User 'LOWU' does not exist (Col 2)",
                                 "7|ERR|DBPRV|Database 'LOWDB' does not exist (Col 3)",
                                 "8|ERR|TBLPRV|Database 'LOWDB' does not exist (Col 3)",
                                 "9|ERR|TBLPRV|Table 'UPDB_LOWT' does not exist (Col 4)",
                             }));
        click(d.cmdCancel);
    });
    EXPECT_EQ(catalog(kTarget), before);

    ui().clear();
    writeFile(QStringLiteral("names.csv"), R"("FILE","lowf","INDEXED","FIXED",10)" "\r\n"
                                           R"("DB","lowdb","dir","DISAM","","")" "\r\n"
                                           R"("USER","lowu","PW")" "\r\n");
    importClean(kTarget, QStringLiteral("names.csv"));
    EXPECT_EQ(rows(QStringLiteral("SELECT FILE_NAME FROM QN_FILE WHERE UPPER(FILE_NAME) = 'LOWF' UNION ALL "
                                  "SELECT DATABASE_NAME FROM QN_DB WHERE UPPER(DATABASE_NAME) = 'LOWDB' UNION ALL "
                                  "SELECT USER_NAME FROM QN_USER WHERE UPPER(USER_NAME) = 'LOWU' ORDER BY 1"),
                   kTarget),
              QStringList({"LOWDB", "LOWF", "LOWU", "lowdb", "lowf", "lowu"}));
}

// The lines the checks read are the lines written: a file replaced while the
// warnings question is on screen is not read again. Restart reads the file
// anew and checks it again.
TEST_F(Import, TheLinesCheckedAreTheLinesWritten)
{
    const QByteArray checked = "\"USER\",\"U1\",\"\"\r\n\"FILE\",\"F1\",\"INDEXED\",\"FIXED\",1\r\n";
    writeFile(QStringLiteral("swap.csv"), checked);
    importFrom(kTarget, QStringLiteral("swap.csv"), [&](frmCSVValidate &d) {
        ui().answerMsgBox(ui::vbYes);
        ui().answerMsgBox(ui::vbOK);
        dao::SetStatementObserver([&](const QString &sql) {
            if (sql.contains(QLatin1String("MAX(FIELD_NUMBER)")))
                writeFile(QStringLiteral("swap.csv"), "\"FILE\",\"BAD\",\"NOPE\",\"NOPE\",1\r\n");
        });
        click(d.cmdAction);
        dao::SetStatementObserver(nullptr);
    });
    EXPECT_EQ(ui().messages().last(), QStringLiteral("CSV Successfully imported."));
    EXPECT_EQ(rows(QStringLiteral("SELECT FILE_NAME FROM QN_FILE WHERE FILE_NAME IN ('F1', 'BAD')"), kTarget),
              QStringList{"F1"});
    EXPECT_EQ(rows(QStringLiteral("SELECT USER_NAME FROM QN_USER WHERE USER_NAME = 'U1'"), kTarget), QStringList{"U1"});

    ui().clear();
    writeFile(QStringLiteral("again.csv"), "\"FILE\",\"F2\",\"NOPE\",\"FIXED\",1\r\n");
    importFrom(kTarget, QStringLiteral("again.csv"), [&](frmCSVValidate &d) {
        click(d.cmdAction);
        EXPECT_EQ(listed(d), QStringList{QStringLiteral("1|ERR|FILE|Invalid File Organisation 'NOPE' (Col 3)")});
        writeFile(QStringLiteral("again.csv"), "\"FILE\",\"F3\",\"INDEXED\",\"FIXED\",1\r\n");
        ui().answerMsgBox(ui::vbOK);
        click(d.cmdAction); // Restart
    });
    EXPECT_EQ(ui().messages().last(), QStringLiteral("CSV Successfully imported."));
    EXPECT_EQ(rows(QStringLiteral("SELECT FILE_NAME FROM QN_FILE WHERE FILE_NAME IN ('F2', 'F3')"), kTarget),
              QStringList{"F3"});
}

// A NUL character is dropped wherever it stands, the tag included, so that
// the checks (the driver's among them) and the INSERT see the same text.
TEST_F(Import, ANulCharacterIsDroppedWhereverItStands)
{
    static const char line[] = "\0\"D\0B\",\"NUL\0DB\",\"d\0ir\",\"DIS\0AM\",\"c\0\",\"\0NulDb\0\"\0\r\n";
    writeFile(QStringLiteral("nul.csv"), QByteArray(line, sizeof line - 1));
    importClean(kTarget, QStringLiteral("nul.csv"));
    EXPECT_EQ(rows(QStringLiteral("SELECT DATABASE_NAME, DEFAULT_DIRECTORY, DRIVER_NAME, CONNECT_STRING, DISPLAY_NAME "
                                  "FROM QN_DB WHERE DATABASE_NAME = 'NULDB'"),
                   kTarget),
              QStringList{"NULDB|dir|DISAM|c|NulDb"});
}

// ------------------------------------------------------------------ round trip

// The columns that travel, per table, and which of them the import upper-cases.
struct Travelling
{
    const char *select;
    QList<int> upper;
};
const Travelling kTravelling[] = {
    {"SELECT FILE_NAME, FILE_ORGANISATION, RECORD_TYPE, RECORD_SIZE FROM QN_FILE WHERE FILE_NAME NOT IN %1 ORDER BY 1",
     {0, 1, 2}},
    {"SELECT FILE_NAME, FIELD_NUMBER, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, LENGTH, PRECISION, SCALE, ENCRYPTED, FORMAT, "
     "DEFAULT_VALUE FROM QN_FIELD WHERE FILE_NAME NOT IN %1 ORDER BY 1, 3",
     {0, 2, 3, 9}},
    {"SELECT DATABASE_NAME, DEFAULT_DIRECTORY, DRIVER_NAME, CONNECT_STRING, DISPLAY_NAME FROM QN_DB WHERE "
     "DATABASE_NAME <> 'QN' ORDER BY 1",
     {0, 2}},
    {"SELECT DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME, FILE_SPECIFICATION, CRITERIA, DISPLAY_NAME FROM "
     "QN_TABLE WHERE DATABASE_NAME <> 'QN' ORDER BY 1, 2",
     {0, 1, 2, 3}},
    // A relative index's column travels in its REMARKS.
    {"SELECT DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, FIELD_NAME, SQL_TYPE_NAME, LENGTH, UPDATABLE, "
     "VISIBLE, DEFAULT_VALUE, CASE WHEN COLUMN_TYPE = 8 THEN REMARKS ELSE DISPLAY_NAME END, COLUMN_TYPE FROM "
     "QN_COLUMN WHERE DATABASE_NAME <> 'QN' ORDER BY 1, 2, 4",
     {0, 1, 3, 4, 5}},
    {"SELECT USER_NAME, USER_PASSWORD FROM QN_USER WHERE USER_NAME <> 'ADMIN' ORDER BY 1", {0, 1}},
    {"SELECT USER_NAME, DATABASE_NAME, DATABASE_USERNAME, DATABASE_PASSWORD, ALLOW_SELECT, ALLOW_INSERT, "
     "ALLOW_UPDATE, ALLOW_DELETE, SECURITY_LEVEL FROM QN_DBPRV WHERE DATABASE_NAME <> 'QN' ORDER BY 1, 2",
     {0, 1, 2, 8}},
    {"SELECT USER_NAME, DATABASE_NAME, TABLE_NAME, ALLOW_SELECT, ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE FROM "
     "QN_TBLPRV WHERE DATABASE_NAME <> 'QN' ORDER BY 1, 2, 3",
     {0, 1, 2}},
};

class RoundTrip : public CsvTest
{
protected:
    // The travelling rows of `ds`; with `asImported` as the import writes
    // them: the upper-cased columns upper-cased, every text without blanks at
    // its ends (the reader trims each value). A Null text reads as '' (it
    // travels so); a Null number stays Null.
    QStringList travelling(const QString &ds, bool asImported)
    {
        const QString files = QStringLiteral("('CNTRL','COLUMN','DB','DBPRV','DRIVER','FIELD','FILE','KEY','LOCDT',"
                                             "'SQLDT','TABLE','TBLPRV','USER')");
        QStringList list;
        for (const Travelling &t : kTravelling) {
            auto rs = open(ds)->OpenRecordset(QString::fromLatin1(t.select).replace(QStringLiteral("%1"), files));
            for (long r = 0; r < rs->RecordCount(); ++r) {
                QStringList cells;
                for (int c = 0; c < rs->GetFields().Count(); ++c) {
                    const QVariant &v = rs->Cell(r, c);
                    const int type = rs->GetFields()(c).Type();
                    const bool text = type == dao::dbText || type == dao::dbChar || type == dao::dbMemo;
                    QString cell = v.isNull() ? (text ? QString() : QStringLiteral("<null>")) : v.toString();
                    if (asImported && text)
                        cell = t.upper.contains(c) ? cell.trimmed().toUpper() : cell.trimmed();
                    cells << cell;
                }
                list << cells.join(QLatin1Char('|'));
            }
        }
        return list;
    }
};

TEST_F(RoundTrip, ACatalogExportedAndImportedIntoAnEmptyOneComesBackRowForRow)
{
    const QString source = QStringLiteral("QnTest");
    for (const char *sql : {
             "INSERT INTO QN_FILE VALUES ('O''NEIL', NULL, NULL, 'INDEXED', 'FIXED', NULL)",
             "INSERT INTO QN_FIELD VALUES ('O''NEIL', 1, 'NAME,FULL', 'STRING', 0, 10, NULL, NULL, 2, NULL, "
             "'say \"hi\", it''s', NULL), ('O''NEIL', 2, 'CITY', 'STRING', 10, 20, 20, 0, 0, NULL, 'Zürich café', NULL)",
             "INSERT INTO QN_DB VALUES ('EURO', 'C:\\Données, \"old\"', 'DISAM', NULL, 'DSN=x;PWD=a,b\"c', NULL, "
             "'Euro')",
             "INSERT INTO QN_TABLE VALUES ('EURO', 'T''1', 'TABLE', 'O''NEIL', 'f.dat', 2, 'EURO_T''1.CITY = "
             "''Zürich, \"x\"''', NULL, 'Tëst')",
             "INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, FIELD_NAME, SQL_TYPE_NAME, "
             "LENGTH, UPDATABLE, VISIBLE, DEFAULT_VALUE, COLUMN_TYPE, DISPLAY_NAME) VALUES ('EURO', 'T''1', 1, "
             "'FULL,NAME', 'NAME,FULL', 'VARCHAR', NULL, 1, 1, 'ä', NULL, 'Näme')",
             "INSERT INTO QN_USER VALUES ('D''ARCY', 'PW', NULL)",
             "INSERT INTO QN_DBPRV VALUES ('D''ARCY', 'EURO', NULL, 'Päss', 1, NULL, 0, 1, 'TABLE', NULL)",
             "INSERT INTO QN_TBLPRV VALUES ('EURO', 'T''1', 'D''ARCY', 1, 0, 0, NULL, NULL)",
         })
        open(source)->Execute(QString::fromUtf8(sql));
    const QStringList expected = travelling(source, true);
    ASSERT_GT(expected.size(), 130);

    exportTo(source, QStringLiteral("trip.csv"));
    EXPECT_EQ(ui().messages(), QStringList{QStringLiteral("Catalog Exported")});
    ui().clear();
    importFrom(kTarget, QStringLiteral("trip.csv"), [&](frmCSVValidate &d) {
        ui().answerMsgBox(ui::vbYes); // the blank database passwords
        ui().answerMsgBox(ui::vbOK);
        click(d.cmdAction);
        for (const QString &row : listed(d))
            EXPECT_TRUE(row.contains(QLatin1String("|WARN|DBPRV|Database Password is blank"))) << row.toStdString();
    });
    EXPECT_EQ(ui().messages().last(), QStringLiteral("CSV Successfully imported."));
    EXPECT_EQ(travelling(kTarget, false), expected);
}

} // namespace
