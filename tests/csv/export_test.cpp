// The catalog export: the exact file, its blocks with their statuses and
// progress, what stays out, and the ways an export ends.

#include <QFileInfo>
#include <QStandardItem>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

#include "csvfixture.h"

namespace {

// A small catalog in the new catalog of QnTest2: text and number columns,
// Nulls of both, a value with a comma and quotes, one with a line break,
// special columns (the relative index names its column in REMARKS), the
// catalog's own file KEY, the user ADMIN's privilege on a user database.
const char *const kRows[] = {
    "INSERT INTO QN_FILE VALUES ('CUST', 'o', 120, 'INDEXED', 'FIXED', 'rem'), "
    "('KEY', NULL, 10, 'INDEXED', 'FIXED', NULL), ('NOSIZE', NULL, NULL, 'SEQUENTIAL', 'VARIABLE', NULL)",
    "INSERT INTO QN_FIELD VALUES ('CUST', 1, 'CUST-NO', 'STRING', 0, 10, 10, 0, 0, NULL, NULL, NULL), "
    "('CUST', 2, 'NAME', 'STRING', 10, 30, NULL, 0, 2, 'X', 'O''Neil, \"Jr\"', 'r'), "
    "('KEY', 1, 'K', 'STRING', 0, 10, 10, 0, 0, NULL, NULL, NULL)",
    "INSERT INTO QN_DB VALUES ('SALES', '/data', 'DISAM', NULL, 'DSN=x;' || char(13) || char(10) || 'UID=y', 'r', "
    "'Sales')",
    "INSERT INTO QN_TABLE VALUES ('SALES', 'CUSTOMER', 'TABLE', 'CUST', 'cust.dat', 2, NULL, 'r', 'Customer')",
    "INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, FIELD_NAME, SQL_TYPE_NAME, LENGTH, "
    "UPDATABLE, VISIBLE, DEFAULT_VALUE, REMARKS, COLUMN_TYPE, DISPLAY_NAME) VALUES "
    "('SALES', 'CUSTOMER', 1, 'CUST_NO', 'CUST-NO', 'VARCHAR', 10, 1, 1, NULL, 'r', 0, 'CUST_NO'), "
    "('SALES', 'CUSTOMER', 1, 'ROWID', 'ROWID', 'INTEGER', 4, 0, 1, '', '', 6, 'ROWID'), "
    "('SALES', 'CUSTOMER', 1, 'RELATIVE_INDEX', 'RELATIVE_INDEX', 'INTEGER', 4, 0, 1, '', 'CUST_NO', 8, NULL)",
    "INSERT INTO QN_USER VALUES ('BOB', 'SECRET', NULL)",
    "INSERT INTO QN_DBPRV VALUES ('BOB', 'SALES', NULL, NULL, 1, 1, 0, 0, 'DATABASE', NULL), "
    "('ADMIN', 'SALES', 'sa', 'Pw', 1, 1, 1, 1, 'DATABASE', NULL)",
    "INSERT INTO QN_TBLPRV VALUES ('SALES', 'CUSTOMER', 'BOB', 1, 0, 0, NULL, NULL)",
};

const char kExpected[] = "\"FILE\",\"CUST\",\"INDEXED\",\"FIXED\",120\r\n"
                         "\"FILE\",\"NOSIZE\",\"SEQUENTIAL\",\"VARIABLE\",\r\n"
                         "\"FIELD\",\"CUST\",\"CUST-NO\",\"STRING\",0,10,10,0,0,\"\",\"\"\r\n"
                         "\"FIELD\",\"CUST\",\"NAME\",\"STRING\",10,30,,0,2,\"X\",\"O'Neil, \"\"Jr\"\"\"\r\n"
                         "\"DB\",\"SALES\",\"/data\",\"DISAM\",\"DSN=x; UID=y\",\"Sales\"\r\n"
                         "\"TABLE\",\"SALES\",\"CUSTOMER\",\"TABLE\",\"CUST\",\"cust.dat\",\"\",\"Customer\"\r\n"
                         "\"COLUMN\",\"SALES\",\"CUSTOMER\",\"CUST_NO\",\"CUST-NO\",\"VARCHAR\",10,1,1,\"\",\"CUST_NO\",0\r\n"
                         "\"COLUMN\",\"SALES\",\"CUSTOMER\",\"ROWID\",\"ROWID\",\"INTEGER\",4,0,1,\"\",\"ROWID\",6\r\n"
                         "\"COLUMN\",\"SALES\",\"CUSTOMER\",\"RELATIVE_INDEX\",\"RELATIVE_INDEX\",\"INTEGER\",4,0,1,\"\","
                         "\"CUST_NO\",8\r\n"
                         "\"USER\",\"BOB\",\"SECRET\"\r\n"
                         "\"DBPRV\",\"BOB\",\"SALES\",\"\",\"\",1,1,0,0,\"DATABASE\"\r\n"
                         "\"DBPRV\",\"ADMIN\",\"SALES\",\"sa\",\"Pw\",1,1,1,1,\"DATABASE\"\r\n"
                         "\"TBLPRV\",\"BOB\",\"SALES\",\"CUSTOMER\",1,0,0,\r\n";

const QString kFilter =
    QStringLiteral("Text File(*.TXT)|*.txt|Comma Seperated Values (*.CSV)|*.csv|All Files (*.*)|*.*");

class Export : public CsvTest
{
protected:
    void SetUp() override
    {
        CsvTest::SetUp();
        for (const char *sql : kRows)
            open(QStringLiteral("QnTest2"))->Execute(QString::fromLatin1(sql));
    }
};

TEST_F(Export, WritesTheUserRowsBlockByBlockWithAStatusAndAStepOfProgressEach)
{
    auto *pane = openPane<frmCSVExport>(QStringLiteral("QnTest2"), "Export");
    ASSERT_TRUE(pane);
    EXPECT_EQ(pane->lblTitle.title->text(), QStringLiteral("Export Datasource 'QnTest2' Catalog to File."));
    EXPECT_EQ(CNodes::Image(gNodes().Node(NodeKey::Datasource(QStringLiteral("QnTest2")))),
              QStringLiteral("Datasource"));
    const QStringList before = catalog(QStringLiteral("QnTest2"));
    QStringList steps;
    dao::SetStatementObserver([&](const QString &sql) {
        steps << main().StatusText() + QStringLiteral(" | %1 | ").arg(pane->pbrProgress->value()) + sql;
    });
    ui().answerSave(path(QStringLiteral("catalog.csv")));
    ui().answerMsgBox(ui::vbOK);
    click(pane->cmdAction);
    dao::SetStatementObserver(nullptr);

    EXPECT_EQ(readFile(QStringLiteral("catalog.csv")), QByteArray(kExpected));
    const QString files = "('CNTRL','COLUMN','DB','DBPRV','DRIVER','FIELD','FILE','KEY','LOCDT','SQLDT','TABLE','TBLPRV','USER')";
    EXPECT_EQ(steps,
              QStringList({
                  "Writing File Definitions | 0 | SELECT FILE_NAME, FILE_ORGANISATION, RECORD_TYPE, RECORD_SIZE FROM "
                  "QN_FILE WHERE FILE_NAME NOT IN " + files,
                  "Writing Field Definitions | 1 | SELECT FILE_NAME, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, LENGTH, "
                  "PRECISION, SCALE, ENCRYPTED, FORMAT, DEFAULT_VALUE FROM QN_FIELD WHERE FILE_NAME NOT IN " + files + " ",
                  "Writing Database Definitions | 2 | SELECT DATABASE_NAME, DEFAULT_DIRECTORY, DRIVER_NAME, "
                  "CONNECT_STRING, DISPLAY_NAME FROM QN_DB WHERE DATABASE_NAME <>'QN'",
                  "Writing Table Definitions | 3 | SELECT DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME, "
                  "FILE_SPECIFICATION, CRITERIA, DISPLAY_NAME FROM QN_TABLE WHERE DATABASE_NAME <>'QN'",
                  "Writing Column Definitions | 4 | SELECT DATABASE_NAME, TABLE_NAME, COLUMN_NAME, FIELD_NAME, "
                  "SQL_TYPE_NAME, LENGTH, UPDATABLE, VISIBLE, DEFAULT_VALUE, DISPLAY_NAME, COLUMN_TYPE, REMARKS FROM "
                  "QN_COLUMN WHERE DATABASE_NAME <>'QN' ",
                  "Writing User Definitions | 5 | SELECT USER_NAME, USER_PASSWORD FROM QN_USER WHERE USER_NAME <>'ADMIN'",
                  "Writing Database Privileges Definitions | 6 | SELECT USER_NAME, DATABASE_NAME, DATABASE_USERNAME, "
                  "DATABASE_PASSWORD, ALLOW_SELECT, ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE, SECURITY_LEVEL FROM "
                  "QN_DBPRV WHERE DATABASE_NAME <>'QN'",
                  "Writing Table Privileges Definitions | 7 | SELECT USER_NAME, DATABASE_NAME, TABLE_NAME, "
                  "ALLOW_SELECT, ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE FROM QN_TBLPRV WHERE DATABASE_NAME <>'QN'",
              }));
    EXPECT_EQ(pane->pbrProgress->value(), pane->pbrProgress->maximum());
    EXPECT_EQ(main().StatusText(), QStringLiteral("Ready"));
    // The closing message names the row whose line break became a blank.
    ASSERT_EQ(ui().shown().size(), 2);
    EXPECT_EQ(ui().shown()[0].kind, QStringLiteral("Save"));
    EXPECT_EQ(ui().shown()[0].title, QStringLiteral("Please select a filename to export the catalog to..."));
    EXPECT_EQ(ui().shown()[0].text, QLatin1Char('|') + kFilter);
    EXPECT_EQ(ui().messages(), QStringList{QStringLiteral("Catalog Exported\r\n\r\nA line break in these rows was "
                                                          "written as a blank:\r\nLine 5: DB SALES")});
    EXPECT_EQ(ui().shown()[1].style, ui::vbInformation);
    // The export only reads.
    EXPECT_EQ(catalog(QStringLiteral("QnTest2")), before);
}

TEST_F(Export, CancelWritesNothingAndTheLastFileIsOfferedAgain)
{
    auto *pane = openPane<frmCSVExport>(QStringLiteral("QnTest2"), "Export");
    ASSERT_TRUE(pane);
    ui().answerSave(std::nullopt);
    click(pane->cmdAction);
    EXPECT_TRUE(ui().messages().isEmpty());
    EXPECT_EQ(main().StatusText(), QStringLiteral("Ready"));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("first.txt"))));

    // A name without an extension gets ".txt"; the next export offers it, and
    // an existing file is written again from its start.
    writeFile(QStringLiteral("first.txt"), QByteArray(4000, 'x'));
    ui().answerSave(path(QStringLiteral("first")));
    ui().answerMsgBox(ui::vbOK);
    click(pane->cmdAction);
    EXPECT_EQ(readFile(QStringLiteral("first.txt")), QByteArray(kExpected));
    ui().answerSave(std::nullopt);
    click(pane->cmdAction);
    ASSERT_EQ(ui().shown().size(), 4);
    EXPECT_EQ(ui().shown()[3].text, path(QStringLiteral("first.txt")) + QLatin1Char('|') + kFilter);
    EXPECT_EQ(ui().messages(), QStringList{QStringLiteral("Catalog Exported\r\n\r\nA line break in these rows was "
                                                          "written as a blank:\r\nLine 5: DB SALES")});
}

TEST_F(Export, AFileThatCannotBeWrittenIsAnAccessProblem)
{
    auto *pane = openPane<frmCSVExport>(QStringLiteral("QnTest2"), "Export");
    ASSERT_TRUE(pane);
    const QString name = path(QStringLiteral("no such folder/catalog.csv"));
    ui().answerSave(name);
    ui().answerMsgBox(ui::vbOK);
    click(pane->cmdAction);
    EXPECT_EQ(ui().messages(), QStringList{QStringLiteral("There was an access problem writing to the file '") + name +
                                           QStringLiteral(".\r\nThis may be a read-only device?")});
    EXPECT_EQ(main().StatusText(), QStringLiteral("Ready"));
}

// A block whose query fails: Retry reads it again and the file is whole. A
// read that fails part-way and is retried writes no row twice.
TEST_F(Export, ARetriedBlockIsReadAgain)
{
    auto *pane = openPane<frmCSVExport>(QStringLiteral("QnTest2"), "Export");
    ASSERT_TRUE(pane);
    dao::Faults::Add(dao::Faults::Statement, 3, QStringLiteral("HY000"), QStringLiteral("refused"));
    dao::Faults::Add(dao::Faults::Fetch, 5, QStringLiteral("HY000"), QStringLiteral("lost a row"));
    ui().answerSave(path(QStringLiteral("retried.csv")));
    ui().answerError(ui::vbRetry);
    ui().answerError(ui::vbRetry);
    ui().answerMsgBox(ui::vbOK);
    click(pane->cmdAction);
    EXPECT_EQ(readFile(QStringLiteral("retried.csv")), QByteArray(kExpected));
    ASSERT_EQ(ui().errors().size(), 2);
    EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("frmCSVExport.WriteBlock"));
    EXPECT_EQ(ui().errors()[0].additionalInfo, QStringLiteral("None"));
    EXPECT_TRUE(ui().messages().value(0).startsWith(QLatin1String("Catalog Exported")));
}

// A failure ignored in any block ends the export: the file it replaces is as
// it was, a new one is not made, and the message says so.
TEST_F(Export, AFailedExportLeavesTheOldFile)
{
    auto *pane = openPane<frmCSVExport>(QStringLiteral("QnTest2"), "Export");
    ASSERT_TRUE(pane);
    const struct
    {
        dao::Faults::Call call;
        int nth; // of the export's statements or fetches
        bool existing;
    } cases[] = {{dao::Faults::Statement, 1, true},
                 {dao::Faults::Statement, 8, true},
                 {dao::Faults::Fetch, 5, true},
                 {dao::Faults::Statement, 3, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.call << " " << c.nth << (c.existing ? " over a file" : " new"));
        const QString name = path(QStringLiteral("kept.csv"));
        QFile::remove(name);
        if (c.existing)
            writeFile(QStringLiteral("kept.csv"), "the old export\r\n");
        ui().clear();
        dao::Faults::Add(c.call, c.nth, QStringLiteral("HY000"), QStringLiteral("refused"));
        ui().answerSave(name);
        ui().answerError(ui::vbIgnore);
        ui().answerMsgBox(ui::vbOK);
        click(pane->cmdAction);
        EXPECT_EQ(readFile(QStringLiteral("kept.csv")), c.existing ? QByteArray("the old export\r\n") : "<no file>");
        EXPECT_EQ(ui().messages(), QStringList{QStringLiteral("The catalog was not exported; '") + name +
                                               QStringLiteral("' was not changed.")});
        EXPECT_EQ(ui().shown().last().style, ui::vbInformation);
        // No file of the export is left beside it.
        EXPECT_EQ(QDir(m_dir->path()).entryList({QStringLiteral("kept*")}, QDir::Files | QDir::Hidden),
                  c.existing ? QStringList{"kept.csv"} : QStringList());
        EXPECT_EQ(main().StatusText(), QStringLiteral("Ready"));
        EXPECT_EQ(pane->pbrProgress->value(), 0);
    }
}

// While it lives, the process may write no file beyond `bytes`: a write past
// that fails as on a full disk (SIGXFSZ ignored, so it returns an error).
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        m_set = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;
    bool set() const { return m_set; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = SIG_DFL;
    bool m_set = false;
};

// A write that fails part-way, wherever it falls (early in the file, or in
// its last bytes): the file it replaces stays byte for byte, no file of the
// export is left beside it, the message says so, and the progress bar is back
// at empty; so after an access problem at the open.
TEST_F(Export, AWriteThatFailsLeavesTheOldFile)
{
    // The limit stays above what this process writes meanwhile besides the
    // export (its output, when that goes to a file).
    rlim_t floor = 64 * 1024;
    for (const int fd : {1, 2}) {
        struct stat st{};
        if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
            floor = std::max<rlim_t>(floor, rlim_t(st.st_size) + 64 * 1024);
    }
    const int users = int(floor / 10);
    open(QStringLiteral("QnTest2"))
        ->Execute(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                 "INSERT INTO QN_USER SELECT 'USER' || i, 'PASSWORD' || i, NULL FROM n")
                      .arg(users));
    auto *pane = openPane<frmCSVExport>(QStringLiteral("QnTest2"), "Export");
    ASSERT_TRUE(pane);
    const QString name = path(QStringLiteral("cat.csv"));
    // The whole export, to know its size.
    ui().answerSave(name);
    ui().answerMsgBox(ui::vbOK);
    click(pane->cmdAction);
    const qint64 whole = QFileInfo(name).size();
    ASSERT_GT(whole, qint64(2 * floor));
    QByteArray old;
    for (int i = 0; old.size() < 8600; ++i)
        old += QStringLiteral("\"USER\",\"OLD%1\",\"PW\"\r\n").arg(i).toLatin1();

    for (const rlim_t limit : {floor, rlim_t(whole - 1)}) {
        SCOPED_TRACE(testing::Message() << "at most " << limit << " bytes of " << whole);
        writeFile(QStringLiteral("cat.csv"), old);
        pane->pbrProgress->setValue(pane->pbrProgress->maximum());
        ui().clear();
        ui().answerSave(name);
        ui().answerMsgBox(ui::vbOK);
        {
            FileSizeLimit limited(limit);
            ASSERT_TRUE(limited.set());
            click(pane->cmdAction);
        }
        EXPECT_EQ(readFile(QStringLiteral("cat.csv")), old);
        EXPECT_EQ(ui().messages(), QStringList{QStringLiteral("The catalog was not exported; '") + name +
                                               QStringLiteral("' was not changed.")});
        EXPECT_EQ(QDir(m_dir->path()).entryList({QStringLiteral("cat*")}, QDir::Files | QDir::Hidden),
                  QStringList{"cat.csv"});
        EXPECT_EQ(pane->pbrProgress->value(), 0);
        EXPECT_EQ(main().StatusText(), QStringLiteral("Ready"));
    }

    // The access problem at the open empties the bar too.
    pane->pbrProgress->setValue(pane->pbrProgress->maximum());
    ui().clear();
    ui().answerSave(path(QStringLiteral("no such folder/cat.csv")));
    ui().answerMsgBox(ui::vbOK);
    click(pane->cmdAction);
    EXPECT_TRUE(ui().messages().value(0).startsWith(QLatin1String("There was an access problem")));
    EXPECT_EQ(pane->pbrProgress->value(), 0);
}

// A link lost under a block's query: Retry connects again and the export
// completes; after one ignored, the next Export connects again too.
TEST_F(Export, RetryAfterALostLinkAndTheNextExportComplete)
{
    auto *pane = openPane<frmCSVExport>(QStringLiteral("QnTest2"), "Export");
    ASSERT_TRUE(pane);
    dao::Faults::Add(dao::Faults::Statement, 3, QStringLiteral("08S01"), QStringLiteral("link down"));
    ui().answerSave(path(QStringLiteral("retried.csv")));
    ui().answerError(ui::vbRetry);
    ui().answerMsgBox(ui::vbOK);
    click(pane->cmdAction);
    EXPECT_EQ(readFile(QStringLiteral("retried.csv")), QByteArray(kExpected));
    EXPECT_EQ(ui().errors().size(), 1);
    EXPECT_TRUE(ui().messages().value(0).startsWith(QLatin1String("Catalog Exported")));

    ui().clear();
    dao::Faults::Add(dao::Faults::Statement, 2, QStringLiteral("08S01"), QStringLiteral("link down"));
    ui().answerSave(path(QStringLiteral("ignored.csv")));
    ui().answerError(ui::vbIgnore);
    ui().answerMsgBox(ui::vbOK);
    click(pane->cmdAction);
    EXPECT_EQ(ui().messages().value(0), QStringLiteral("The catalog was not exported; '") +
                                            path(QStringLiteral("ignored.csv")) + QStringLiteral("' was not changed."));
    ui().clear();
    ui().answerSave(path(QStringLiteral("again.csv")));
    ui().answerMsgBox(ui::vbOK);
    click(pane->cmdAction);
    EXPECT_EQ(ui().errors().size(), 0);
    EXPECT_EQ(readFile(QStringLiteral("again.csv")), QByteArray(kExpected));
}

// Nothing of the catalog's own rows travels (the file KEY among them): an
// export of a catalog without user rows is empty, and still exported.
TEST_F(Export, ANewCatalogGivesAnEmptyFile)
{
    auto *pane = openPane<frmCSVExport>(QStringLiteral("QnTest2"), "Export");
    ASSERT_TRUE(pane);
    for (const char *sql : {"DELETE FROM QN_FILE WHERE FILE_NAME IN ('CUST', 'NOSIZE')", "DELETE FROM QN_FIELD WHERE FILE_NAME = 'CUST'",
                            "DELETE FROM QN_DB WHERE DATABASE_NAME = 'SALES'",
                            "DELETE FROM QN_TABLE WHERE DATABASE_NAME = 'SALES'",
                            "DELETE FROM QN_COLUMN WHERE DATABASE_NAME = 'SALES'",
                            "DELETE FROM QN_USER WHERE USER_NAME = 'BOB'",
                            "DELETE FROM QN_DBPRV WHERE DATABASE_NAME = 'SALES'",
                            "DELETE FROM QN_TBLPRV WHERE DATABASE_NAME = 'SALES'"})
        open(QStringLiteral("QnTest2"))->Execute(QString::fromLatin1(sql));
    ui().answerSave(path(QStringLiteral("empty.csv")));
    ui().answerMsgBox(ui::vbOK);
    click(pane->cmdAction);
    EXPECT_EQ(readFile(QStringLiteral("empty.csv")), QByteArray());
    EXPECT_EQ(ui().messages(), QStringList{QStringLiteral("Catalog Exported")});
}

// A data source that cannot be connected: the registry says so, the Welcome
// pane shows, and the export pane does not.
TEST_F(Export, WithoutAConnectionTheWelcomePaneShows)
{
    ReleaseWorkspace();
    ASSERT_TRUE(QFile::remove(fileOf(QStringLiteral("QnTest2"))));
    ui().answerMsgBox(ui::vbOK);
    EXPECT_FALSE(openPane<frmCSVExport>(QStringLiteral("QnTest2"), "Export"));
    EXPECT_TRUE(ui().messages().value(0).startsWith(QLatin1String("Failed to connect")));
    ASSERT_TRUE(gCurrentPane());
    EXPECT_EQ(gCurrentPane()->objectName(), QStringLiteral("frmWelcome"));
}

} // namespace
