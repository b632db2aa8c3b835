#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <gtest/gtest.h>

#include "core/boundcontrols.h"
#include "core/controls.h"
#include "core/frmqnerr.h"
#include "standinfixture.h"

namespace {

// An editor's form with its three bound arrays, built in this order.
struct EditorForm
{
    QWidget form;
    QList<QLineEdit *> txt;
    QList<QComboBox *> cbo;
    QList<QCheckBox *> chk;

    template <class W>
    W *element(const QString &array, int index, const QString &tag, QWidget *parent = nullptr)
    {
        auto *w = new W(parent ? parent : &form);
        w->setObjectName(QStringLiteral("%1_%2").arg(array).arg(index));
        w->setProperty("Tag", tag);
        return w;
    }

    EditorForm()
    {
        // The form's control order is the order of the widget tree; elements may sit in a container.
        txt << element<QLineEdit>("txtProperty", 0, "DATABASE_NAME") << element<QLineEdit>("txtProperty", 1, "REMARKS");
        auto *frame = new QWidget(&form);
        txt << element<QLineEdit>("txtProperty", 7, "", frame) << element<QLineEdit>("txtProperty", 2, "DRIVER_NAME", frame)
            << element<QLineEdit>("txtProperty", 3, "DEFAULT_DIRECTORY");
        cbo << element<QComboBox>("cboDropdown", 0, "DRIVER_NAME") << element<QComboBox>("cboDropdown", 1, "");
        chk << element<QCheckBox>("chkProperty", 0, "SYSTEM") << element<QCheckBox>("chkProperty", 1, "");
        auto *other = new QLineEdit(&form); // not an element of the array
        other->setObjectName(QStringLiteral("txtPropertyX"));
        other->setText(QStringLiteral("untouched"));
        for (QComboBox *c : cbo)
            c->addItems({QStringLiteral("DISAM"), QStringLiteral("SYSTEM"), QStringLiteral("VAX-RMS")});
    }
    QLineEdit *other() { return form.findChild<QLineEdit *>(QStringLiteral("txtPropertyX")); }
};

class BoundControlsTest : public StandinTest
{
protected:
    void TearDown() override
    {
        EXPECT_TRUE(frmQNErr::Trace().isEmpty());
        StandinTest::TearDown();
    }
};

TEST_F(BoundControlsTest, BindControlsKeysElementsByTagOrNameAndIndex)
{
    EditorForm f;
    CCtrls ctrls;
    ctrls.BindControls(&f.form, f.txt[2]);
    ASSERT_EQ(ctrls.Count(), 5);
    QStringList keys;
    for (const auto &entry : ctrls.NewEnum())
        keys << entry->Key;
    EXPECT_EQ(keys, (QStringList{"DATABASE_NAME", "REMARKS", "txtProperty(7)", "DRIVER_NAME", "DEFAULT_DIRECTORY"}));
    EXPECT_EQ(ctrls.Item(QStringLiteral("database_name")), f.txt[0]);
    EXPECT_EQ(ctrls(QStringLiteral("Remarks")), f.txt[1]);
    EXPECT_EQ(ctrls.Item(QStringLiteral("txtProperty(7)")), f.txt[2]);
    EXPECT_EQ(ctrls.Item(4), f.txt[3]);
    for (const auto &c : {std::make_pair(QStringLiteral("FILE_NAME"), 5), std::make_pair(QStringLiteral(""), 5)}) {
        try {
            ctrls.Item(c.first);
            ADD_FAILURE() << "found " << c.first.toStdString();
        } catch (const QnError &e) {
            EXPECT_EQ(e.Number(), c.second);
        }
    }
    EXPECT_THROW(ctrls.Item(6), QnError);

    // Clear false adds after the present entries; true starts again.
    ctrls.BindControls(&f.form, f.chk[0], false);
    EXPECT_EQ(ctrls.Count(), 7);
    EXPECT_EQ(ctrls.Item(QStringLiteral("chkProperty(1)")), f.chk[1]);
    ctrls.BindControls(&f.form, f.cbo[1]);
    EXPECT_EQ(ctrls.Count(), 2);
    EXPECT_EQ(ctrls.Item(QStringLiteral("DRIVER_NAME")), f.cbo[0]);

    // A repeated tag fails on the second element; those bound before stay.
    f.txt[3]->setProperty("Tag", QStringLiteral("remarks"));
    try {
        ctrls.BindControls(&f.form, f.txt[0]);
        ADD_FAILURE() << "no failure";
    } catch (const QnError &e) {
        EXPECT_EQ(e.Number(), qnerr::KeyAlreadyAssociated);
    }
    EXPECT_EQ(ctrls.Count(), 3);
    EXPECT_THROW(ctrls.Add(QStringLiteral("DATABASE_NAME"), f.txt[4]), QnError);
    ctrls.Remove(QStringLiteral("Database_Name"));
    EXPECT_EQ(ctrls.Count(), 2);

    // A form or control that is not there fails to the caller instead of crashing.
    for (const auto &[form, control] : {std::pair<QWidget *, QWidget *>{nullptr, f.txt[0]}, {&f.form, nullptr}}) {
        try {
            ctrls.BindControls(form, control);
            ADD_FAILURE() << "no failure";
        } catch (const QnError &e) {
            EXPECT_EQ(e.Number(), qnerr::ObjectNotSet);
        }
    }
}

TEST_F(BoundControlsTest, PopulateListFillsFromTheFirstColumn)
{
    auto db = open();
    QComboBox combo;
    QListWidget list;
    struct Case
    {
        const char *sql;
        QStringList expected;
    } cases[] = {
        {"SELECT DATABASE_NAME, REMARKS FROM QN_DB ORDER BY DATABASE_NAME", {"QN", "SALES", "STOCK"}},
        {"SELECT DEFAULT_DIRECTORY FROM QN_DB ORDER BY DATABASE_NAME", {"", "SALES_DATA:", "STOCK_DATA:"}},
        {"SELECT RECORD_SIZE FROM QN_FILE WHERE FILE_NAME = 'DB'", {}},
        {"SELECT DATABASE_NAME FROM QN_DB WHERE DATABASE_NAME = 'NONE'", {}},
    };
    cases[2].expected = rows(QString::fromLatin1(cases[2].sql));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.sql);
        combo.clear();
        combo.addItem(QStringLiteral("stale"));
        list.clear();
        list.addItem(QStringLiteral("stale"));
        EXPECT_EQ(modBoundControls::PopulateList(&combo, *db, QString::fromLatin1(c.sql)), c.expected.size());
        EXPECT_EQ(modBoundControls::PopulateList(&list, *db, QString::fromLatin1(c.sql)), c.expected.size());
        QStringList inCombo, inList;
        for (int i = 0; i < combo.count(); ++i)
            inCombo << combo.itemText(i);
        for (int i = 0; i < list.count(); ++i)
            inList << list.item(i)->text();
        EXPECT_EQ(inCombo, c.expected);
        EXPECT_EQ(inList, c.expected);
        // As an item added to a list never is, no item is chosen.
        EXPECT_EQ(combo.currentIndex(), -1);
        EXPECT_EQ(combo.currentText(), QString());
    }
    // An editable combo's text is emptied too.
    combo.setEditable(true);
    combo.setEditText(QStringLiteral("typed"));
    modBoundControls::PopulateList(&combo, *db, QString::fromLatin1(cases[0].sql));
    EXPECT_EQ(combo.currentIndex(), -1);
    EXPECT_EQ(combo.currentText(), QString());
    EXPECT_TRUE(ui().errors().isEmpty());
}

TEST_F(BoundControlsTest, PopulateListReportsAFailureAndReturnsZeroOnIgnore)
{
    auto db = open();
    QComboBox combo;
    QLabel label;
    struct Case
    {
        QWidget *ctl;
        const char *sql;
        const char *number;
    } cases[] = {
        {&combo, "SELECT NOTHING FROM QN_NOWHERE", "ODBC Error"},
        {&label, "SELECT DATABASE_NAME FROM QN_DB", "438"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.sql);
        ui().clear();
        ui().answerError(ui::vbIgnore);
        frmQNErr::Push(QStringLiteral("frmDatabase.Display"));
        EXPECT_EQ(modBoundControls::PopulateList(c.ctl, *db, QString::fromLatin1(c.sql)), 0);
        ASSERT_EQ(ui().errors().size(), 1);
        EXPECT_EQ(ui().errors()[0].number, QString::fromLatin1(c.number));
        EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("modBoundControls_PopulateList"));
        EXPECT_EQ(ui().errors()[0].callStack, (QStringList{"modBoundControls_PopulateList", "frmDatabase.Display"}));
        EXPECT_EQ(frmQNErr::Trace(), QStringList{"frmDatabase.Display"});
        frmQNErr::Pop();
    }
    // Retry runs the failing step again.
    ui().answerError(ui::vbRetry);
    ui().answerError(ui::vbIgnore);
    EXPECT_EQ(modBoundControls::PopulateList(&combo, *db, QStringLiteral("SELECT X FROM QN_NOWHERE")), 0);
    EXPECT_EQ(ui().errors().size(), 3);
}

TEST_F(BoundControlsTest, PopulateFieldsShowsTheRowInTheTaggedElements)
{
    auto db = open();
    EditorForm f;
    for (QLineEdit *t : f.txt)
        t->setText(QStringLiteral("old"));
    auto rs = db->OpenRecordset(QStringLiteral("SELECT * FROM QN_DB WHERE DATABASE_NAME = 'QN'"));
    modBoundControls::PopulateFields(&f.form, f.txt[1], *rs);
    EXPECT_EQ(f.txt[0]->text(), QStringLiteral("QN"));
    EXPECT_EQ(f.txt[1]->text(), QStringLiteral("Catalog database"));
    EXPECT_EQ(f.txt[2]->text(), QStringLiteral("old")) << "no tag";
    EXPECT_EQ(f.txt[3]->text(), QStringLiteral("SYSTEM"));
    EXPECT_EQ(f.txt[4]->text(), QString()) << "Null";
    EXPECT_EQ(f.other()->text(), QStringLiteral("untouched"));

    // A number shows in its text form.
    auto file = db->OpenRecordset(QStringLiteral("SELECT FILE_NAME AS DATABASE_NAME, RECORD_SIZE AS REMARKS, "
                                                 "OPEN_STRING AS DRIVER_NAME, REMARKS AS DEFAULT_DIRECTORY "
                                                 "FROM QN_FILE WHERE FILE_NAME = 'DB'"));
    modBoundControls::PopulateFields(&f.form, f.txt[0], *file);
    EXPECT_EQ(f.txt[1]->text(), scalar(QStringLiteral("SELECT RECORD_SIZE FROM QN_FILE WHERE FILE_NAME = 'DB'")).toString());
    EXPECT_FALSE(f.txt[1]->text().isEmpty());

    // A tag the row lacks: reported, the elements before stay filled.
    auto narrow = db->OpenRecordset(QStringLiteral("SELECT DATABASE_NAME, REMARKS FROM QN_DB WHERE DATABASE_NAME = 'SALES'"));
    ui().answerError(ui::vbIgnore);
    modBoundControls::PopulateFields(&f.form, f.txt[0], *narrow);
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("modBoundControls.PopulateFields"));
    EXPECT_EQ(f.txt[0]->text(), QStringLiteral("SALES"));
    EXPECT_EQ(f.txt[1]->text(), QStringLiteral("Customers and orders"));

    // No current row.
    auto none = db->OpenRecordset(QStringLiteral("SELECT * FROM QN_DB WHERE DATABASE_NAME = 'NONE'"));
    ui().answerError(ui::vbIgnore);
    modBoundControls::PopulateFields(&f.form, f.txt[0], *none);
    ASSERT_EQ(ui().errors().size(), 2);
    EXPECT_EQ(ui().errors()[1].number, QStringLiteral("3021"));
}

TEST_F(BoundControlsTest, EnableAndSetControlsActOnEveryElementOfTheArray)
{
    EditorForm f;
    modBoundControls::EnableControls(&f.form, f.txt[4], false);
    for (QLineEdit *t : f.txt)
        EXPECT_FALSE(t->isEnabled()) << t->objectName().toStdString();
    EXPECT_TRUE(f.other()->isEnabled());
    EXPECT_TRUE(f.cbo[0]->isEnabled());
    modBoundControls::EnableControls(&f.form, f.txt[0], true);
    for (QLineEdit *t : f.txt)
        EXPECT_TRUE(t->isEnabled());

    for (QLineEdit *t : f.txt)
        t->setText(QStringLiteral("x"));
    modBoundControls::SetControls(&f.form, f.txt[0], QString());
    for (QLineEdit *t : f.txt)
        EXPECT_EQ(t->text(), QString());
    EXPECT_EQ(f.other()->text(), QStringLiteral("untouched"));

    modBoundControls::SetControls(&f.form, f.cbo[0], 2);
    for (QComboBox *c : f.cbo)
        EXPECT_EQ(c->currentText(), QStringLiteral("VAX-RMS"));
    modBoundControls::SetControls(&f.form, f.cbo[1], -1);
    for (QComboBox *c : f.cbo)
        EXPECT_EQ(c->currentIndex(), -1);

    modBoundControls::SetControls(&f.form, f.chk[0], 1);
    for (QCheckBox *c : f.chk)
        EXPECT_EQ(c->checkState(), Qt::Checked);
    modBoundControls::SetControls(&f.form, f.chk[0], 2);
    for (QCheckBox *c : f.chk) {
        EXPECT_EQ(c->checkState(), Qt::PartiallyChecked);
        EXPECT_EQ(controls::Text(c), QStringLiteral("2")) << "the value reads back as set";
    }
    modBoundControls::SetControls(&f.form, f.chk[0], 0);
    for (QCheckBox *c : f.chk) {
        EXPECT_EQ(c->checkState(), Qt::Unchecked);
        EXPECT_EQ(controls::Text(c), QStringLiteral("0"));
    }

    // A list index the combo refuses is reported; the answer Ignore leaves the rest as it was.
    ui().answerError(ui::vbIgnore);
    modBoundControls::SetControls(&f.form, f.cbo[0], 3);
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(ui().errors()[0].number, QStringLiteral("380"));
    EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("modBoundControls.SetControls"));
    for (QComboBox *c : f.cbo)
        EXPECT_EQ(c->currentIndex(), -1);
}

} // namespace
