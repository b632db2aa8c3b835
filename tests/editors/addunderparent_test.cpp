// An add whose parent row another connection deleted meanwhile: each editor
// whose rows go under a database, table, file or user reads that row first in
// the add's unit, so the add fails with 3021 through the error dialog, writes
// nothing, and the editor stays adding.

#include "editorfixture.h"
#include "editors/schema/frmcolumn.h"
#include "editors/schema/frmtable.h"
#include "editors/security/frmdbprv.h"
#include "editors/security/frmtblprv.h"
#include "editors/storage/frmfield.h"

namespace {

class AddUnderParent : public EditorTest
{
protected:
    template <class Form> static Form &form() { return *forms::LoadedForm<Form>(); }
    static void pick(QComboBox *combo, const QString &prefix)
    {
        combo->setFocus();
        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo, prefix);
    }
};

TEST_F(AddUnderParent, AParentDeletedMeanwhileFailsTheAddAndWritesNothing)
{
    open()->Execute(QStringLiteral("INSERT INTO QN_USER (USER_NAME) VALUES ('BOB')"));
    struct Case
    {
        const char *form;
        QStringList keys; // after the data source
        std::function<void()> fill;
        const char *gone;     // the other connection's delete
        bool duringUnit;      // deleted as the unit starts (after the validation read it)
        const char *newRows;  // counts the row the add would write
    };
    const QList<Case> cases = {
        {"frmTable", {"STOCK"},
         [] {
             auto &e = form<frmTable>();
             type(e.txtName, QStringLiteral("INVOICES"));
             type(e.cboType, QStringLiteral("T"));
             type(e.cboFile, QStringLiteral("ORDERS"));
             type(e.txtSpecification, QStringLiteral("INV.DAT"));
         },
         "DELETE FROM QN_DB WHERE DATABASE_NAME = 'STOCK'", false,
         "SELECT COUNT(*) FROM QN_TABLE WHERE TABLE_NAME = 'INVOICES'"},
        {"frmColumn", {"SALES", "OPEN_ORDERS"},
         [] {
             auto &e = form<frmColumn>();
             type(e.cboField, QStringLiteral("CARD-REF"));
             type(e.txtName, QStringLiteral("CARD_REF"));
             type(e.cboType, QStringLiteral("V"));
             type(e.txtLength, QStringLiteral("16"));
         },
         "DELETE FROM QN_TABLE WHERE TABLE_NAME = 'OPEN_ORDERS'", false,
         "SELECT COUNT(*) FROM QN_COLUMN WHERE TABLE_NAME = 'OPEN_ORDERS' AND COLUMN_NAME = 'CARD_REF'"},
        {"frmField", {"ORDERS"},
         [] {
             auto &e = form<frmField>();
             type(e.txtName, QStringLiteral("SHIP_DATE"));
             pick(e.cboType, QStringLiteral("STRING"));
         },
         "DELETE FROM QN_FILE WHERE FILE_NAME = 'ORDERS'", false,
         "SELECT COUNT(*) FROM QN_FIELD WHERE FIELD_NAME = 'SHIP_DATE'"},
        {"frmDBPRV", {"SALES"},
         [] {
             auto &e = form<frmDBPRV>();
             pick(e.cboUser, QStringLiteral("B"));
             type(e.txtPassword, QStringLiteral("PW1"));
             type(e.txtConfirm, QStringLiteral("PW1"));
             type(e.cboLevel, QStringLiteral("T"));
         },
         "DELETE FROM QN_DB WHERE DATABASE_NAME = 'SALES'", false,
         "SELECT COUNT(*) FROM QN_DBPRV WHERE USER_NAME = 'BOB'"},
        {"frmTBLPRV", {"SALES", "ORDERS"}, [] { pick(form<frmTBLPRV>().cboUser, QStringLiteral("B")); },
         "DELETE FROM QN_TABLE WHERE TABLE_NAME = 'ORDERS'", false,
         "SELECT COUNT(*) FROM QN_TBLPRV WHERE USER_NAME = 'BOB'"},
        // The privilege's user: the validation finds it, the unit no longer does.
        {"frmTBLPRV", {"SALES", "CUSTOMER"}, [] { pick(form<frmTBLPRV>().cboUser, QStringLiteral("B")); },
         "DELETE FROM QN_USER WHERE USER_NAME = 'BOB'", true,
         "SELECT COUNT(*) FROM QN_TBLPRV WHERE USER_NAME = 'BOB'"},
    };
    for (const Case &c : cases) {
        const QString name = QLatin1String(c.form);
        SCOPED_TRACE(c.form + (QLatin1Char(' ') + QLatin1String(c.gone)).toStdString());
        main().PaneAddNew(name, QStringList{QStringLiteral("QnTest")} + c.keys);
        auto *editor = dynamic_cast<EditorFrame *>(forms::Find(name));
        ASSERT_TRUE(editor);
        c.fill();
        const QString mode = editor->EditorMode();
        ASSERT_TRUE(mode.endsWith(QStringLiteral(" Add")));
        const QString gone = QLatin1String(c.gone);
        bool deleted = false;
        if (c.duringUnit) {
            // The unit's first statement is the parent's read: the user goes just before it.
            dao::SetStatementObserver([&](const QString &sql) {
                if (!deleted && sql.startsWith(QStringLiteral("SELECT DATABASE_NAME, TABLE_NAME FROM QN_TABLE"))) {
                    deleted = true;
                    open()->Execute(gone);
                }
            });
        } else {
            open()->Execute(gone);
        }
        takeMessages();
        ui().answerError(ui::vbIgnore);
        clickBand(name, QStringLiteral("OK"));
        dao::SetStatementObserver(nullptr);
        EXPECT_TRUE(!c.duringUnit || deleted);
        EXPECT_EQ(ui().messages(), QStringList());
        ASSERT_EQ(ui().errors().size(), 1);
        EXPECT_EQ(ui().errors()[0].number, QStringLiteral("3021"));
        EXPECT_EQ(ui().errors()[0].trappedIn, name + QStringLiteral(".tbr_ButtonClick"));
        EXPECT_EQ(scalar(QLatin1String(c.newRows)).toInt(), 0);
        EXPECT_EQ(editor->EditorMode(), mode);
        takeMessages();
    }
}

} // namespace
