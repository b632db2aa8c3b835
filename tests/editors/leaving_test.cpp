// An editor with changes not saved, when the user shows another pane or
// closes the window: "Save changes to <title>?" with Yes (OK), No (Cancel)
// and Cancel (the editor stays); with the database editor as the fixture.

#include <QPushButton>

#include "../mainwindow/menudriver.h"
#include "appinfo.h"
#include "editorfixture.h"
#include "editors/schema/frmdatabase.h"

namespace {

const QString kDsKey = QStringLiteral("DSN=QnTest:");
const QString kDbs = QStringLiteral("DSN=QnTest:DB=QnTest:");
const QString kSales = kDbs + QStringLiteral("db=SALES:");
const QString kStock = kDbs + QStringLiteral("db=STOCK:");
const QString kRemarks = QStringLiteral("Customers and orders");

class Leaving : public EditorOf<frmDatabase>
{
protected:
    Leaving() : EditorOf(QStringLiteral("frmDatabase"), {"DB Add", "DB Edit", "DB Delete", "OK", "Cancel", "Undo"}) {}

    // SALES opened for editing with a click on its node.
    frmDatabase &editSales()
    {
        options::Save(options::kItems, 1);
        openPath({kDsKey, kDbs});
        clickNode(kSales);
        EXPECT_EQ(editor().EditorMode(), QStringLiteral("DB Edit"));
        return editor();
    }
    QString remarksOf(const QString &db)
    {
        return scalar(QStringLiteral("SELECT REMARKS FROM QN_DB WHERE DATABASE_NAME = '%1'").arg(db)).toString();
    }
    QString selectedKey() const
    {
        const CNodePtr selected = gNodes().SelectedItem();
        return selected ? selected->Key : QString();
    }
    // The ways a user makes the editor go: a click on another node, the
    // band's Up, a menu command, the window's close. The pane shown after it
    // (none: the window closed) and the node then selected.
    struct Leave
    {
        const char *name;
        std::function<void()> act;
        const char *pane;
        QString selected;
    };
    QList<Leave> leaves()
    {
        return {{"a click on STOCK", [this] { clickNode(kStock); }, "frmDatabase", kStock},
                {"the band's Up", [this] { clickBand(QStringLiteral("Up1")); }, "frmDatabases", kDbs},
                {"Help > About",
                 [this] {
                     chooseFromMenuBar(main(), main().mnuHelp, QStringLiteral("&About ODBC Administrator"));
                     flush();
                 },
                 "frmAbout", kSales},
                {"the window's close", [this] { main().close(); }, nullptr, {}}};
    }
    // A fresh main window after one that closed.
    void reopen()
    {
        mdiMain::Unload();
        flush();
        main().show();
        main().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
    }
    // The message boxes shown since the last clear, as "text|style|title".
    QStringList questions() const
    {
        QStringList list;
        for (const ScriptedUi::Shown &shown : m_ui->shown())
            if (shown.kind == QLatin1String("MsgBox"))
                list << shown.text + QLatin1Char('|') + QString::number(shown.style) + QLatin1Char('|') + shown.title;
        return list;
    }
};

const QString kQuestion = QStringLiteral("Save changes to SALES - Edit Database Properties?|%1|%2")
                              .arg(ui::vbYesNoCancel + ui::vbQuestion)
                              .arg(appinfo::Title());

// Each answer for each way: Yes writes the changes and the editor goes, No
// gives them up and the editor goes, Cancel keeps the editor with its changes
// and the tree's selection on its node.
TEST_F(Leaving, EachAnswerForEachWayOut)
{
    int n = 0;
    QString stored = kRemarks;
    for (const Leave &leave : leaves()) {
        for (const int answer : {ui::vbYes, ui::vbNo, ui::vbCancel}) {
            SCOPED_TRACE(std::string(leave.name) + " answered " + std::to_string(answer));
            frmDatabase &e = editSales();
            type(e.txtRemarks, QStringLiteral(" %1").arg(++n));
            const QString typed = textOf(e.txtRemarks);
            ui().clear();
            ui().answerMsgBox(answer);
            leave.act();
            EXPECT_EQ(questions(), QStringList{kQuestion});
            EXPECT_TRUE(ui().errors().isEmpty());
            if (answer == ui::vbYes)
                stored = typed;
            EXPECT_EQ(remarksOf(QStringLiteral("SALES")), stored);
            if (answer == ui::vbCancel) {
                EXPECT_TRUE(main().isVisible());
                EXPECT_EQ(current(), QStringLiteral("frmDatabase"));
                EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("SALES - Edit Database Properties"));
                EXPECT_EQ(textOf(e.txtRemarks), typed);
                EXPECT_TRUE(e.cmdAction->isEnabled());
                EXPECT_EQ(selectedKey(), kSales);
                EXPECT_EQ(visibleBands(), QStringList({"tbrMain", "tbrDatabase"}));
                click(e.cmdCancel); // given up for the next case
                continue;
            }
            if (!leave.pane) {
                EXPECT_FALSE(main().isVisible());
                reopen();
                continue;
            }
            EXPECT_EQ(current(), QLatin1String(leave.pane));
            EXPECT_EQ(selectedKey(), leave.selected);
            if (leave.selected == kStock) {
                EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("STOCK - Edit Database Properties"));
            }
        }
    }
}

// Yes runs OK: a refusal of its checks (or of its write, ignored) keeps the
// editor, its changes and the tree's selection; nothing is written.
TEST_F(Leaving, ARefusedSaveKeepsTheEditor)
{
    frmDatabase &e = editSales();
    retype(e.txtDisplay, QStringLiteral("Other"));
    ui().answerMsgBox(ui::vbYes);
    ui().answerMsgBox(ui::vbOK);
    clickNode(kStock);
    EXPECT_EQ(takeMessages(),
              QStringList({QStringLiteral("Save changes to SALES - Edit Database Properties?"),
                           QStringLiteral("The Display Name (if used) MUST match the Database Name (exclusive of case).")}));
    EXPECT_EQ(current(), QStringLiteral("frmDatabase"));
    EXPECT_EQ(textOf(e.txtName), QStringLiteral("SALES"));
    EXPECT_EQ(textOf(e.txtDisplay), QStringLiteral("Other"));
    EXPECT_EQ(selectedKey(), kSales);

    // The write fails and Ignore gives it up: the editor stays as it was.
    retype(e.txtDisplay, QStringLiteral("sales"));
    dao::Faults::Add(dao::Faults::Statement, 1, QStringLiteral("HY000"), QStringLiteral("disk I/O error"));
    ui().answerMsgBox(ui::vbYes);
    ui().answerError(ui::vbIgnore);
    clickNode(kStock);
    EXPECT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(current(), QStringLiteral("frmDatabase"));
    EXPECT_EQ(e.EditorMode(), QStringLiteral("DB Edit"));
    EXPECT_EQ(textOf(e.txtDisplay), QStringLiteral("sales"));
    EXPECT_EQ(selectedKey(), kSales);
    EXPECT_EQ(scalar(QStringLiteral("SELECT DISPLAY_NAME FROM QN_DB WHERE DATABASE_NAME = 'SALES'")).toString(),
              QStringLiteral("Sales"));
}

// A new row: Yes adds it before the other pane shows; No shows the other pane
// with nothing added.
TEST_F(Leaving, ANewRowIsAddedOrGivenUp)
{
    options::Save(options::kItems, 1);
    openPath({kDsKey, kDbs});
    for (const int answer : {ui::vbYes, ui::vbNo}) {
        SCOPED_TRACE(answer);
        const QString name = answer == ui::vbYes ? QStringLiteral("ARCHIVE") : QStringLiteral("DRAFT");
        frmDatabase &e = addNew();
        type(e.txtName, name);
        type(e.cboDriver, QStringLiteral("v"));
        ui().clear();
        ui().answerMsgBox(answer);
        clickNode(kStock);
        EXPECT_EQ(takeMessages(), QStringList{QStringLiteral("Save changes to Add New Database to QnTest?")});
        EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_DB WHERE DATABASE_NAME = '%1'").arg(name)).toInt(),
                  answer == ui::vbYes ? 1 : 0);
        EXPECT_EQ(current(), QStringLiteral("frmDatabase"));
        EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("STOCK - Edit Database Properties"));
        EXPECT_EQ(selectedKey(), kStock);
    }
}

} // namespace
