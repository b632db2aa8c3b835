// The copy dialogs of a database, a table and a file definition: the name
// proposed and checked, the exact statements of each copy, the tree folder
// reloaded, and a failure at any statement leaving nothing of the copy behind,
// with and without the driver's transactions.

#include <QAbstractItemView>
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include "../editors/editorfixture.h"
#include "copymove/frmdbcopy.h"
#include "copymove/frmfilecopy.h"
#include "copymove/frmtablecopy.h"
#include "panehost/panehost.h"
#include "dialogdriver.h"

namespace {

const QString kDs = QStringLiteral("QnTest2");

// A small user catalog in the new catalog "QnTest2": database SHOP with one
// table over file ITEMF, an ordinary and a special column (Null attributes),
// a database and a table privilege (a Null permission), apostrophes in texts.
const char *const kShop[] = {
    "INSERT INTO QN_FILE VALUES ('ITEMF', 'o''s', 12, 'INDEXED', NULL, 'Items'' file')",
    "INSERT INTO QN_FIELD VALUES ('ITEMF', 1, 'CODE', 'STRING', 0, 8, 8, 0, 0, NULL, 'd''v', NULL), "
    "('ITEMF', 2, 'QTY', 'INTEGER', 8, 4, 10, NULL, NULL, 'X9', NULL, 'r')",
    "INSERT INTO QN_DB VALUES ('SHOP', 'dir''s', 'DISAM', NULL, 'c', 'r', 'Shop')",
    "INSERT INTO QN_TABLE VALUES ('SHOP', 'ITEMS', 'TABLE', 'ITEMF', 'ITEMS.DAT', 2, NULL, 'it''s', 'Items')",
    "INSERT INTO QN_COLUMN VALUES "
    "('SHOP', 'ITEMS', 1, 'CODE', 'CODE', 'VARCHAR', 8, 8, 0, 1, 0, 1, 1, 0, 0, 1, 3, 0, NULL, 'r''c', 0, 0, 'Code'), "
    "('SHOP', 'ITEMS', 1, 'ROWID', 'ROWID', 'INTEGER', 4, 10, NULL, NULL, NULL, 0, 1, NULL, NULL, NULL, NULL, NULL, "
    "'', '', NULL, 6, 'ROWID')",
    "INSERT INTO QN_USER VALUES ('U1', 'secret', NULL)",
    "INSERT INTO QN_DBPRV VALUES ('U1', 'SHOP', 'dbu', 'dbp', 1, 1, 0, NULL, 'TABLE', NULL)",
    "INSERT INTO QN_TBLPRV VALUES ('SHOP', 'ITEMS', 'U1', 1, 0, NULL, 0, 'tp')",
};

const char *const kCopied[] = {"QN_FILE", "QN_FIELD", "QN_DB", "QN_TABLE", "QN_COLUMN", "QN_DBPRV", "QN_TBLPRV"};

class CopyDialogs : public EditorTest
{
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        const auto db = open(kDs);
        for (const char *sql : kShop)
            db->Execute(QString::fromLatin1(sql));
    }

    // Opens the dialog `name` as the commands do; `drive` works it as the user does.
    void openDialog(const QString &name, const QStringList &keys, const std::function<void(QDialog &)> &drive)
    {
        driveNextDialog(ui(), drive);
        dialogs::Open(name, keys);
        flush();
    }
    template <class T> static T *child(const QDialog &d, const QString &name)
    {
        T *w = d.findChild<T *>(name);
        EXPECT_TRUE(w) << name.toStdString();
        return w;
    }
    static QLineEdit *nameBox(const QDialog &d)
    {
        for (const char *name : {"txtDB", "txtTable", "txtFilename"})
            if (auto *box = d.findChild<QLineEdit *>(QLatin1String(name)))
                return box;
        ADD_FAILURE() << "no name box";
        return nullptr;
    }
    static void clickOK(const QDialog &d) { click(child<QPushButton>(d, QStringLiteral("cmdOK"))); }
    // OK refuses the name: "Please enter a Name." alone (information icon, the
    // application's title), the dialog still open with the focus in the box.
    void okRefusesTheName(const QDialog &d)
    {
        ui().answerMsgBox(ui::vbOK);
        clickOK(d);
        const QList<ScriptedUi::Shown> shown = messageBoxes(ui());
        ui().clear();
        ASSERT_EQ(shown.size(), 1);
        EXPECT_EQ(shown[0].text, QStringLiteral("Please enter a Name."));
        EXPECT_EQ(shown[0].style, ui::vbInformation);
        EXPECT_EQ(shown[0].title, ui::AppTitle());
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(focused(), nameBox(d));
    }

    // Every row of the tables a copy writes.
    QStringList catalog()
    {
        QStringList all;
        for (const char *table : kCopied)
            all += rows(QStringLiteral("SELECT '%1', * FROM %1 ORDER BY 2, 3, 4").arg(QLatin1String(table)), kDs);
        return all;
    }
    // The rows of `table` where `where`, every column quoted (Null and '' told apart).
    QStringList quotedRows(const QString &table, const QString &columns, const QString &where)
    {
        QStringList quoted;
        for (const QString &column : columns.split(QStringLiteral(", ")))
            quoted << QStringLiteral("quote(%1)").arg(column);
        return rows(QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY 1")
                        .arg(quoted.join(QStringLiteral(" || '|' || ")), table, where),
                    kDs);
    }
};

// ------------------------------------------------------------------ the copies

TEST_F(CopyDialogs, ADatabaseIsCopiedWithItsTablesColumnsAndPrivileges)
{
    openPath({NodeKey::Datasource(kDs), QStringLiteral("DSN=QnTest2:DB=QnTest2:")});
    QStringList statuses;
    openDialog(QStringLiteral("frmDBCopy"), {kDs, QStringLiteral("SHOP")}, [&](QDialog &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Copy Database"));
        EXPECT_EQ(child<QLabel>(d, QStringLiteral("lblPrompt_0"))->text(), QStringLiteral("Original Database:"));
        EXPECT_EQ(child<QLabel>(d, QStringLiteral("lblPrompt_2"))->text(), QStringLiteral("New Database:"));
        EXPECT_EQ(child<QLabel>(d, QStringLiteral("lblDB"))->text(), QStringLiteral("SHOP"));
        EXPECT_EQ(child<QPushButton>(d, QStringLiteral("cmdOK"))->text(), QStringLiteral("&Ok"));
        EXPECT_FALSE(child<QPushButton>(d, QStringLiteral("cmdOK"))->isDefault());
        // The focus starts on Cancel; the name proposed is free.
        EXPECT_EQ(focused(), child<QPushButton>(d, QStringLiteral("cmdCancel")));
        EXPECT_EQ(nameBox(d)->text(), QStringLiteral("SHOP1"));
        statuses = statusesWhile(main(), [&] { clickOK(d); });
    });
    EXPECT_EQ(modUpdate::LastStatements(),
              QStringList({
                  "SELECT * FROM QN_DB WHERE DATABASE_NAME = 'SHOP'",
                  "INSERT INTO QN_DB (DATABASE_NAME, DEFAULT_DIRECTORY, DRIVER_NAME, SETUP_PROCEDURE, CONNECT_STRING, "
                  "REMARKS, DISPLAY_NAME) VALUES ('SHOP1', 'dir''s', 'DISAM', NULL, 'c', 'r', 'SHOP1')",
                  "SELECT * FROM QN_TABLE WHERE DATABASE_NAME = 'SHOP'",
                  "INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME, FILE_SPECIFICATION, "
                  "NUMBER_COLUMNS, CRITERIA, REMARKS, DISPLAY_NAME) VALUES ('SHOP1', 'ITEMS', 'TABLE', 'ITEMF', "
                  "'ITEMS.DAT', 2, NULL, 'it''s', 'Items')",
                  "SELECT * FROM QN_COLUMN WHERE DATABASE_NAME = 'SHOP' ",
                  "INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, FIELD_NAME, "
                  "SQL_TYPE_NAME, LENGTH, PRECISION, SCALE, NULLABLE, UNSIGNED_ATTRIBUTE, UPDATABLE, VISIBLE, MONEY, "
                  "AUTO_INCREMENT, CASE_SENSITIVE, SEARCHABLE, RADIX, DEFAULT_VALUE, REMARKS, SETFILEPARAMETER, "
                  "COLUMN_TYPE, DISPLAY_NAME) VALUES ('SHOP1', 'ITEMS', 1, 'CODE', 'CODE', 'VARCHAR', 8, 8, 0, 1, 0, "
                  "1, 1, 0, 0, 1, 3, 0, NULL, 'r''c', 0, 0, 'Code')",
                  "INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, FIELD_NAME, "
                  "SQL_TYPE_NAME, LENGTH, PRECISION, SCALE, NULLABLE, UNSIGNED_ATTRIBUTE, UPDATABLE, VISIBLE, MONEY, "
                  "AUTO_INCREMENT, CASE_SENSITIVE, SEARCHABLE, RADIX, DEFAULT_VALUE, REMARKS, SETFILEPARAMETER, "
                  "COLUMN_TYPE, DISPLAY_NAME) VALUES ('SHOP1', 'ITEMS', 1, 'ROWID', 'ROWID', 'INTEGER', 4, 10, NULL, "
                  "NULL, NULL, 0, 1, NULL, NULL, NULL, NULL, NULL, '', '', NULL, 6, 'ROWID')",
                  "SELECT * FROM QN_DBPRV WHERE DATABASE_NAME = 'SHOP'",
                  "INSERT INTO QN_DBPRV (USER_NAME, DATABASE_NAME, ALLOW_SELECT, ALLOW_INSERT, ALLOW_UPDATE, "
                  "ALLOW_DELETE, SECURITY_LEVEL, REMARKS) VALUES ( 'U1', 'SHOP1', 1, 1, 0, NULL, 'TABLE', NULL) ",
                  "SELECT * FROM QN_TBLPRV WHERE DATABASE_NAME = 'SHOP'",
                  "INSERT INTO QN_TBLPRV(DATABASE_NAME, TABLE_NAME, USER_NAME, ALLOW_SELECT, ALLOW_INSERT, "
                  "ALLOW_UPDATE, ALLOW_DELETE, REMARKS) VALUES ( 'SHOP1', 'ITEMS', 'U1', 1, 0, NULL, 0, 'tp') ",
              }));
    // The progress, one text a row (the click's and the tree's own texts around it), then "Ready".
    EXPECT_EQ(statuses.mid(statuses.indexOf(QStringLiteral("Copying Database...")), 6), QStringList({"Copying Database...", "Copying Table 'ITEMS' ...",
                                     "Copying Column 'CODE...", "Copying Column 'ROWID...",
                                     "Copying Database Privileges for User 'U1...",
                                     "Copying Table Privileges for User 'U1..."}));
    EXPECT_EQ(main().StatusText(), QStringLiteral("Ready"));
    // The new database's privileges carry no database user name or password.
    EXPECT_EQ(quotedRows(QStringLiteral("QN_DBPRV"),
                         QStringLiteral("DATABASE_NAME, USER_NAME, DATABASE_USERNAME, DATABASE_PASSWORD, ALLOW_DELETE"),
                         QStringLiteral("USER_NAME = 'U1'")),
              QStringList({"'SHOP'|'U1'|'dbu'|'dbp'|NULL", "'SHOP1'|'U1'|NULL|NULL|NULL"}));
    // The Databases folder was read again and lists the copy.
    EXPECT_TRUE(childTexts(QStringLiteral("DSN=QnTest2:DB=QnTest2:")).contains(QStringLiteral("SHOP1")));
    EXPECT_FALSE(forms::Find(QStringLiteral("frmDBCopy")));
}

TEST_F(CopyDialogs, ATableIsCopiedIntoTheChosenDatabase)
{
    open(kDs)->Execute(QStringLiteral("INSERT INTO QN_DB (DATABASE_NAME) VALUES ('ARCHIVE'), ('ZOO')"));
    openPath({NodeKey::Datasource(kDs), QStringLiteral("DSN=QnTest2:DB=QnTest2:"), NodeKey::Database(kDs, "ARCHIVE"),
              QStringLiteral("DSN=QnTest2:DB=QnTest2:db=ARCHIVE:TA=ARCHIVE:")});
    QStringList statuses;
    openDialog(QStringLiteral("frmTableCopy"), {kDs, QStringLiteral("SHOP"), QStringLiteral("ITEMS")}, [&](QDialog &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Copy Table"));
        EXPECT_EQ(child<QLabel>(d, QStringLiteral("lblTable"))->text(), QStringLiteral("ITEMS"));
        auto *list = child<QComboBox>(d, QStringLiteral("cboDB"));
        // Every database but the catalog's own, the table's own chosen; the focus starts there.
        EXPECT_EQ(items(list), QStringList({"ARCHIVE", "SHOP", "ZOO"}));
        EXPECT_EQ(list->currentText(), QStringLiteral("SHOP"));
        EXPECT_EQ(focused(), list);
        EXPECT_EQ(nameBox(d)->text(), QStringLiteral("ITEMS1"));
        // The user picks ARCHIVE from the list with the mouse (a release right after the press that
        // opened the list is the press's own and picks nothing).
        click(list);
        QAbstractItemView *view = list->view();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
        const QPoint archive = view->visualRect(list->model()->index(0, 0)).center();
        QTest::mouseMove(view->viewport(), archive);
        QTest::qWait(QApplication::doubleClickInterval() + 50);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, archive);
        EXPECT_EQ(list->currentText(), QStringLiteral("ARCHIVE"));
        statuses = statusesWhile(main(), [&] { clickOK(d); });
    });
    EXPECT_EQ(statuses.mid(statuses.indexOf(QStringLiteral("Copying Table...")), 4),
              QStringList({"Copying Table...", "Copying Column 'CODE...", "Copying Column 'ROWID...",
                           "Copying Table Privileges for User 'U1..."}));
    EXPECT_EQ(modUpdate::LastStatements(),
              QStringList({
                  // The target database read first: nothing goes into one deleted meanwhile.
                  "SELECT DATABASE_NAME FROM QN_DB WHERE DATABASE_NAME = 'ARCHIVE'",
                  "SELECT * FROM QN_TABLE WHERE DATABASE_NAME = 'SHOP' AND TABLE_NAME = 'ITEMS'",
                  "INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME, FILE_SPECIFICATION, "
                  "NUMBER_COLUMNS, CRITERIA, REMARKS, DISPLAY_NAME) VALUES ('ARCHIVE', 'ITEMS1', 'TABLE', 'ITEMF', "
                  "'ITEMS.DAT', '2', NULL, 'it''s', 'ITEMS1')",
                  "SELECT * FROM QN_COLUMN WHERE DATABASE_NAME = 'SHOP' AND TABLE_NAME = 'ITEMS'",
                  "INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, FIELD_NAME, "
                  "SQL_TYPE_NAME, LENGTH, PRECISION, SCALE, NULLABLE, UNSIGNED_ATTRIBUTE, UPDATABLE, VISIBLE, MONEY, "
                  "AUTO_INCREMENT, CASE_SENSITIVE, SEARCHABLE, RADIX, DEFAULT_VALUE, REMARKS, SETFILEPARAMETER, "
                  "COLUMN_TYPE, DISPLAY_NAME) VALUES ('ARCHIVE', 'ITEMS1', 1, 'CODE', 'CODE', 'VARCHAR', 8, 8, 0, 1, "
                  "0, 1, 1, 0, 0, 1, 3, 0, NULL, 'r''c', 0, 0, 'Code')",
                  "INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, FIELD_NAME, "
                  "SQL_TYPE_NAME, LENGTH, PRECISION, SCALE, NULLABLE, UNSIGNED_ATTRIBUTE, UPDATABLE, VISIBLE, MONEY, "
                  "AUTO_INCREMENT, CASE_SENSITIVE, SEARCHABLE, RADIX, DEFAULT_VALUE, REMARKS, SETFILEPARAMETER, "
                  "COLUMN_TYPE, DISPLAY_NAME) VALUES ('ARCHIVE', 'ITEMS1', 1, 'ROWID', 'ROWID', 'INTEGER', 4, 10, "
                  "NULL, NULL, NULL, 0, 1, NULL, NULL, NULL, NULL, NULL, '', '', NULL, 6, 'ROWID')",
                  "SELECT * FROM QN_TBLPRV WHERE DATABASE_NAME = 'SHOP' AND TABLE_NAME='ITEMS'",
                  "INSERT INTO QN_TBLPRV(DATABASE_NAME, TABLE_NAME, USER_NAME, ALLOW_SELECT, ALLOW_INSERT, "
                  "ALLOW_UPDATE, ALLOW_DELETE, REMARKS) VALUES ( 'ARCHIVE', 'ITEMS1', 'U1', 1, 0, NULL, 0, 'tp') ",
              }));
    // No database privilege is made in the target; its Tables folder lists the copy.
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_DBPRV WHERE DATABASE_NAME = 'ARCHIVE'"), kDs).toInt(), 0);
    EXPECT_EQ(childTexts(QStringLiteral("DSN=QnTest2:DB=QnTest2:db=ARCHIVE:TA=ARCHIVE:")), QStringList{"ITEMS1"});
    EXPECT_EQ(main().StatusText(), QStringLiteral("Ready"));
}

TEST_F(CopyDialogs, AFileIsCopiedWithItsFieldsAndTheFilesFolderReloaded)
{
    openPath({NodeKey::Datasource(kDs), QStringLiteral("DSN=QnTest2:FI=QnTest2:")});
    QStringList statuses;
    openDialog(QStringLiteral("frmFileCopy"), {kDs, QStringLiteral("ITEMF")}, [&](QDialog &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Copy File"));
        EXPECT_EQ(child<QLabel>(d, QStringLiteral("lblPrompt_0"))->text(), QStringLiteral("Source File:"));
        EXPECT_EQ(child<QLabel>(d, QStringLiteral("lblPrompt_1"))->text(), QStringLiteral("New Filename:"));
        EXPECT_EQ(child<QLabel>(d, QStringLiteral("lblFilename"))->text(), QStringLiteral("ITEMF"));
        EXPECT_EQ(focused(), nameBox(d));
        EXPECT_EQ(nameBox(d)->text(), QStringLiteral("ITEMF1"));
        retype(nameBox(d), QStringLiteral("items"));
        EXPECT_EQ(nameBox(d)->text(), QStringLiteral("ITEMS"));
        // Enter presses OK here.
        statuses = statusesWhile(main(), [&] { QTest::keyClick(nameBox(d), Qt::Key_Return); });
    });
    EXPECT_EQ(modUpdate::LastStatements(),
              QStringList({
                  "SELECT * FROM QN_FILE WHERE FILE_NAME = 'ITEMF'",
                  "INSERT INTO QN_FILE (FILE_NAME, OPEN_STRING, RECORD_SIZE, FILE_ORGANISATION, RECORD_TYPE, REMARKS) "
                  "VALUES ('ITEMS', 'o''s', '12', 'INDEXED', NULL, 'Items'' file')",
                  "SELECT * FROM QN_FIELD WHERE FILE_NAME = 'ITEMF'",
                  "INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, LENGTH, "
                  "PRECISION, SCALE, ENCRYPTED, FORMAT, DEFAULT_VALUE, REMARKS) VALUES ('ITEMS', 1, 'CODE', 'STRING', 0, "
                  "8, 8, 0, 0, NULL, 'd''v', NULL)",
                  "INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, LENGTH, "
                  "PRECISION, SCALE, ENCRYPTED, FORMAT, DEFAULT_VALUE, REMARKS) VALUES ('ITEMS', 2, 'QTY', 'INTEGER', 8, "
                  "4, 10, NULL, NULL, 'X9', NULL, 'r')",
              }));
    // No "Ready" of its own: the last progress text stays until the tree's reload.
    EXPECT_EQ(statuses.mid(statuses.indexOf(QStringLiteral("Copying File...")), 3), QStringList({"Copying File...", "Copying Field 'CODE...", "Copying Field 'QTY..."}));
    EXPECT_TRUE(childTexts(QStringLiteral("DSN=QnTest2:FI=QnTest2:")).contains(QStringLiteral("ITEMS")));

    // Cancel copies nothing, but the Files folder is read again all the same.
    open(kDs)->Execute(QStringLiteral("INSERT INTO QN_FILE (FILE_NAME) VALUES ('LATE')"));
    openDialog(QStringLiteral("frmFileCopy"), {kDs, QStringLiteral("ITEMS")}, [&](QDialog &d) {
        click(child<QPushButton>(d, QStringLiteral("cmdCancel")));
    });
    EXPECT_TRUE(childTexts(QStringLiteral("DSN=QnTest2:FI=QnTest2:")).contains(QStringLiteral("LATE")));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_FILE WHERE FILE_NAME LIKE 'ITEMS%'"), kDs).toInt(), 1);
}

// A stored Null in a text column stays Null in every copy, a stored '' stays
// '': the copy holds what its source holds.
TEST_F(CopyDialogs, AStoredNullInATextColumnStaysNullInTheCopy)
{
    const struct Case
    {
        const char *table;
        const char *order;   // the key that pairs a copied row with its source
        const char *columns; // Null in the source rows
        const char *source;
        const char *blank;   // a source row whose columns hold '' instead ("" for none)
        const char *copy;
    } cases[] = {
        // The database copy.
        {"QN_DB", "1", "DEFAULT_DIRECTORY, DRIVER_NAME, SETUP_PROCEDURE, CONNECT_STRING, REMARKS",
         "DATABASE_NAME = 'SHOP'", "", "DATABASE_NAME = 'SHOP1'"},
        {"QN_TABLE", "TABLE_NAME", "TABLE_TYPE, FILE_NAME, FILE_SPECIFICATION, CRITERIA, REMARKS, DISPLAY_NAME",
         "DATABASE_NAME = 'SHOP' AND TABLE_NAME = 'ITEMS'", "", "DATABASE_NAME = 'SHOP1'"},
        {"QN_COLUMN", "COLUMN_NAME", "FIELD_NAME, SQL_TYPE_NAME, DEFAULT_VALUE, REMARKS, DISPLAY_NAME",
         "DATABASE_NAME = 'SHOP' AND TABLE_NAME = 'ITEMS'", "COLUMN_NAME = 'ROWID'", "DATABASE_NAME = 'SHOP1'"},
        {"QN_DBPRV", "USER_NAME", "SECURITY_LEVEL, REMARKS", "DATABASE_NAME = 'SHOP'", "", "DATABASE_NAME = 'SHOP1'"},
        {"QN_TBLPRV", "USER_NAME", "REMARKS", "DATABASE_NAME = 'SHOP' AND TABLE_NAME = 'ITEMS'", "",
         "DATABASE_NAME = 'SHOP1'"},
        // The table copy (ITEMS1 in SHOP), from the same source rows.
        {"QN_TABLE", "TABLE_NAME", "TABLE_TYPE, FILE_NAME, FILE_SPECIFICATION, CRITERIA, REMARKS",
         "DATABASE_NAME = 'SHOP' AND TABLE_NAME = 'ITEMS'", "", "TABLE_NAME = 'ITEMS1'"},
        {"QN_COLUMN", "COLUMN_NAME", "FIELD_NAME, SQL_TYPE_NAME, DEFAULT_VALUE, REMARKS, DISPLAY_NAME",
         "DATABASE_NAME = 'SHOP' AND TABLE_NAME = 'ITEMS'", "COLUMN_NAME = 'ROWID'", "TABLE_NAME = 'ITEMS1'"},
        {"QN_TBLPRV", "USER_NAME", "REMARKS", "DATABASE_NAME = 'SHOP' AND TABLE_NAME = 'ITEMS'", "",
         "TABLE_NAME = 'ITEMS1'"},
        // The file copy.
        {"QN_FILE", "1", "OPEN_STRING, FILE_ORGANISATION, RECORD_TYPE, REMARKS", "FILE_NAME = 'ITEMF'", "",
         "FILE_NAME = 'ITEMF1'"},
        {"QN_FIELD", "FIELD_NAME", "LOCAL_TYPE_NAME, FORMAT, DEFAULT_VALUE, REMARKS", "FILE_NAME = 'ITEMF'",
         "FIELD_NAME = 'QTY'", "FILE_NAME = 'ITEMF1'"},
    };
    auto values = [&](const Case &c, const char *where) {
        QStringList quoted;
        for (const QString &column : QString::fromLatin1(c.columns).split(QStringLiteral(", ")))
            quoted << QStringLiteral("quote(%1)").arg(column);
        return rows(QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %4")
                        .arg(quoted.join(QStringLiteral(" || '|' || ")), QLatin1String(c.table), QLatin1String(where),
                             QLatin1String(c.order)),
                    kDs);
    };
    const auto db = open(kDs);
    for (const Case &c : cases) {
        const QString columns = QString::fromLatin1(c.columns);
        db->Execute(QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                        .arg(QLatin1String(c.table), QString(columns).replace(QStringLiteral(", "), QStringLiteral(" = NULL, ")) +
                                                         QStringLiteral(" = NULL"),
                             QLatin1String(c.source)));
        if (*c.blank)
            db->Execute(QStringLiteral("UPDATE %1 SET %2 WHERE %3 AND %4")
                            .arg(QLatin1String(c.table),
                                 QString(columns).replace(QStringLiteral(", "), QStringLiteral(" = '', ")) +
                                     QStringLiteral(" = ''"),
                                 QLatin1String(c.source), QLatin1String(c.blank)));
    }
    const QList<QPair<QString, QStringList>> copies = {{"frmDBCopy", {kDs, "SHOP"}},
                                                      {"frmTableCopy", {kDs, "SHOP", "ITEMS"}},
                                                      {"frmFileCopy", {kDs, "ITEMF"}}};
    for (const auto &copy : copies)
        openDialog(copy.first, copy.second, [&](QDialog &d) { clickOK(d); });
    EXPECT_TRUE(ui().errors().isEmpty());
    for (const Case &c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 where %2").arg(QLatin1String(c.table), QLatin1String(c.copy)).toStdString());
        const QStringList source = values(c, c.source);
        ASSERT_FALSE(source.isEmpty());
        EXPECT_TRUE(source[0].startsWith(QStringLiteral("NULL")));
        EXPECT_EQ(values(c, c.copy), source);
    }
}

// ------------------------------------------------------------------ the name

// The name in each dialog: a box the user emptied is refused with its message
// and nothing else asked; a name taken asks the dialog's question, whose No
// keeps the dialog open and Yes takes a proposal.
TEST_F(CopyDialogs, TheNameIsCheckedWithTheDialogsQuestions)
{
    struct Dialog
    {
        const char *form;
        QStringList keys;
        QString takenQuestion; // for the name SHOP, ITEMS or ITEMF
        QString taken;
        QString first, second; // the names the two copies get
        QString count;         // counts the copies made
    };
    const QList<Dialog> dialogs = {
        {"frmDBCopy", {kDs, "SHOP"},
         "A Database called 'SHOP' already exists in this datasource.\r\nDo you want me to find a unique name for this "
         "database?",
         "SHOP", "SHOP1", "SHOP2", "SELECT COUNT(*) FROM QN_DB"},
        {"frmTableCopy", {kDs, "SHOP", "ITEMS"},
         "Database 'SHOP' already contains a Table called 'ITEMS'\r\nDo you want me to find a unique name for the new "
         "table?",
         "ITEMS", "ITEMS1", "ITEMS2", "SELECT COUNT(*) FROM QN_TABLE"},
        {"frmFileCopy", {kDs, "ITEMF"},
         "There is already a file called 'ITEMF' in this datasource.\r\nWould you like me to generate a unique name "
         "for this new File?",
         "ITEMF", "ITEMF1", "ITEMF2", "SELECT COUNT(*) FROM QN_FILE"},
    };
    for (const Dialog &c : dialogs) {
        SCOPED_TRACE(c.form);
        const int before = scalar(c.count, kDs).toInt();
        openDialog(QLatin1String(c.form), c.keys, [&](QDialog &d) {
            QLineEdit *box = nameBox(d);
            // Typed keys: a blank becomes "_", letters capitals, punctuation dropped.
            retype(box, QStringLiteral("a b-c'"));
            EXPECT_EQ(box->text(), QStringLiteral("A_B-C"));
            // Enter presses OK only in the file dialog: the name then copies. Here: nothing.
            if (QLatin1String(c.form) != QLatin1String("frmFileCopy")) {
                QTest::keyClick(box, Qt::Key_Return);
                EXPECT_TRUE(d.isVisible());
            }
            // Emptied (all selected and deleted, or backspaced away): refused at once, the
            // focus in the box, no question asked.
            for (bool backspace : {false, true}) {
                SCOPED_TRACE(backspace ? "backspaced" : "deleted");
                if (backspace) {
                    retype(box, QStringLiteral("x"));
                    QTest::keyClick(box, Qt::Key_Backspace);
                } else {
                    retype(box, QString());
                }
                ASSERT_EQ(box->text(), QString());
                okRefusesTheName(d);
                EXPECT_EQ(scalar(c.count, kDs).toInt(), before);
            }
            // Taken, No: the dialog stays open with the name typed.
            retype(box, c.taken);
            ui().answerMsgBox(ui::vbNo);
            clickOK(d);
            EXPECT_EQ(takeMessages(), QStringList{c.takenQuestion});
            EXPECT_TRUE(d.isVisible());
            EXPECT_EQ(box->text(), c.taken);
            // A free name typed: copied without a question.
            retype(box, c.first);
            const QPointer<QDialog> dialog(&d);
            clickOK(d);
            EXPECT_EQ(takeMessages(), QStringList());
            EXPECT_TRUE(!dialog || !dialog->isVisible());
        });
        EXPECT_EQ(scalar(c.count, kDs).toInt(), before + 1);
        EXPECT_TRUE(modUpdate::LastStatements().filter(QStringLiteral("INSERT")).value(0).contains(QLatin1Char('\'') + c.first + QLatin1Char('\'')));

        // Taken, Yes: a proposal, copied at once without asking again.
        QStringList sent;
        openDialog(QLatin1String(c.form), c.keys, [&](QDialog &d) {
            retype(nameBox(d), c.taken);
            ui().answerMsgBox(ui::vbYes);
            dao::SetStatementObserver([&](const QString &sql) { sent << sql; });
            clickOK(d);
            dao::SetStatementObserver(nullptr);
        });
        EXPECT_EQ(takeMessages(), QStringList{c.takenQuestion});
        EXPECT_EQ(scalar(c.count, kDs).toInt(), before + 2);
        EXPECT_TRUE(modUpdate::LastStatements().filter(QStringLiteral("INSERT")).value(0).contains(QLatin1Char('\'') + c.second + QLatin1Char('\'')));
        // Before the copy, the proposed name was queried once only: by the proposal, never looked up again.
        const QStringList ahead = sent.mid(0, sent.size() - modUpdate::LastStatements().size());
        EXPECT_EQ(ahead.filter(QLatin1Char('\'') + c.second + QLatin1Char('\'')).size(), 1);
    }
}

// Text pasted, dropped or committed by an input method into a name box passes
// the key filter as typed text does; the copy takes the box's name.
TEST_F(CopyDialogs, NamesPastedOrDroppedAreFilteredAsTyped)
{
    const struct
    {
        const char *how;
        std::function<void(QLineEdit *)> enter;
    } ways[] = {
        {"pasted", [](QLineEdit *box) { textentry::Paste(box, QStringLiteral("o'k x"), true); }},
        {"from the menu",
         [](QLineEdit *box) {
             box->clear();
             textentry::PasteFromMenu(box, QStringLiteral("o'k x"));
         }},
        {"dropped",
         [](QLineEdit *box) {
             box->clear();
             EXPECT_TRUE(textentry::Drop(box, QStringLiteral("o'k x")));
         }},
        {"committed",
         [](QLineEdit *box) {
             box->clear();
             box->setFocus();
             textentry::Commit(box, QStringLiteral("o'k x"));
         }},
    };
    for (const auto &way : ways) {
        SCOPED_TRACE(way.how);
        // The copy of the way before removed.
        for (const char *table : {"QN_DB", "QN_TABLE", "QN_COLUMN", "QN_DBPRV", "QN_TBLPRV"})
            open(kDs)->Execute(QStringLiteral("DELETE FROM %1 WHERE DATABASE_NAME = 'OK_X'").arg(QLatin1String(table)));
        openDialog(QStringLiteral("frmDBCopy"), {kDs, QStringLiteral("SHOP")}, [&](QDialog &d) {
            way.enter(nameBox(d));
            EXPECT_EQ(nameBox(d)->text(), QStringLiteral("OK_X"));
            clickOK(d);
        });
        EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_COLUMN WHERE DATABASE_NAME = 'OK_X'"), kDs).toInt(), 2);
    }
}

// Names with an apostrophe, which the catalog may hold (imported), are quoted
// in the proposal's look-ups and in every statement of the copies.
TEST_F(CopyDialogs, SourceNamesWithAnApostropheAreQuoted)
{
    const auto db = open(kDs);
    db->Execute(QStringLiteral("INSERT INTO QN_DB (DATABASE_NAME) VALUES ('O''B')"));
    db->Execute(QStringLiteral("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME) VALUES ('O''B', 'IT''S')"));
    db->Execute(QStringLiteral("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME) "
                               "VALUES ('O''B', 'IT''S', 1, 'C')"));
    openDialog(QStringLiteral("frmDBCopy"), {kDs, QStringLiteral("O'B")}, [&](QDialog &d) {
        EXPECT_EQ(nameBox(d)->text(), QStringLiteral("O'B1"));
        clickOK(d);
    });
    openDialog(QStringLiteral("frmTableCopy"), {kDs, QStringLiteral("O'B"), QStringLiteral("IT'S")}, [&](QDialog &d) {
        EXPECT_EQ(child<QComboBox>(d, QStringLiteral("cboDB"))->currentText(), QStringLiteral("O'B"));
        EXPECT_EQ(nameBox(d)->text(), QStringLiteral("IT'S1"));
        clickOK(d);
    });
    EXPECT_TRUE(ui().errors().isEmpty());
    EXPECT_EQ(rows(QStringLiteral("SELECT DATABASE_NAME || '.' || TABLE_NAME || '.' || COLUMN_NAME FROM QN_COLUMN "
                                  "WHERE DATABASE_NAME LIKE 'O''B%' ORDER BY 1"),
                   kDs),
              QStringList({"O'B.IT'S.C", "O'B.IT'S1.C", "O'B1.IT'S.C"}));
}

// When no name of the column's width is free, the box stays empty and OK
// refuses it: nothing is copied.
TEST_F(CopyDialogs, NoFreeNameLeavesTheBoxEmptyAndNothingIsCopied)
{
    const auto db = open(kDs);
    // A catalog whose database names are one character wide, all ten taken.
    db->Execute(QStringLiteral("CREATE TABLE QN_DB1 (DATABASE_NAME VARCHAR(1) NOT NULL PRIMARY KEY, DEFAULT_DIRECTORY "
                               "VARCHAR(128), DRIVER_NAME VARCHAR(20), SETUP_PROCEDURE VARCHAR(64), CONNECT_STRING "
                               "VARCHAR(254), REMARKS VARCHAR(254), DISPLAY_NAME VARCHAR(10))"));
    db->Execute(QStringLiteral("INSERT INTO QN_DB1 (DATABASE_NAME) VALUES ('A'), ('1'), ('2'), ('3'), ('4'), ('5'), "
                               "('6'), ('7'), ('8'), ('9')"));
    db->Execute(QStringLiteral("DROP TABLE QN_DB"));
    db->Execute(QStringLiteral("ALTER TABLE QN_DB1 RENAME TO QN_DB"));
    openDialog(QStringLiteral("frmDBCopy"), {kDs, QStringLiteral("A")}, [&](QDialog &d) {
        EXPECT_EQ(nameBox(d)->text(), QString());
        okRefusesTheName(d);
        // A name taken, Yes: no proposal to take, refused the same way.
        retype(nameBox(d), QStringLiteral("A"));
        ui().answerMsgBox(ui::vbYes);
        ui().answerMsgBox(ui::vbOK);
        clickOK(d);
        EXPECT_EQ(takeMessages().value(1), QStringLiteral("Please enter a Name."));
        EXPECT_EQ(nameBox(d)->text(), QString());
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(focused(), nameBox(d));
        QTest::keyClick(nameBox(d), Qt::Key_Escape);
    });
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_DB"), kDs).toInt(), 10);
    EXPECT_EQ(main().StatusText(), QStringLiteral("Ready"));
}

TEST_F(CopyDialogs, ATableOfTheCatalogsOwnDatabaseNeedsATargetChosen)
{
    openDialog(QStringLiteral("frmTableCopy"), {kDs, QStringLiteral("QN"), QStringLiteral("DB")}, [&](QDialog &d) {
        auto *list = child<QComboBox>(d, QStringLiteral("cboDB"));
        EXPECT_EQ(list->currentIndex(), -1);
        EXPECT_EQ(nameBox(d)->text(), QStringLiteral("DB1"));
        ui().answerMsgBox(ui::vbOK);
        clickOK(d);
        const QList<ScriptedUi::Shown> shown = messageBoxes(ui());
        ASSERT_EQ(shown.size(), 1);
        EXPECT_EQ(shown[0].text, QStringLiteral("Please select a Database for the new Table."));
        EXPECT_EQ(shown[0].style, ui::vbInformation);
        EXPECT_EQ(shown[0].title, ui::AppTitle());
        EXPECT_EQ(focused(), list);
        EXPECT_TRUE(d.isVisible());
        // With a target the copy goes there.
        list->setCurrentIndex(list->findText(QStringLiteral("SHOP")));
        clickOK(d);
    });
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_COLUMN WHERE DATABASE_NAME = 'SHOP' AND TABLE_NAME = 'DB1'"),
                     kDs)
                  .toInt(),
              7);
}

// The target database deleted by another connection while the dialog is on
// screen: the copy reads it first inside its unit, fails with 3021 naming that
// query, and writes nothing, with and without transactions.
TEST_F(CopyDialogs, NoTableIsCopiedIntoADatabaseDeletedMeanwhile)
{
    const QString parent = QStringLiteral("SELECT DATABASE_NAME FROM QN_DB WHERE DATABASE_NAME = 'ARCHIVE'");
    for (bool transactions : {true, false}) {
        SCOPED_TRACE(transactions);
        dao::IgnoreTransactionSupport(!transactions);
        open(kDs)->Execute(QStringLiteral("INSERT INTO QN_DB (DATABASE_NAME) VALUES ('ARCHIVE')"));
        const QStringList before = catalog();
        ui().answerError(ui::vbIgnore);
        openDialog(QStringLiteral("frmTableCopy"), {kDs, QStringLiteral("SHOP"), QStringLiteral("ITEMS")},
                   [&](QDialog &d) {
                       auto *list = child<QComboBox>(d, QStringLiteral("cboDB"));
                       list->setFocus();
                       QTest::keyClick(list, Qt::Key_Home);
                       ASSERT_EQ(list->currentText(), QStringLiteral("ARCHIVE"));
                       open(kDs)->Execute(QStringLiteral("DELETE FROM QN_DB WHERE DATABASE_NAME = 'ARCHIVE'"));
                       clickOK(d);
                   });
        ASSERT_EQ(ui().errors().size(), 1);
        EXPECT_EQ(ui().errors()[0].number, QStringLiteral("3021"));
        EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("frmTableCopy.cmdOK_Click"));
        EXPECT_EQ(ui().errors()[0].additionalInfo, parent);
        EXPECT_EQ(takeMessages(), QStringList());
        QStringList after = catalog();
        EXPECT_EQ(after.size(), before.size() - 1); // the database row alone is gone
        EXPECT_TRUE(after.filter(QStringLiteral("ARCHIVE")).isEmpty());
    }
    dao::IgnoreTransactionSupport(false);
}

// A close of the main window issued while a copy dialog is on screen is
// refused: the dialog copies, and a close afterwards closes.
TEST_F(CopyDialogs, TheWindowStaysWhileACopyDialogIsOpen)
{
    bool closed = true;
    openDialog(QStringLiteral("frmFileCopy"), {kDs, QStringLiteral("ITEMF")}, [&](QDialog &d) {
        closed = main().close();
        clickOK(d);
    });
    EXPECT_FALSE(closed);
    EXPECT_EQ(ui().beeps(), 1);
    EXPECT_TRUE(main().isVisible());
    EXPECT_EQ(rows(QStringLiteral("SELECT FILE_NAME FROM QN_FIELD WHERE FILE_NAME = 'ITEMF1' AND FIELD_NAME = 'QTY'"),
                   kDs),
              QStringList{QStringLiteral("ITEMF1")});
    EXPECT_TRUE(main().close());
}

// ------------------------------------------------------------------ failures

// A failure at each statement of each copy in turn, the name's look-up
// included, answered Ignore: the catalog is as before, the dialog closed and
// the error dialog named the failing statement. Without transactions the rows
// written are deleted again, and the user is told so.
TEST_F(CopyDialogs, AFailureAtAnyStatementLeavesNothingOfTheCopy)
{
    struct Copy
    {
        const char *form;
        QStringList keys;
        const char *routine;
        QStringList cleanup; // removes a finished copy
    };
    const QList<Copy> copies = {
        {"frmDBCopy", {kDs, "SHOP"}, "frmDBCopy.cmdOK_Click",
         {"DELETE FROM QN_DB WHERE DATABASE_NAME = 'SHOP1'", "DELETE FROM QN_TABLE WHERE DATABASE_NAME = 'SHOP1'",
          "DELETE FROM QN_COLUMN WHERE DATABASE_NAME = 'SHOP1'", "DELETE FROM QN_DBPRV WHERE DATABASE_NAME = 'SHOP1'",
          "DELETE FROM QN_TBLPRV WHERE DATABASE_NAME = 'SHOP1'"}},
        {"frmTableCopy", {kDs, "SHOP", "ITEMS"}, "frmTableCopy.cmdOK_Click",
         {"DELETE FROM QN_TABLE WHERE TABLE_NAME = 'ITEMS1'", "DELETE FROM QN_COLUMN WHERE TABLE_NAME = 'ITEMS1'",
          "DELETE FROM QN_TBLPRV WHERE TABLE_NAME = 'ITEMS1'"}},
        {"frmFileCopy", {kDs, "ITEMF"}, "frmFileCopy.cmdOK_Click",
         {"DELETE FROM QN_FILE WHERE FILE_NAME = 'ITEMF1'", "DELETE FROM QN_FIELD WHERE FILE_NAME = 'ITEMF1'"}},
    };
    const QStringList before = catalog();
    for (const Copy &c : copies) {
        SCOPED_TRACE(c.form);
        // The statements of a copy that succeeds: the look-up, then the unit's.
        QStringList sent;
        openDialog(QLatin1String(c.form), c.keys, [&](QDialog &d) {
            dao::SetStatementObserver([&](const QString &sql) { sent << sql; });
            clickOK(d);
            dao::SetStatementObserver(nullptr);
        });
        ASSERT_GT(sent.size(), 5);
        sent = sent.mid(0, 1 + modUpdate::LastStatements().size());
        for (const QString &sql : c.cleanup)
            open(kDs)->Execute(sql);
        ASSERT_EQ(catalog(), before);

        for (bool transactions : {true, false}) {
            dao::IgnoreTransactionSupport(!transactions);
            for (int n = 1; n <= sent.size(); ++n) {
                SCOPED_TRACE(QStringLiteral("statement %1 of %2, transactions %3").arg(n).arg(sent.size()).arg(transactions).toStdString());
                const bool written = !transactions && !sent.mid(0, n - 1).filter(QStringLiteral("INSERT")).isEmpty();
                ui().answerError(ui::vbIgnore);
                if (written)
                    ui().answerMsgBox(ui::vbOK);
                openDialog(QLatin1String(c.form), c.keys, [&](QDialog &d) {
                    dao::Faults::Add(dao::Faults::Statement, n, QStringLiteral("HY000"), QStringLiteral("refused"));
                    const QPointer<QDialog> dialog(&d);
                    clickOK(d);
                    EXPECT_TRUE(!dialog || !dialog->isVisible());
                });
                EXPECT_EQ(catalog(), before);
                ASSERT_EQ(ui().errors().size(), 1);
                EXPECT_EQ(ui().errors()[0].trappedIn, QLatin1String(c.routine));
                EXPECT_EQ(ui().errors()[0].additionalInfo, shownSQL(sent[n - 1]));
                EXPECT_EQ(takeMessages(), written ? QStringList{"The copy failed; the rows it had written have been "
                                                                "deleted again."}
                                                  : QStringList());
                EXPECT_EQ(dao::Faults::Pending(), 0);
            }
        }
        dao::IgnoreTransactionSupport(false);
    }
}

// Retry after a failure copies the whole again: one complete copy, whether the
// failed attempt was rolled back or its rows deleted.
TEST_F(CopyDialogs, RetryAfterAFailureMakesOneWholeCopy)
{
    for (bool transactions : {true, false}) {
        SCOPED_TRACE(transactions);
        dao::IgnoreTransactionSupport(!transactions);
        const QString target = transactions ? QStringLiteral("ITEMS1") : QStringLiteral("ITEMS2");
        ui().answerError(ui::vbRetry);
        openDialog(QStringLiteral("frmTableCopy"), {kDs, QStringLiteral("SHOP"), QStringLiteral("ITEMS")},
                   [&](QDialog &d) {
                       EXPECT_EQ(nameBox(d)->text(), target);
                       // The second column's INSERT fails once.
                       dao::Faults::Add(dao::Faults::Statement, 7, QStringLiteral("HY000"), QStringLiteral("busy"));
                       clickOK(d);
                   });
        EXPECT_EQ(ui().errors().size(), 1);
        EXPECT_EQ(takeMessages(), QStringList());
        EXPECT_EQ(quotedRows(QStringLiteral("QN_COLUMN"), QStringLiteral("TABLE_NAME, COLUMN_NAME, SCALE"),
                             QStringLiteral("TABLE_NAME = '%1'").arg(target)),
                  QStringList({"'" + target + "'|'CODE'|0", "'" + target + "'|'ROWID'|NULL"}));
    }
}

// ------------------------------------------------------------------ pictures

TEST_F(CopyDialogs, Pictures)
{
    const QString folder = qEnvironmentVariable("QN_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "QN_SCREENSHOT_DIR not set";
    QDir().mkpath(folder);
    const struct
    {
        const char *form;
        QStringList keys;
    } shots[] = {{"frmDBCopy", {kDs, "SHOP"}}, {"frmTableCopy", {kDs, "SHOP", "ITEMS"}}, {"frmFileCopy", {kDs, "ITEMF"}}};
    for (const auto &shot : shots)
        openDialog(QLatin1String(shot.form), shot.keys, [&](QDialog &d) {
            QCoreApplication::processEvents();
            EXPECT_TRUE(d.grab().save(QDir(folder).filePath(QLatin1String(shot.form) + QStringLiteral(".png"))));
            QTest::keyClick(&d, Qt::Key_Escape);
        });
}

} // namespace
