// Text pasted, dropped or committed by an input method into an editor's boxes
// obeys the rules typing obeys: each kind of filtered box, what a save then
// writes, one change and one undo step.

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "editorfixture.h"
#include "editors/editorpane.h"
#include "editors/schema/frmtable.h"
#include "panehost/panehost.h"
#include "editors/security/frmuser.h"
#include "textentry.h"

namespace {

class PasteIntoEditors : public EditorTest
{
protected:
    static inline const QString kDs = QStringLiteral("QnTest");
    // Moving to another editor gives up what the case before left: the user answers No.
    void leaveCurrent()
    {
        if (auto *pane = qobject_cast<EditorPane *>(gCurrentPane().data()); pane && pane->ChangesPending())
            ui().answerMsgBox(ui::vbNo);
    }
    frmUser &user(const QString &name = QStringLiteral("JSMITH"))
    {
        leaveCurrent();
        main().PaneEdit(QStringLiteral("frmUser"), {kDs, name});
        return *forms::LoadedForm<frmUser>();
    }
    frmTable &table()
    {
        leaveCurrent();
        main().PaneEdit(QStringLiteral("frmTable"), {kDs, QStringLiteral("SALES"), QStringLiteral("CUSTOMER")});
        return *forms::LoadedForm<frmTable>();
    }
};

const QString kBlanks = QString(9, QLatin1Char(' ')); // a stored USER_PASSWORD (VARCHAR(10)) as shown

TEST_F(PasteIntoEditors, EachKindOfBoxGetsWhatTypingGives)
{
    const QString letters = QStringLiteral("abcdefghij");
    const QString longName = letters.repeated(4);                           // 40 into USER_NAME (32)
    const QString longRemarks = QStringLiteral("r").repeated(317);          // 317 into REMARKS (254)
    struct Case
    {
        const char *kind;
        std::function<QWidget *()> box;
        QString pasted;
        QString expected; // what typing gives; a null text: the paste is refused, the box unchanged
    };
    const auto name = [this]() -> QWidget * { return user().txtName; };
    const auto password = [this]() -> QWidget * { return user().txtPassword; };
    const auto remarks = [this]() -> QWidget * { return user().txtRemarks; };
    const auto number = [this]() -> QWidget * { return table().txtColumns; };
    const auto display = [this]() -> QWidget * { return table().txtDisplay; };
    const QList<Case> cases = {
        {"name", name, "o'neil", "ONEIL"},
        {"name", name, "a b", "A_B"},
        {"name", name, "x/y", "XY"},
        {"name", name, "stock", "STOCK"},
        {"name", name, longName, longName.left(32).toUpper()},
        {"name", name, "ab\r\ncd", "AB_CD"},
        {"display name", display, "o'neil", "oneil"},
        {"display name", display, "a b", "a_b"},
        {"display name", display, "x/y", "xy"},
        {"display name", display, "Stock", "Stock"},
        {"display name", display, longName, longName.left(32)},
        {"display name", display, "ab\ncd", "ab_cd"},
        {"number", number, "1'2", {}},
        {"number", number, "1 2", {}},
        {"number", number, "1/2", {}},
        {"number", number, "3.5", {}},
        {"number", number, "12", "12"},
        {"number", number, "1234567", {}},
        {"number", number, "12\r\n", {}},
        {"password", password, "o'neil", {}},
        {"password", password, "a b", {}},
        {"password", password, "x/y", {}},
        {"password", password, "stock", "STOCK"},
        {"password", password, "abcdefghijk", {}},
        {"password", password, "ab\r\ncd", {}},
        {"remarks", remarks, "o'neil", "o'neil"},
        {"remarks", remarks, "a b", "a b"},
        {"remarks", remarks, "x/y", "x/y"},
        {"remarks", remarks, "stock", "stock"},
        {"remarks", remarks, longRemarks, longRemarks.left(254)},
        {"remarks", remarks, "ab\r\ncd", "ab\ncd"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.kind << " <- '" << c.pasted.left(20).toStdString() << "'");
        QWidget *box = c.box();
        const QString before = textOf(box);
        paste(box, c.pasted);
        EXPECT_EQ(textOf(box), c.expected.isNull() ? before : c.expected);
        // In a name box, where characters go in one by one, typing them (a break as a blank) gives the same.
        if (QLatin1String(c.kind).endsWith(QLatin1String("name"))) {
            QString typed = c.pasted;
            retype(box, typed.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(QLatin1Char('\n'), QLatin1Char(' ')));
            EXPECT_EQ(textOf(box), c.expected) << "typed";
        }
    }
    EXPECT_TRUE(ui().errors().isEmpty());
}

// A pasted name, password and remarks are saved as typing would have given
// them: no name the engine forbids, no break in a name, nothing over the size.
TEST_F(PasteIntoEditors, WhatWasPastedIsWhatIsSaved)
{
    main().PaneAddNew(QStringLiteral("frmUser"), {kDs});
    frmUser &e = *forms::LoadedForm<frmUser>();
    textentry::Paste(e.txtName, QStringLiteral("o'neil\r\nsmith"));
    textentry::Paste(e.txtPassword, QStringLiteral("secret"));
    textentry::Paste(e.txtConfirm, QStringLiteral("secret"));
    textentry::Paste(e.txtRemarks, QStringLiteral("first line\r\nsecond line"));
    clickBand(QStringLiteral("frmUser"), QStringLiteral("OK"));
    EXPECT_EQ(rows(QStringLiteral("SELECT USER_NAME, USER_PASSWORD, REMARKS FROM QN_USER WHERE USER_NAME LIKE 'O%'")),
              QStringList{QStringLiteral("ONEIL_SMITH|SECRET|first line\nsecond line")});
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_USER WHERE USER_NAME LIKE '%''%'")).toInt(), 0);
    EXPECT_TRUE(ui().errors().isEmpty());
}

// A drop and an input method's commit pass the same rules as a paste.
TEST_F(PasteIntoEditors, ADropAndAnInputMethodObeyTheRules)
{
    frmUser &e = user();
    e.txtName->clear();
    EXPECT_TRUE(textentry::Drop(e.txtName, QStringLiteral("o'neil x/y")));
    EXPECT_EQ(textOf(e.txtName), QStringLiteral("ONEIL_XY"));
    e.txtRemarks->clear();
    EXPECT_TRUE(textentry::Drop(e.txtRemarks, QStringLiteral("r").repeated(300)));
    EXPECT_EQ(textOf(e.txtRemarks), QStringLiteral("r").repeated(254));
    // A password with a refused character is not dropped at all.
    EXPECT_FALSE(textentry::Drop(e.txtPassword, QStringLiteral("pass word")));
    EXPECT_EQ(textOf(e.txtPassword), kBlanks);

    e.txtName->clear();
    textentry::Commit(e.txtName, QStringLiteral("stock take"));
    EXPECT_EQ(textOf(e.txtName), QStringLiteral("STOCK_TAKE"));
    e.txtPassword->selectAll();
    textentry::Commit(e.txtPassword, QStringLiteral("a;b"));
    EXPECT_EQ(textOf(e.txtPassword), kBlanks);
    textentry::Commit(e.txtPassword, QStringLiteral("ab"));
    EXPECT_EQ(textOf(e.txtPassword), QStringLiteral("AB"));
    frmTable &t = table();
    t.txtColumns->selectAll();
    textentry::Commit(t.txtColumns, QStringLiteral("3.5"));
    EXPECT_EQ(textOf(t.txtColumns), QStringLiteral("9"));
    EXPECT_TRUE(ui().errors().isEmpty());
}

// A paste cut to the column's size changes the box once (the editor's change
// handler runs once, with the cut text); Ctrl+Z gives the text back.
TEST_F(PasteIntoEditors, ACutPasteIsOneChangeAndUndoes)
{
    frmUser &e = user();
    QStringList changes;
    QObject::connect(e.txtName, &QLineEdit::textChanged, &e, [&](const QString &text) { changes << text; });
    QObject::connect(e.txtRemarks, &QPlainTextEdit::textChanged, &e, [&] { changes << textOf(e.txtRemarks); });
    EXPECT_FALSE(e.cmdAction->isEnabled());
    paste(e.txtName, QStringLiteral("n").repeated(40));
    EXPECT_EQ(changes, QStringList{QStringLiteral("N").repeated(32)});
    EXPECT_TRUE(e.cmdAction->isEnabled());
    EXPECT_TRUE(button(QStringLiteral("frmUser"), QStringLiteral("Undo"))->isEnabled());
    QTest::keyClick(e.txtName, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(textOf(e.txtName), QStringLiteral("JSMITH"));

    changes.clear();
    e.txtRemarks->moveCursor(QTextCursor::End);
    textentry::Paste(e.txtRemarks, QStringLiteral(": ") + QStringLiteral("r").repeated(300));
    EXPECT_EQ(changes, QStringList{(QStringLiteral("Sales office: ") + QStringLiteral("r").repeated(300)).left(254)});
    QTest::keyClick(e.txtRemarks, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(textOf(e.txtRemarks), QStringLiteral("Sales office"));
}

// An editable combo takes entered text as it takes typed keys: each character
// completes from its list, one that no item continues is left out. Whichever
// way the text comes (Ctrl+V at the end of the text or over all of it, a
// drop, an input method), the combo then shows what typing the same
// characters there shows, and a save writes the completed item.
TEST_F(PasteIntoEditors, AnEditableComboGetsWhatTypingGives)
{
    enum How { AtTheEnd, OverAll, DroppedIntoEmpty, CommittedOverAll };
    const struct Case
    {
        How how;
        QString entered;
        QString expected;
    } cases[] = {
        {AtTheEnd, "x", "CUSTOMER"},         {AtTheEnd, "ord", "CUSTOMER"},
        {OverAll, "ord", "ORDERS"},          {OverAll, "ordl", "ORDLINE"},
        {OverAll, "z'z", "CUSTOMER"},        {DroppedIntoEmpty, "pro", "PRODUCT"},
        {DroppedIntoEmpty, "x y", ""},       {CommittedOverAll, "mov", "MOVEMENT"},
    };
    // The file combo of SALES.CUSTOMER's editor, its text at the end, all selected, or emptied.
    const auto start = [this](const Case &c) {
        QComboBox *box = table().cboFile;
        EXPECT_EQ(textOf(box), QStringLiteral("CUSTOMER"));
        box->setFocus();
        switch (c.how) {
        case AtTheEnd: box->lineEdit()->end(false); break;
        case OverAll:
        case CommittedOverAll: box->lineEdit()->selectAll(); break;
        case DroppedIntoEmpty: box->lineEdit()->clear(); break;
        }
        return box;
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "'" << c.entered.toStdString() << "' (" << c.how << ")");
        QComboBox *box = start(c);
        switch (c.how) {
        case AtTheEnd:
        case OverAll: textentry::Paste(box, c.entered); break;
        case DroppedIntoEmpty: textentry::Drop(box->lineEdit(), c.entered); break;
        case CommittedOverAll: textentry::Commit(box, c.entered); break;
        }
        EXPECT_EQ(textOf(box), c.expected);
        box = start(c);
        QTest::keyClicks(box, c.entered);
        EXPECT_EQ(textOf(box), c.expected) << "typed";
    }
    EXPECT_TRUE(ui().errors().isEmpty());
}

// A paste that completes nothing leaves nothing to save; one that completes
// an item saves the item.
TEST_F(PasteIntoEditors, WhatWasPastedIntoAComboIsSaved)
{
    const QString file = QStringLiteral("SELECT FILE_NAME FROM QN_TABLE WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = "
                                        "'CUSTOMER'");
    frmTable &t = table();
    t.cboFile->setFocus();
    t.cboFile->lineEdit()->end(false);
    textentry::Paste(t.cboFile, QStringLiteral("orders"));
    EXPECT_EQ(textOf(t.cboFile), QStringLiteral("CUSTOMER"));
    EXPECT_FALSE(t.ChangesPending());
    t.cboFile->lineEdit()->selectAll();
    textentry::Paste(t.cboFile, QStringLiteral("orders"));
    EXPECT_EQ(textOf(t.txtFile), QStringLiteral("ORDERS"));
    clickBand(QStringLiteral("frmTable"), QStringLiteral("OK"));
    EXPECT_EQ(scalar(file).toString(), QStringLiteral("ORDERS"));
    EXPECT_TRUE(ui().errors().isEmpty());
    EXPECT_TRUE(ui().messages().isEmpty());
}

} // namespace
