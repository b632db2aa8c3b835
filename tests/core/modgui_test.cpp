#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include "appinfo.h"
#include "core/frmqnerr.h"
#include "core/modapimisc.h"
#include "core/modgui.h"
#include "dao.h"
#include "textentry.h"
#include "uitest.h"

namespace {

// A column as FetchFieldInfo reports it.
dao::Field field(const QString &name, int type, long size)
{
    auto data = std::make_shared<dao::detail::RecordsetData>();
    data->fields.push_back({name, type, size});
    return dao::Field(data, 0);
}

class ModGuiTest : public UiTest
{
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        QSettings::setDefaultFormat(QSettings::IniFormat);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.filePath(QStringLiteral("settings")));
    }
    void TearDown() override
    {
        modGUI::SetDebugMode(false);
        modGUI::SetMainClientArea(nullptr);
        UiTest::TearDown();
    }
    QTemporaryDir dir;
};

TEST_F(ModGuiTest, FilterKeyAcceptsTheSetAndBackspace)
{
    struct Case
    {
        int key;
        const char *allowed;
        bool ignoreCase;
        int expected;
    } cases[] = {
        {'1', "01", false, '1'}, {'2', "01", false, 0},   {8, "01", false, 8},   {'a', "ABC", false, 0},
        {'a', "ABC", true, 'a'}, {'B', "abc", true, 'B'}, {'b', "abc", false, 'b'}, {' ', "", false, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(modGUI::FilterKey(c.key, QString::fromLatin1(c.allowed), c.ignoreCase), c.expected)
            << char(c.key) << " in " << c.allowed;
}

TEST_F(ModGuiTest, ControlKeyPressByColumnTypeNameAndLength)
{
    struct Case
    {
        const char *column;
        int type;
        long size;
        const char *tag; // the control's Tag
        const char *text;
        int selStart, selLength;
        int key;
        int expected; // 0: refused with a beep
    } cases[] = {
        // Names: upper case, blanks become "_", only the name set.
        {"TABLE_NAME", dao::dbText, 32, "TABLE_NAME", "", 0, 0, 'a', 'A'},
        {"TABLE_NAME", dao::dbText, 32, "TABLE_NAME", "", 0, 0, ' ', '_'},
        {"TABLE_NAME", dao::dbText, 32, "TABLE_NAME", "", 0, 0, '-', '-'},
        {"TABLE_NAME", dao::dbText, 32, "TABLE_NAME", "", 0, 0, '_', '_'},
        {"TABLE_NAME", dao::dbText, 32, "TABLE_NAME", "", 0, 0, '7', '7'},
        {"TABLE_NAME", dao::dbText, 32, "TABLE_NAME", "", 0, 0, '.', 0},
        {"TABLE_NAME", dao::dbText, 32, "TABLE_NAME", "", 0, 0, '/', 0},
        {"TABLE_NAME", dao::dbText, 32, "TABLE_NAME", "", 0, 0, 0xE9, 0},
        {"table_name", dao::dbChar, 32, "TABLE_NAME", "", 0, 0, 'q', 'Q'},
        {"FILE_NAME", dao::dbDate, 32, "FILE_NAME", "", 0, 0, 'q', 'Q'},
        // Display names keep the letter's case.
        {"DISPLAY_NAME", dao::dbText, 10, "DISPLAY_NAME", "", 0, 0, 'a', 'a'},
        {"DISPLAY_NAME", dao::dbText, 10, "DISPLAY_NAME", "", 0, 0, 'A', 'A'},
        {"DISPLAY_NAME", dao::dbText, 10, "DISPLAY_NAME", "", 0, 0, ' ', '_'},
        {"DISPLAY_NAME", dao::dbText, 10, "DISPLAY_NAME", "", 0, 0, '$', 0},
        // Passwords: upper case, no blank.
        {"USER_PASSWORD", dao::dbText, 10, "USER_PASSWORD", "", 0, 0, 'a', 'A'},
        {"USER_PASSWORD", dao::dbText, 10, "USER_PASSWORD", "", 0, 0, ' ', 0},
        {"DATABASE_PASSWORD", dao::dbText, 10, "DATABASE_PASSWORD", "", 0, 0, 'z', 'Z'},
        // Free text.
        {"REMARKS", dao::dbText, 254, "REMARKS", "", 0, 0, '=', '='},
        {"REMARKS", dao::dbText, 254, "REMARKS", "", 0, 0, 'a', 'a'},
        {"CONNECT_STRING", dao::dbText, 254, "CONNECT_STRING", "", 0, 0, ';', ';'},
        {"DEFAULT_VALUE", dao::dbText, 20, "DEFAULT_VALUE", "", 0, 0, ' ', ' '},
        {"FILE_SPECIFICATION", dao::dbText, 64, "FILE_SPECIFICATION", "", 0, 0, '[', '['},
        {"DEFAULT_DIRECTORY", dao::dbText, 64, "DEFAULT_DIRECTORY", "", 0, 0, ':', ':'},
        // The DATABASE_NAME tag turns "-" into "." (then refused); the field's name does not.
        {"DATABASE_NAME", dao::dbText, 10, "DATABASE_NAME", "", 0, 0, '-', 0},
        {"DATABASE_NAME", dao::dbText, 10, "DATABASE_NAME", "", 0, 0, '_', '_'},
        {"DATABASE_NAME", dao::dbText, 10, "", "", 0, 0, '-', '-'},
        {"REMARKS", dao::dbText, 254, "DATABASE_NAME", "", 0, 0, '-', '.'},
        // Numbers.
        {"FLAG", dao::dbBoolean, 1, "FLAG", "", 0, 0, '0', '0'},
        {"FLAG", dao::dbBoolean, 1, "FLAG", "", 0, 0, '1', '1'},
        {"FLAG", dao::dbBoolean, 1, "FLAG", "", 0, 0, '2', 0},
        {"B", dao::dbByte, 1, "B", "", 0, 0, '9', '9'},
        {"B", dao::dbByte, 1, "B", "", 0, 0, '-', 0},
        {"N", dao::dbInteger, 2, "N", "", 0, 0, '-', '-'},
        {"N", dao::dbInteger, 2, "N", "1", 1, 0, '-', 0},
        {"N", dao::dbInteger, 2, "N", "1", 0, 1, '-', '-'},
        {"N", dao::dbInteger, 2, "N", "", 0, 0, 'a', 0},
        {"N", dao::dbInteger, 2, "N", "", 0, 0, '.', 0},
        {"N", dao::dbBigInt, 8, "N", "", 0, 0, '-', '-'},
        {"D", dao::dbDouble, 8, "D", "", 0, 0, '1', '1'},
        {"D", dao::dbDouble, 8, "D", "1", 1, 0, '.', '.'},
        {"D", dao::dbDouble, 8, "D", "1.", 2, 0, '5', '5'},
        {"D", dao::dbDouble, 8, "D", "1.5", 3, 0, '.', 0},
        {"D", dao::dbDouble, 8, "D", "1.5", 0, 3, '.', 0}, // a "." anywhere in the text
        {"D", dao::dbDouble, 8, "D", "15", 2, 0, '-', 0},
        {"D", dao::dbDouble, 8, "D", "15", 0, 0, '-', '-'},
        {"L", dao::dbLong, 4, "L", "", 0, 0, 'e', 0},
        {"C", dao::dbCurrency, 8, "C", "", 0, 0, '.', '.'},
        {"S", dao::dbSingle, 4, "S", "", 0, 0, '.', '.'},
        {"M", dao::dbDecimal, 8, "M", "", 0, 0, '.', '.'},
        {"F", dao::dbFloat, 8, "F", "", 0, 0, 'x', 0},
        // No character rule.
        {"NOTES", dao::dbMemo, 0, "NOTES", "", 0, 0, '$', '$'},
        {"NUMERIC", dao::dbNumeric, 8, "NUMERIC", "", 0, 0, 'x', 'x'},
        // The length cut: at the column's size nothing more goes in, unless it replaces a selection.
        {"TABLE_NAME", dao::dbText, 5, "TABLE_NAME", "ABCDE", 5, 0, 'F', 0},
        {"TABLE_NAME", dao::dbText, 5, "TABLE_NAME", "ABCDE", 0, 0, 'F', 0},
        {"TABLE_NAME", dao::dbText, 5, "TABLE_NAME", "ABCDE", 0, 1, 'f', 'F'},
        {"TABLE_NAME", dao::dbText, 5, "TABLE_NAME", "ABCDE", 5, 0, 8, 8},
        {"TABLE_NAME", dao::dbText, 5, "TABLE_NAME", "ABCD", 4, 0, 'e', 'E'},
        {"REMARKS", dao::dbChar, 3, "REMARKS", "abc", 3, 0, '=', 0},
        {"NOTES", dao::dbMemo, 3, "NOTES", "abc", 3, 0, 'x', 0},
        {"FLAG", dao::dbBoolean, 1, "FLAG", "1", 1, 0, '0', 0},
        {"N", dao::dbInteger, 2, "N", "-12345", 6, 0, '6', 0},
        {"N", dao::dbInteger, 2, "N", "-1234", 5, 0, '5', '5'},
        {"L", dao::dbLong, 4, "L", "123456789", 9, 0, '0', 0},
        // A line break, which only a paste brings into a box of several lines, takes a place of the length.
        {"REMARKS", dao::dbText, 3, "REMARKS", "ab", 2, 0, '\n', '\n'},
        {"REMARKS", dao::dbText, 3, "REMARKS", "abc", 3, 0, '\n', 0},
        {"TABLE_NAME", dao::dbText, 32, "TABLE_NAME", "", 0, 0, '\n', '\n'},
        // Other keys below 32 always pass, without a beep.
        {"TABLE_NAME", dao::dbText, 32, "TABLE_NAME", "", 0, 0, 8, 8},
        {"N", dao::dbInteger, 2, "N", "", 0, 0, 13, 13},
        {"N", dao::dbInteger, 2, "N", "", 0, 0, 27, 27},
    };
    QLineEdit box;
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.column << " type " << c.type << " text '" << c.text << "' key "
                                        << c.key);
        box.setProperty("Tag", QString::fromLatin1(c.tag));
        box.setText(QString::fromLatin1(c.text));
        if (c.selLength)
            box.setSelection(c.selStart, c.selLength);
        else
            box.setCursorPosition(c.selStart);
        const int beeps = ui.beeps();
        EXPECT_EQ(modGUI::ControlKeyPress(&box, c.key, field(QString::fromLatin1(c.column), c.type, c.size)),
                  c.expected);
        EXPECT_EQ(ui.beeps() - beeps, c.expected == 0 ? 1 : 0);
    }
    EXPECT_TRUE(frmQNErr::Trace().isEmpty());
}

TEST_F(ModGuiTest, ControlKeyPressReportsAFailureUnderItsName)
{
    ui.answerError(ui::vbIgnore);
    QLabel label; // no text selection to read
    EXPECT_EQ(modGUI::ControlKeyPress(&label, 'a', field(QStringLiteral("TABLE_NAME"), dao::dbText, 10)), 'a');
    ASSERT_EQ(ui.errors().size(), 1);
    EXPECT_EQ(ui.errors()[0].trappedIn, QStringLiteral("modGUI.ControlKeyPress"));
    EXPECT_EQ(ui.errors()[0].callStack, QStringList{"modGUI.ControlKeyPress"});
    EXPECT_TRUE(frmQNErr::Trace().isEmpty());
}

TEST_F(ModGuiTest, TheInstalledFilterTypesTheChangedKeysOnly)
{
    struct Case
    {
        const char *column;
        int type;
        long size;
        const char *typed;
        const char *expected;
        int beeps;
    } cases[] = {
        {"TABLE_NAME", dao::dbText, 32, "ord er.s-1", "ORD_ERS-1", 1},
        {"DISPLAY_NAME", dao::dbText, 10, "My Db", "My_Db", 0},
        {"TABLE_NAME", dao::dbText, 4, "abcdef", "ABCD", 2},
        {"RECORD_SIZE", dao::dbInteger, 2, "1-2a3", "123", 2},
        {"REMARKS", dao::dbText, 254, "a=b; c", "a=b; c", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.column);
        for (bool multiLine : {false, true}) {
            std::unique_ptr<QWidget> box;
            if (multiLine)
                box = std::make_unique<QPlainTextEdit>();
            else
                box = std::make_unique<QLineEdit>();
            box->setProperty("Tag", QString::fromLatin1(c.column));
            modGUI::InstallKeyFilter(box.get(), field(QString::fromLatin1(c.column), c.type, c.size));
            const int beeps = ui.beeps();
            QTest::keyClicks(box.get(), QString::fromLatin1(c.typed));
            const QString text = multiLine ? static_cast<QPlainTextEdit *>(box.get())->toPlainText()
                                           : static_cast<QLineEdit *>(box.get())->text();
            EXPECT_EQ(text, QString::fromLatin1(c.expected)) << "multi-line " << multiLine;
            EXPECT_EQ(ui.beeps() - beeps, c.beeps);
        }
    }

    // Editing keys keep working: Backspace, Delete and the arrows are not filtered.
    QLineEdit box;
    box.setProperty("Tag", QStringLiteral("TABLE_NAME"));
    modGUI::InstallKeyFilter(&box, field(QStringLiteral("TABLE_NAME"), dao::dbText, 3));
    QTest::keyClicks(&box, QStringLiteral("abc"));
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClick(&box, Qt::Key_Home);
    QTest::keyClick(&box, Qt::Key_Delete);
    QTest::keyClick(&box, Qt::Key_End);
    QTest::keyClicks(&box, QStringLiteral("x"));
    EXPECT_EQ(box.text(), QStringLiteral("BX"));

    // Alt with a letter types nothing; Ctrl with a letter is a command, not a key to filter.
    QLineEdit name;
    name.setProperty("Tag", QStringLiteral("TABLE_NAME"));
    modGUI::InstallKeyFilter(&name, field(QStringLiteral("TABLE_NAME"), dao::dbText, 10));
    const int beepsBefore = ui.beeps();
    QTest::keyClick(&name, Qt::Key_A, Qt::AltModifier);
    QTest::keyClick(&name, Qt::Key_Period, Qt::AltModifier);
    EXPECT_EQ(name.text(), QString());
    QTest::keyClicks(&name, QStringLiteral("ab"));
    QTest::keyClick(&name, Qt::Key_A, Qt::ControlModifier); // select all
    QTest::keyClicks(&name, QStringLiteral("c"));
    EXPECT_EQ(name.text(), QStringLiteral("C"));
    EXPECT_EQ(ui.beeps(), beepsBefore);

    // A read-only box takes no key, not even one the filter changes ("a" to "A", " " to "_").
    QLineEdit locked(QStringLiteral("QN"));
    QPlainTextEdit lockedMemo(QStringLiteral("QN"));
    for (QWidget *w : std::initializer_list<QWidget *>{&locked, &lockedMemo}) {
        w->setProperty("Tag", QStringLiteral("DATABASE_NAME"));
        modGUI::InstallKeyFilter(w, field(QStringLiteral("DATABASE_NAME"), dao::dbText, 10));
    }
    locked.setReadOnly(true);
    lockedMemo.setReadOnly(true);
    QTest::keyClicks(&locked, QStringLiteral("a b1"));
    QTest::keyClicks(&lockedMemo, QStringLiteral("a b1"));
    EXPECT_EQ(locked.text(), QStringLiteral("QN"));
    EXPECT_EQ(lockedMemo.toPlainText(), QStringLiteral("QN"));
}

// Filtered boxes of each kind on one form, shown, as the editors, grids and
// dialogs have them: a name, a whole number, a masked password, remarks of
// several lines, and a dialog's name box with its own FilterKey hook.
struct FilteredForm
{
    QDialog form;
    QLineEdit *name = box("txtName", "TABLE_NAME", dao::dbText, 8);
    QLineEdit *number = box("txtNumber", "NUMBER_COLUMNS", dao::dbInteger, 2);
    QLineEdit *password = box("txtPassword", "USER_PASSWORD", dao::dbText, 10);
    QPlainTextEdit *remarks = new QPlainTextEdit(&form);
    QLineEdit *newName = new QLineEdit(&form);

    FilteredForm()
    {
        password->setEchoMode(QLineEdit::Password);
        remarks->setObjectName(QStringLiteral("txtRemarks"));
        remarks->setProperty("Tag", QStringLiteral("REMARKS"));
        modGUI::InstallKeyFilter(remarks, field(QStringLiteral("REMARKS"), dao::dbText, 12));
        // A copy dialog's new name: a blank becomes "_", the name set, upper case.
        newName->setObjectName(QStringLiteral("txtNewName"));
        newName->setMaxLength(8);
        modGUI::InstallKeyPress(newName, [](int key) {
            const int kept = modGUI::FilterKey(key == ' ' ? '_' : key,
                                               QStringLiteral("01234567890_-abcdefghijklmnopqrstuvwxyz"), true);
            return int(QChar(kept).toUpper().unicode());
        });
        auto *column = new QVBoxLayout(&form);
        for (QWidget *w : std::initializer_list<QWidget *>{name, number, password, remarks, newName})
            column->addWidget(w);
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    QLineEdit *box(const char *objectName, const char *column, int type, long size)
    {
        auto *e = new QLineEdit(&form);
        e->setObjectName(QString::fromLatin1(objectName));
        e->setProperty("Tag", QString::fromLatin1(column));
        modGUI::InstallKeyFilter(e, field(QString::fromLatin1(column), type, size));
        return e;
    }
    QWidget *operator[](const char *objectName) { return form.findChild<QWidget *>(QString::fromLatin1(objectName)); }
};

QString textOf(const QWidget *w)
{
    if (auto *memo = qobject_cast<const QPlainTextEdit *>(w))
        return memo->toPlainText();
    return static_cast<const QLineEdit *>(w)->text();
}

void clear(QWidget *w)
{
    if (auto *memo = qobject_cast<QPlainTextEdit *>(w))
        memo->clear();
    else
        static_cast<QLineEdit *>(w)->clear();
}

TEST_F(ModGuiTest, PastedTextGetsWhatTypingGives)
{
    FilteredForm f;
    struct Case
    {
        const char *box;
        const char *pasted;
        const char *expected;
        int beeps; // 1 when a character was left out or the text refused
    } cases[] = {
        // A name: each character as typed, cut to the column's size, a line break typed as a blank.
        {"txtName", "o'neil", "ONEIL", 1},
        {"txtName", "a b", "A_B", 0},
        {"txtName", "x/y", "XY", 1},
        {"txtName", "stock", "STOCK", 0},
        {"txtName", "abcdefghijkl", "ABCDEFGH", 1},
        {"txtName", "ab\r\ncd", "AB_CD", 0},
        {"txtName", "ab\ncd\re", "AB_CD_E", 0},
        // A whole number: refused whole unless every character passes.
        {"txtNumber", "12", "12", 0},
        {"txtNumber", "-12", "-12", 0},
        {"txtNumber", "3.5", "", 1},
        {"txtNumber", "1 2", "", 1},
        {"txtNumber", "1/2", "", 1},
        {"txtNumber", "1'2", "", 1},
        {"txtNumber", "1234567", "", 1},
        {"txtNumber", "12\r\n", "", 1},
        {"txtNumber", "12-", "", 1},
        // A masked password: refused whole too, letters upper-cased.
        {"txtPassword", "secret", "SECRET", 0},
        {"txtPassword", "o'neil", "", 1},
        {"txtPassword", "a b", "", 1},
        {"txtPassword", "x/y", "", 1},
        {"txtPassword", "abcdefghijk", "", 1},
        {"txtPassword", "ab\r\ncd", "", 1},
        // Remarks take any character and keep their line breaks (one each), within the size.
        {"txtRemarks", "o'neil a/b", "o'neil a/b", 0},
        {"txtRemarks", "abcdefghijklmn", "abcdefghijkl", 1},
        {"txtRemarks", "ab\r\ncd\ref\ngh", "ab\ncd\nef\ngh", 0},
        {"txtRemarks", "abcdefghij\r\nkl", "abcdefghij\nk", 1},
        // A dialog's name box with its own hook and length.
        {"txtNewName", "o'neil", "ONEIL", 1},
        {"txtNewName", "a b/c", "A_BC", 1},
        {"txtNewName", "stock", "STOCK", 0},
        {"txtNewName", "abcdefghijkl", "ABCDEFGH", 1},
        {"txtNewName", "ab\r\ncd", "AB_CD", 0},
    };
    for (const Case &c : cases) {
        const QString pasted = QString::fromLatin1(c.pasted);
        const QString expected = QString::fromLatin1(c.expected);
        SCOPED_TRACE(testing::Message() << c.box << " <- '" << c.pasted << "'");
        QWidget *box = f[c.box];
        clear(box);
        const int beeps = ui.beeps();
        textentry::Paste(box, pasted);
        EXPECT_EQ(textOf(box), expected);
        EXPECT_EQ(ui.beeps() - beeps, c.beeps);
        // Where characters go in one by one, typing (a line break as a blank) gives the same.
        if (box == f.name || box == f.newName) {
            clear(box);
            QString typed = pasted;
            QTest::keyClicks(box, typed.replace(QLatin1String("\r\n"), QLatin1String(" "))
                                      .replace(QLatin1Char('\r'), QLatin1Char(' '))
                                      .replace(QLatin1Char('\n'), QLatin1Char(' ')));
            EXPECT_EQ(textOf(box), expected) << "typed";
        }
    }
    EXPECT_TRUE(ui.errors().isEmpty());
}

// Text that comes in any other way than Ctrl+V passes the filter too: Shift+Insert,
// the context menu's Paste, a drop, an input method's commit, a key that types
// several characters.
TEST_F(ModGuiTest, EveryWayInPassesTheFilter)
{
    FilteredForm f;
    struct Way
    {
        const char *name;
        std::function<void(QWidget *box, const QString &text)> enter;
    } ways[] = {
        {"Shift+Insert",
         [](QWidget *box, const QString &text) {
             QApplication::clipboard()->setText(text);
             box->setFocus();
             QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
         }},
        {"context menu", textentry::PasteFromMenu},
        {"drop", [](QWidget *box, const QString &text) { textentry::Drop(box, text); }},
        {"input method", textentry::Commit},
        {"a key of several characters",
         [](QWidget *box, const QString &text) {
             box->setFocus();
             QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
             QApplication::sendEvent(box, &press);
         }},
    };
    struct Case
    {
        const char *box;
        const char *entered;
        const char *expected;
    } cases[] = {
        {"txtName", "o'neil\r\nx/y", "ONEIL_XY"},
        {"txtRemarks", "o'neil\r\nx/y", "o'neil\nx/y"},
        {"txtNumber", "3.5", ""},
        {"txtNumber", "-35", "-35"},
        {"txtPassword", "pass word", ""},
        {"txtNewName", "new name", "NEW_NAME"},
    };
    for (const Way &way : ways) {
        for (const Case &c : cases) {
            SCOPED_TRACE(testing::Message() << way.name << ": " << c.box << " <- '" << c.entered << "'");
            QWidget *box = f[c.box];
            clear(box);
            way.enter(box, QString::fromLatin1(c.entered));
            QCoreApplication::processEvents();
            EXPECT_EQ(textOf(box), QString::fromLatin1(c.expected));
        }
    }
    // A read-only box takes nothing, however it comes.
    f.name->setText(QStringLiteral("QN"));
    f.name->setReadOnly(true);
    for (const Way &way : ways) {
        if (QLatin1String(way.name) == QLatin1String("context menu"))
            continue; // its Paste is disabled
        way.enter(f.name, QStringLiteral("x"));
        EXPECT_EQ(f.name->text(), QStringLiteral("QN")) << way.name;
    }
    EXPECT_TRUE(ui.errors().isEmpty());
}

// A filtered paste changes the text once, leaves the cursor after what went
// in, and is one step of the undo history.
TEST_F(ModGuiTest, AFilteredPasteIsOneChangeAndOneUndoStep)
{
    FilteredForm f;
    struct Case
    {
        QWidget *box;
        const char *pasted;
        const char *afterPaste; // "|" marks the cursor
        const char *afterTyping;
    } cases[] = {
        {f.name, "x y'z", "AX_YZ|B", "AX_YZCB"},
        {f.remarks, "x\r\ny", "ax\ny|b", "ax\nycb"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pasted);
        int changes = 0;
        if (auto *line = qobject_cast<QLineEdit *>(c.box))
            QObject::connect(line, &QLineEdit::textChanged, [&] { ++changes; });
        else
            QObject::connect(f.remarks, &QPlainTextEdit::textChanged, [&] { ++changes; });
        c.box->setFocus();
        QTest::keyClicks(c.box, QStringLiteral("ab"));
        QTest::keyClick(c.box, Qt::Key_Left);
        changes = 0;
        textentry::Paste(c.box, QString::fromLatin1(c.pasted));
        EXPECT_EQ(changes, 1);
        const int cursor = c.box == f.name ? f.name->cursorPosition() : f.remarks->textCursor().position();
        EXPECT_EQ(textOf(c.box).insert(cursor, QLatin1Char('|')), QString::fromLatin1(c.afterPaste));
        QTest::keyClicks(c.box, QStringLiteral("c"));
        EXPECT_EQ(textOf(c.box), QString::fromLatin1(c.afterTyping));
        // Undo takes back the typing, then the paste, then the first typing.
        QTest::keyClick(c.box, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(textOf(c.box), QString::fromLatin1(c.afterPaste).remove(QLatin1Char('|')));
        QTest::keyClick(c.box, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(textOf(c.box), c.box == f.name ? QStringLiteral("AB") : QStringLiteral("ab"));
        QTest::keyClick(c.box, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(textOf(c.box), QString());
    }
}

// An editable combo takes text entered other than key by key (Ctrl+V, the
// context menu's Paste, a drop, an input method's commit, a key of several
// characters) as its keys: through its filter, its line edit's length and
// validator, and, in a type-ahead combo, each character completing from the
// list; what typing the same characters gives.
TEST_F(ModGuiTest, AnEditableComboTakesEnteredTextAsTyped)
{
    QDialog form;
    auto *column = new QVBoxLayout(&form);
    const auto combo = [&](const char *name) {
        auto *c = new QComboBox(&form);
        c->setObjectName(QString::fromLatin1(name));
        c->setEditable(true);
        column->addWidget(c);
        return c;
    };
    // A name column's combo, filtered by the column.
    QComboBox *name = combo("cboName");
    name->setProperty("Tag", QStringLiteral("TABLE_NAME"));
    modGUI::InstallKeyFilter(name, field(QStringLiteral("TABLE_NAME"), dao::dbText, 8));
    // A combo whose line edit has its own length and validator.
    QComboBox *digits = combo("cboDigits");
    digits->lineEdit()->setMaxLength(4);
    digits->lineEdit()->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), digits));
    modGUI::InstallKeyPress(digits, [](int key) { return key; });
    // A type-ahead combo: only its items can be entered.
    QComboBox *types = combo("cboTypes");
    types->addItems({QStringLiteral("DECIMAL"), QStringLiteral("DOUBLE"), QStringLiteral("INTEGER")});
    modAPIMisc::InstallAutoComplete(types);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    struct Way
    {
        const char *name;
        std::function<void(QComboBox *box, const QString &text)> enter;
    } ways[] = {
        {"Ctrl+V", [](QComboBox *box, const QString &text) { textentry::Paste(box, text); }},
        {"context menu", [](QComboBox *box, const QString &text) { textentry::PasteFromMenu(box->lineEdit(), text); }},
        {"drop", [](QComboBox *box, const QString &text) { textentry::Drop(box->lineEdit(), text); }},
        {"input method", [](QComboBox *box, const QString &text) { textentry::Commit(box, text); }},
        {"a key of several characters",
         [](QComboBox *box, const QString &text) {
             box->setFocus();
             QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
             QApplication::sendEvent(box, &press);
         }},
    };
    const struct Case
    {
        QComboBox *box;
        const char *entered;
        const char *expected;
    } cases[] = {
        {name, "o'neil x", "ONEIL_X"},
        {name, "abcdefghijkl", "ABCDEFGH"},
        {digits, "12a345", "1234"},
        {types, "do", "DOUBLE"},
        {types, "inx", "INTEGER"},
        {types, "x", ""},
    };
    for (const Way &way : ways) {
        for (const Case &c : cases) {
            SCOPED_TRACE(testing::Message() << way.name << ": " << c.box->objectName().toStdString() << " <- '"
                                            << c.entered << "'");
            c.box->setCurrentIndex(-1);
            c.box->setEditText(QString());
            way.enter(c.box, QString::fromLatin1(c.entered));
            QCoreApplication::processEvents();
            EXPECT_EQ(c.box->currentText(), QString::fromLatin1(c.expected));
            // Typing gives the same, the type-ahead's selected item included.
            const QString entered = c.box->currentText();
            const int index = c.box->currentIndex();
            c.box->setCurrentIndex(-1);
            c.box->setEditText(QString());
            QTest::keyClicks(c.box, QString::fromLatin1(c.entered));
            EXPECT_EQ(c.box->currentText(), QString::fromLatin1(c.expected)) << "typed";
            EXPECT_EQ(c.box->currentIndex(), index) << "typed";
        }
    }
    EXPECT_TRUE(ui.errors().isEmpty());
}

TEST_F(ModGuiTest, AutoCompleteComboTypesAhead)
{
    QComboBox cbo;
    cbo.setEditable(true);
    cbo.addItems({QStringLiteral("DECIMAL"), QStringLiteral("DOUBLE"), QStringLiteral("INTEGER")});
    cbo.setCurrentIndex(-1);
    cbo.setEditText(QString());
    modAPIMisc::InstallAutoComplete(&cbo);
    struct Step
    {
        int key;
        const char *text;
        const char *selected;
        Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    } steps[] = {
        {Qt::Key_D, "DECIMAL", "ECIMAL"}, // "d" finds DECIMAL, case ignored
        {Qt::Key_O, "DOUBLE", "UBLE"},    // "Do" finds DOUBLE
        {Qt::Key_X, "DOUBLE", "UBLE"},    // "Dox" finds nothing: dropped
        {Qt::Key_Backspace, "DOUBLE", "UBLE"},
        {Qt::Key_U, "DOUBLE", "UBLE", Qt::AltModifier}, // a menu key: no search ("Dou" would select "BLE")
    };
    for (const auto &s : steps) {
        SCOPED_TRACE(s.text);
        QTest::keyClick(&cbo, Qt::Key(s.key), s.modifiers);
        EXPECT_EQ(cbo.currentText(), QString::fromLatin1(s.text));
        EXPECT_EQ(cbo.lineEdit()->selectedText(), QString::fromLatin1(s.selected));
    }
    // Nothing selected: the whole text plus the key is looked for.
    cbo.lineEdit()->setText(QStringLiteral("INT"));
    cbo.lineEdit()->setCursorPosition(1);
    EXPECT_EQ(modAPIMisc::AutoCompleteCombo(&cbo, 'e'), 0);
    EXPECT_EQ(cbo.currentText(), QStringLiteral("INTEGER"));
    EXPECT_EQ(cbo.lineEdit()->selectedText(), QStringLiteral("GER"));
    // A key above 128 is dropped without a search.
    cbo.setCurrentIndex(-1);
    cbo.setEditText(QString());
    EXPECT_EQ(modAPIMisc::AutoCompleteCombo(&cbo, 0xC9), 0);
    EXPECT_EQ(cbo.currentText(), QString());
    EXPECT_EQ(modAPIMisc::AutoCompleteCombo(&cbo, 'i'), 0);
    EXPECT_EQ(cbo.currentText(), QStringLiteral("INTEGER"));
}

TEST_F(ModGuiTest, ReturnInATypeAheadComboStillReachesTheDefaultButton)
{
    QDialog dialog;
    auto *cbo = new QComboBox(&dialog);
    cbo->setEditable(true);
    cbo->addItems({QStringLiteral("DECIMAL")});
    auto *ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    modAPIMisc::InstallAutoComplete(cbo);
    dialog.show();
    cbo->setFocus();
    QTest::keyClick(cbo, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

// An editor band as the main window builds it.
std::unique_ptr<QToolBar> band(const QString &tag, bool viewData)
{
    auto tbr = std::make_unique<QToolBar>();
    tbr->setProperty("Tag", tag);
    QStringList keys = {QStringLiteral("Up1"), tag + " Add", tag + " Edit", tag + " Delete", "OK", "Cancel", "Undo"};
    if (viewData)
        keys << QStringLiteral("ViewData");
    for (const QString &key : keys)
        tbr->addAction(key)->setObjectName(key);
    return tbr;
}

TEST_F(ModGuiTest, SetToolbarModeSwitchesTheBandAndKeepsThePendingAction)
{
    const QStringList keys = {"Up1", "%1 Add", "%1 Edit", "%1 Delete", "OK", "Cancel", "Undo", "ViewData"};
    struct Case
    {
        int mode;
        const char *okTag;
        // Enabled states in the order of `keys`, "-" for no change from the start state below.
        const char *enabled;
        const char *pending;
    } cases[] = {
        {0, "ignored", "11110001", ""},
        {1, "%1 Edit", "10001100", "%1 Edit"},
        {1, "", "10001100", ""},
        {2, "%1 Edit", "--------", "before"},
        {-1, "x", "--------", "before"},
    };
    for (const char *tag : {"DB", "Table"}) {
        const bool hasViewData = QLatin1String(tag) == QLatin1String("Table");
        auto withTag = [&](const QString &text) { return QString(text).replace(QStringLiteral("%1"), QLatin1String(tag)); };
        for (const auto &c : cases) {
            SCOPED_TRACE(testing::Message() << tag << " mode " << c.mode << " '" << c.okTag << "'");
            auto tbr = band(QString::fromLatin1(tag), hasViewData);
            // A start state unlike any the modes set.
            for (QAction *a : tbr->actions())
                a->setEnabled(a->objectName() == QLatin1String("Undo") || a->objectName() == QLatin1String("Up1"));
            modGUI::ToolbarButton(tbr.get(), QStringLiteral("OK"))->setProperty("Tag", QStringLiteral("before"));
            modGUI::SetToolbarMode(tbr.get(), c.mode, withTag(c.okTag));
            for (int i = 0; i < keys.size(); ++i) {
                QAction *button = modGUI::ToolbarButton(tbr.get(), withTag(keys[i]));
                if (!button) {
                    EXPECT_FALSE(hasViewData);
                    continue;
                }
                const bool expected = c.enabled[i] == '-' ? keys[i] == "Undo" || keys[i] == "Up1" : c.enabled[i] == '1';
                EXPECT_EQ(button->isEnabled(), expected) << keys[i].toStdString();
            }
            EXPECT_EQ(modGUI::EditorMode(tbr.get()), withTag(c.pending));
        }
    }
    // A band without the buttons, or none at all: nothing fails.
    QToolBar empty;
    modGUI::SetToolbarMode(&empty, 1, QStringLiteral("DB Add"));
    modGUI::SetToolbarMode(nullptr, 0, QString());
    EXPECT_EQ(modGUI::EditorMode(&empty), QString());
    EXPECT_TRUE(ui.errors().isEmpty());
}

// A pane with the look's controls, hosted in a client area.
struct Pane
{
    QWidget clientArea;
    QWidget *frm = new QWidget(&clientArea);
    QLabel *imgCorner = new QLabel(frm);
    QLabel *lblDescription = new QLabel(frm);
    QLineEdit *hiddenTwin = new QLineEdit(frm);
    QSpinBox *spinner = new QSpinBox(frm);
    Pane()
    {
        frm->setObjectName(QStringLiteral("frmTest"));
        imgCorner->setObjectName(QStringLiteral("imgCorner"));
        lblDescription->setObjectName(QStringLiteral("lblDescription"));
        hiddenTwin->setObjectName(QStringLiteral("txtProperty_4"));
        hiddenTwin->hide();
        spinner->setObjectName(QStringLiteral("udProperty"));
        modGUI::SetMainClientArea(&clientArea);
    }
};

TEST_F(ModGuiTest, ApplyFormStyleGivesTheWebOrThePlainLook)
{
    const QColor buttonFace = QPalette().color(QPalette::Button);
    struct Case
    {
        const char *stored; // nullptr: no setting
        bool web;
    } cases[] = {{nullptr, true}, {"1", true}, {" 2 ", true}, {"0", false}, {"abc", false}, {"", false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "(absent)");
        {
            QSettings settings(QSettings::IniFormat, QSettings::UserScope, appinfo::Title());
            if (c.stored)
                settings.setValue(QStringLiteral("Options/Win98"), QString::fromLatin1(c.stored));
            else
                settings.remove(QStringLiteral("Options/Win98"));
        }
        Pane pane;
        modGUI::ApplyFormStyle(pane.frm);
        EXPECT_EQ(pane.imgCorner->isHidden(), !c.web);
        EXPECT_EQ(pane.lblDescription->isHidden(), !c.web);
        EXPECT_TRUE(pane.clientArea.autoFillBackground());
        if (c.web) {
            EXPECT_FALSE(pane.imgCorner->pixmap().isNull());
            EXPECT_EQ(pane.clientArea.palette().color(QPalette::Window), QColor(Qt::white));
            EXPECT_FALSE(pane.frm->autoFillBackground());
            EXPECT_FALSE(pane.frm->testAttribute(Qt::WA_SetPalette)) << "the pane's own colour is left alone";
        } else {
            EXPECT_EQ(pane.clientArea.palette().color(QPalette::Window), buttonFace);
            EXPECT_TRUE(pane.frm->autoFillBackground());
            EXPECT_EQ(pane.frm->palette().color(QPalette::Window), buttonFace);
        }
        EXPECT_TRUE(pane.hiddenTwin->isHidden()) << "shown only in debug mode";
    }
}

TEST_F(ModGuiTest, ApplyFormStyleInDebugModeShowsEveryDesignedControl)
{
    modGUI::SetDebugMode(true);
    for (const char *stored : {"1", "0"}) {
        SCOPED_TRACE(stored);
        QSettings(QSettings::IniFormat, QSettings::UserScope, appinfo::Title())
            .setValue(QStringLiteral("Options/Win98"), QString::fromLatin1(stored));
        Pane pane;
        auto *combo = new QComboBox(pane.frm);
        combo->setObjectName(QStringLiteral("cboDropdown_0"));
        combo->hide();
        modGUI::ApplyFormStyle(pane.frm);
        EXPECT_FALSE(pane.hiddenTwin->isHidden());
        EXPECT_FALSE(combo->isHidden());
        EXPECT_FALSE(pane.imgCorner->isHidden());
        EXPECT_FALSE(pane.lblDescription->isHidden());
        // Qt's own inner widgets and windows keep their state.
        for (QWidget *w : pane.frm->findChildren<QWidget *>()) {
            if (w->isWindow()) {
                EXPECT_TRUE(w->isHidden()) << w->metaObject()->className();
            }
        }
    }
    // No pane: nothing happens.
    modGUI::ApplyFormStyle(nullptr);
}

TEST_F(ModGuiTest, EnforceMinSizeAndResizeTitleBar)
{
    struct Case
    {
        int width, height, expectedWidth, expectedHeight; // twips
    } cases[] = {
        {6000, 8000, 6675, 8000},
        {7005, 5010, 7005, 5655},
        {6675, 5655, 6675, 5655},
        {3000, 3000, 6675, 5655},
        {9000, 9000, 9000, 9000},
    };
    for (const auto &c : cases) {
        QWidget frm;
        frm.resize(modGUI::TwipsToPixels(c.width), modGUI::TwipsToPixels(c.height));
        modGUI::EnforceMinSize(&frm);
        EXPECT_EQ(frm.size(), QSize(modGUI::TwipsToPixels(c.expectedWidth), modGUI::TwipsToPixels(c.expectedHeight)))
            << c.width << "x" << c.height;
    }

    QWidget about;
    about.resize(500, 400);
    auto *title = new QLabel(&about);
    title->setObjectName(QStringLiteral("lblTitle_0"));
    title->setGeometry(12, 0, 100, 30);
    modGUI::ResizeTitleBar(&about);
    EXPECT_EQ(title->geometry(), QRect(12, 0, 488, 30));
    QWidget bare;
    EXPECT_THROW(modGUI::ResizeTitleBar(&bare), QnError);
}

TEST_F(ModGuiTest, SetToolbarImagesGivesEachKeyedButtonItsPicture)
{
    QToolBar tbr;
    QAction *ok = tbr.addAction(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("OK"));
    QAction *cancel = tbr.addAction(QStringLiteral("Cancel"));
    cancel->setObjectName(QStringLiteral("Cancel"));
    tbr.addSeparator();
    QAction *unkeyed = tbr.addAction(QStringLiteral("Plain"));
    modGUI::SetToolbarImages(&tbr);
    EXPECT_FALSE(ok->icon().isNull());
    EXPECT_FALSE(cancel->icon().isNull());
    EXPECT_TRUE(unkeyed->icon().isNull());

    // A key without a picture fails to the caller; the buttons before keep theirs.
    QToolBar broken;
    QAction *first = broken.addAction(QStringLiteral("Up1"));
    first->setObjectName(QStringLiteral("Up1"));
    broken.addAction(QStringLiteral("?"))->setObjectName(QStringLiteral("No Such Key"));
    try {
        modGUI::SetToolbarImages(&broken);
        ADD_FAILURE() << "no failure";
    } catch (const QnError &e) {
        EXPECT_EQ(e.Number(), 35601);
    }
    EXPECT_FALSE(first->icon().isNull());

    // Every key the main window's bands carry has a picture.
    QStringList keys = {"DSN Refresh", "DSN Admin", "Import", "Export", "Up1", "OK", "Cancel", "Undo",
                        "ViewData", "Special Column Edit", "Refresh"};
    for (const char *tag : {"Column", "DB", "Field", "File", "Table", "User"})
        for (const char *action : {" Add", " Edit", " Delete"})
            keys << QString::fromLatin1(tag) + QString::fromLatin1(action);
    for (const QString &key : keys)
        EXPECT_FALSE(modGUI::ToolbarImage(key).isNull()) << key.toStdString();
    EXPECT_FALSE(modGUI::BackgroundImage(QStringLiteral("Blue Corner")).isNull());
    EXPECT_THROW(modGUI::BackgroundImage(QStringLiteral("Red Corner")), QnError);
}

} // namespace
