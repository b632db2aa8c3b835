// Password values kept out of what a failure shows: the mask routine on the
// statement forms the writers, editors and grids write and on connect texts,
// then real failures whose dialog, printout, saved report and clipboard must
// not carry the password.
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "core/errortrace.h"
#include "core/frmqnerr.h"
#include "core/moddatabase.h"
#include "core/passwordmask.h"
#include "standinfixture.h"

namespace {

struct MaskCase
{
    const char *name;
    QString text;
    QString expected;
};

QList<MaskCase> maskCases()
{
    const QString dbprvColumns = QStringLiteral(
        "INSERT INTO QN_DBPRV (USER_NAME, DATABASE_NAME, DATABASE_USERNAME, DATABASE_PASSWORD, ALLOW_SELECT, "
        "ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE, SECURITY_LEVEL, REMARKS) VALUES ");
    const QString dbprv = dbprvColumns + QStringLiteral("('U1', 'D1', 'dbu', 'dbp', 01, 01, 00, 00, 'TABLE', '')");
    const QString dbprvMasked =
        dbprvColumns + QStringLiteral("('U1', 'D1', 'dbu', '****', 01, 01, 00, 00, 'TABLE', '')");
    return {
        // Assignments and comparisons, any case, qualified or not.
        {"update", "UPDATE QN_USER SET USER_PASSWORD = 'secret' WHERE USER_NAME = 'U1'",
         "UPDATE QN_USER SET USER_PASSWORD = '****' WHERE USER_NAME = 'U1'"},
        {"doubled apostrophes, comma and parenthesis in the value",
         "UPDATE QN_USER SET REMARKS = 'r', USER_PASSWORD = 'it''s, (x)', USER_NAME = 'U1' WHERE USER_NAME = 'U0'",
         "UPDATE QN_USER SET REMARKS = 'r', USER_PASSWORD = '****', USER_NAME = 'U1' WHERE USER_NAME = 'U0'"},
        {"lower case, no blanks, compared in WHERE",
         "update qn_dbprv set database_password='p' where user_name='U1' and database_password = 'old'",
         "update qn_dbprv set database_password='****' where user_name='U1' and database_password = '****'"},
        {"qualified, a number, Null", "UPDATE QN_USER SET QN_USER.USER_PASSWORD = 12345, REMARKS = NULL",
         "UPDATE QN_USER SET QN_USER.USER_PASSWORD = ****, REMARKS = NULL"},
        {"an emptied password", "UPDATE QN_USER SET USER_PASSWORD = '' WHERE USER_NAME = 'U1'",
         "UPDATE QN_USER SET USER_PASSWORD = '****' WHERE USER_NAME = 'U1'"},
        // INSERT: the value at the column's position.
        {"insert", "INSERT INTO QN_USER (USER_NAME, USER_PASSWORD, REMARKS) VALUES ('O''Neil', 'p,w''d)', 'r')",
         "INSERT INTO QN_USER (USER_NAME, USER_PASSWORD, REMARKS) VALUES ('O''Neil', '****', 'r')"},
        {"insert of a database privilege", dbprv, dbprvMasked},
        {"insert laid out for the dialog", modDatabase::FormatSQL(dbprv), modDatabase::FormatSQL(dbprvMasked)},
        {"insert without a column list, two rows",
         "INSERT INTO QN_USER VALUES ('U1', 'secret', 'first user'), ('U2', NULL, NULL)",
         "INSERT INTO QN_USER VALUES ('U1', '****', 'first user'), ('U2', ****, NULL)"},
        {"insert of a database privilege without a column list",
         "INSERT INTO QN_DBPRV VALUES ('U1', 'D1', 'dbu', 'dbp', 1, 1, 0, 0, 'TABLE', NULL)",
         "INSERT INTO QN_DBPRV VALUES ('U1', 'D1', 'dbu', '****', 1, 1, 0, 0, 'TABLE', NULL)"},
        {"insert with expressions", "INSERT INTO T (A, USER_PASSWORD, B) VALUES (LOWER('A,B'), 'x' || 'y', 2)",
         "INSERT INTO T (A, USER_PASSWORD, B) VALUES (LOWER('A,B'), ****, 2)"},
        {"statements joined by line breaks",
         "SELECT * FROM QN_USER WHERE USER_NAME = 'U1'\r\n\r\nINSERT INTO QN_USER (USER_NAME, USER_PASSWORD, "
         "REMARKS) VALUES ('U2', 'pw', 'r')\r\n\r\nDELETE FROM QN_USER WHERE USER_NAME = 'U1'",
         "SELECT * FROM QN_USER WHERE USER_NAME = 'U1'\r\n\r\nINSERT INTO QN_USER (USER_NAME, USER_PASSWORD, "
         "REMARKS) VALUES ('U2', '****', 'r')\r\n\r\nDELETE FROM QN_USER WHERE USER_NAME = 'U1'"},
        // Connect texts, plain and inside quoted SQL values.
        {"connect text", "ODBC;DSN=Sales;UID=sa;PWD=secret;DATABASE=PUBS",
         "ODBC;DSN=Sales;UID=sa;PWD=****;DATABASE=PUBS"},
        {"PASSWORD= last, blanks in it", "DSN=Sales;uid=sa;Password = my secret",
         "DSN=Sales;uid=sa;Password = ****"},
        {"braced value", "DSN=x;PWD={a;b}}c};UID=u", "DSN=x;PWD=****;UID=u"},
        {"apostrophes in a plain connect text", "DSN=O'Neil;PWD=ab'c;UID=u", "DSN=O'Neil;PWD=****;UID=u"},
        {"connect text in a quoted value",
         "UPDATE QN_DB SET CONNECT_STRING = 'DSN=x;PWD=a''b;UID=u' WHERE DATABASE_NAME = 'D1'",
         "UPDATE QN_DB SET CONNECT_STRING = 'DSN=x;PWD=****;UID=u' WHERE DATABASE_NAME = 'D1'"},
        {"quoted value ending with the password",
         "INSERT INTO QN_DB (DATABASE_NAME, CONNECT_STRING, REMARKS) VALUES ('D1', 'UID=u;PWD=a''b', 'r')",
         "INSERT INTO QN_DB (DATABASE_NAME, CONNECT_STRING, REMARKS) VALUES ('D1', 'UID=u;PWD=****', 'r')"},
        {"a driver message", "[unixODBC][Driver Manager]Data source name not found (DSN=x;PWD=secret)",
         "[unixODBC][Driver Manager]Data source name not found (DSN=x;PWD=****"},
        // Nothing to mask.
        {"None", "None", "None"},
        {"columns read, names in texts",
         "SELECT USER_PASSWORD, DATABASE_PASSWORD FROM QN_DBPRV WHERE REMARKS = 'USER_PASSWORD = x' AND "
         "COLUMN_NAME = 'PWD'",
         "SELECT USER_PASSWORD, DATABASE_PASSWORD FROM QN_DBPRV WHERE REMARKS = 'USER_PASSWORD = x' AND "
         "COLUMN_NAME = 'PWD'"},
        {"longer names", "PASSWORDS=1;XPWD=2;USER_PASSWORD_HINT = 'h'", "PASSWORDS=1;XPWD=2;USER_PASSWORD_HINT = 'h'"},
    };
}

TEST(MaskPasswords, TableOfStatementsAndConnectTexts)
{
    for (const MaskCase &c : maskCases()) {
        SCOPED_TRACE(c.name);
        const QString masked = MaskPasswords(c.text);
        EXPECT_EQ(masked, c.expected);
        EXPECT_EQ(MaskPasswords(masked), masked); // masking twice changes nothing
    }
}

// ------------------------------------------------------------------ failures on show

class PasswordReportTest : public StandinTest
{
};

TEST_F(PasswordReportTest, NoPasswordInTheDialogItsPrintoutSavedReportOrClipboard)
{
    // Each statement carries a password and fails at the driver.
    struct Case
    {
        const char *name;
        QString sql;
        QStringList secrets;
    } cases[] = {
        {"update", "UPDATE QN_USER SET USER_PASSWORD = 'Upd''S3cret' WHERE NO_SUCH_COLUMN = 'U1'", {"S3cret"}},
        {"insert of a taken key",
         "INSERT INTO QN_USER (USER_NAME, USER_PASSWORD, REMARKS) VALUES ('ADMIN', 'Ins,S3cret', 'dup')",
         {"Ins", "S3cret"}},
        {"insert of a database privilege",
         "INSERT INTO QN_DBPRV (USER_NAME, DATABASE_NAME, DATABASE_USERNAME, DATABASE_PASSWORD, ALLOW_SELECT, "
         "ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE, SECURITY_LEVEL, REMARKS) VALUES ('ADMIN', 'QN', 'sa', "
         "'Db''S3cret', 1, 1, 1, 1, 'TABLE', '')",
         {"S3cret"}},
        {"connect text in a value",
         "UPDATE QN_DB SET CONNECT_STRING = 'DSN=X;UID=sa;PWD=Conn(S3cret);' WHERE NO_SUCH_COLUMN = 1",
         {"Conn", "S3cret"}},
    };
    const QString path = m_dir->filePath(QStringLiteral("report.txt"));
    dao::DatabasePtr db = open(QStringLiteral("QnTest2"));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ui().clear();
        QFile::remove(path);
        ui().answerSave(path);
        ui().answerMsgBox(ui::vbNo); // no comments
        QString shownReport;
        ui().onError([&](QDialog &dialog) {
            shownReport = static_cast<frmQNErr &>(dialog).FetchErrorReport();
            for (int button : {0, 1, 2}) // print, save, e-mail
                QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("cmdReport_%1").arg(button)),
                                  Qt::LeftButton);
            return int(ui::vbIgnore);
        });
        const qsizetype printedBefore = ui().printed().size();
        ErrorHandler handler(QStringLiteral("frmUser.cmdOK_Click"), c.sql);
        EXPECT_FALSE(handler.step([&] { db->Execute(c.sql); }));

        ASSERT_EQ(ui().errors().size(), 1);
        const auto &shown = ui().errors().first();
        EXPECT_EQ(shown.number, QStringLiteral("ODBC Error"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString saved = QString::fromUtf8(file.readAll());
        ASSERT_EQ(ui().printed().size(), printedBefore + 1);
        // The statement is shown, with its password masked.
        for (const QString &text : {shown.additionalInfo, shownReport, saved, ui().printed().last(), ui().clipboard()})
            EXPECT_TRUE(text.contains(QLatin1String("****"))) << text.toStdString();
        for (const QString &text : {shown.description, shown.additionalInfo, shownReport, saved,
                                    ui().printed().last(), ui().clipboard()})
            for (const QString &secret : c.secrets)
                EXPECT_FALSE(text.contains(secret)) << text.toStdString();
    }
}

TEST_F(PasswordReportTest, AConnectTextWithAPasswordIsMaskedWhenTheConnectFails)
{
    const QString connect = QStringLiteral("ODBC;DSN=NoSuchSource;UID=sa;PWD=Op3nS3cret");
    ui().answerError(ui::vbIgnore);
    ErrorHandler handler(QStringLiteral("frmX.Connect"), connect);
    EXPECT_FALSE(handler.step([&] { workspace().OpenDatabase(QString(), 0, false, connect); }));
    ASSERT_EQ(ui().errors().size(), 1);
    const auto &shown = ui().errors().first();
    EXPECT_EQ(shown.additionalInfo, QStringLiteral("ODBC;DSN=NoSuchSource;UID=sa;PWD=****"));
    EXPECT_FALSE(shown.description.contains(QLatin1String("Op3nS3cret")));
}

} // namespace
