// The date and time format pickers: the texts their buttons build, Delete,
// the 254-character limit, the live example, and what GetFormat returns on
// OK, Cancel and a closed window.

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

#include "editorfixture.h"
#include "dialogs/frmformatpicker.h"

namespace {

const QDateTime kNow(QDate(2024, 3, 7), QTime(14, 5, 9));

TEST(FormatBuilder, DeleteRemovesTheTrailingComponentOrOneCharacter)
{
    const FormatBuilder date(FormatBuilder::Kind::Date), time(FormatBuilder::Kind::Time);
    const struct
    {
        const FormatBuilder &builder;
        const char *before, *after;
    } cases[] = {
        {date, "DD/MM/YYYY", "DD/MM/"},
        {date, "DD-MMM", "DD-"},
        {date, "MMYY", "MM"},
        {date, "YYY", "Y"},   // read from the end: "YY"
        {date, "MMMM", "M"},  // "MMM"
        {date, "DD.", "DD"},  // a separator goes alone
        {date, "dd", "d"},    // lower case is no date component
        {date, ":", ":"},     // a lone character stays
        {date, "", ""},
        {time, "hh:mm:ss.cc", "hh:mm:ss."},
        {time, "hhh", "h"},
        {time, "HH", "H"},    // upper case is no time component
        {time, "ss", ""},
        {time, "::", ":"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.builder.Delete(QString::fromLatin1(c.before)), QLatin1String(c.after)) << c.before;
}

TEST(FormatBuilder, APressNeverLeaves255Characters)
{
    const FormatBuilder date(FormatBuilder::Kind::Date), time(FormatBuilder::Kind::Time);
    // 253 characters ending in YY, then YY: the trailing YYYY goes, 251 remain.
    const QString d253 = QString(251, QLatin1Char('-')) + QStringLiteral("YY");
    EXPECT_EQ(date.Append(d253, QStringLiteral("YY")), QString(251, QLatin1Char('-')));
    // 254 characters, then hh: appended and removed again.
    const QString t254(254, QLatin1Char(':'));
    EXPECT_EQ(time.Append(t254, QStringLiteral("hh")), t254);
    EXPECT_EQ(time.Append(QString(252, QLatin1Char(':')), QStringLiteral("hh")).size(), 254);
    // A longer text than the buttons build never grows.
    const QString long300(300, QLatin1Char('/'));
    EXPECT_EQ(date.Append(long300, QStringLiteral("/")), long300);
}

TEST(FormatBuilder, TheExampleReplacesEachComponentLeftToRight)
{
    const FormatBuilder date(FormatBuilder::Kind::Date), time(FormatBuilder::Kind::Time);
    const QLocale english(QLocale::English);
    const struct
    {
        const FormatBuilder &builder;
        const char *format, *example;
    } cases[] = {
        {date, "DD/MM/YYYY", "07/03/2024"},
        {date, "DD MMM YY", "07 Mar 24"},
        {date, "YYY", "24Y"},
        {date, "MMMM", "MarM"},
        {date, "dd/mm/yy", "dd/mm/yy"},
        {time, "hh:mm:ss.cc", "14:05:09.00"},
        {time, "hhh", "14h"},
        {time, "HH:MM", "HH:MM"},
        {time, "", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.builder.Example(QString::fromLatin1(c.format), kNow, english), QLatin1String(c.example)) << c.format;
}

class FormatPickers : public EditorTest
{
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        FormatBuilder::Clock() = [] { return kNow; };
    }
    void TearDown() override
    {
        FormatBuilder::Clock() = nullptr;
        EditorTest::TearDown();
    }
    using Driver = std::function<void(FormatPicker &)>;
    // GetFormat of the picker T with `drive` acting on the shown dialog.
    template <class T> QString run(const QString &Default, const Driver &drive)
    {
        ui().onModal([drive](QDialog &d) {
            d.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&d));
            drive(static_cast<FormatPicker &>(d));
            return int(d.result());
        });
        return T::GetFormat(Default);
    }
    static void press(QAbstractButton *b)
    {
        ASSERT_TRUE(b);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    static QString shown(FormatPicker &p) { return p.lblFormat->text() + QStringLiteral(" = ") + p.lblExample->text(); }
};

TEST_F(FormatPickers, TheDatePickerBuildsFromItsButtons)
{
    QStringList captions, tips;
    QStringList steps;
    const QString text = run<frmDateFormat>(QString(), [&](FormatPicker &p) {
        EXPECT_EQ(p.windowTitle(), QStringLiteral("Date Format"));
        for (int i = 0; i < 14; ++i) {
            captions << p.cmdComp(i)->text();
            tips << p.cmdComp(i)->toolTip();
        }
        steps << shown(p);
        for (int i : {0, 7, 3, 7, 2}) { // Day / Month (01) / Year (1998)
            press(p.cmdComp(i));
            steps << shown(p);
        }
        press(p.cmdDelete);
        steps << shown(p);
        for (int i : {4, 5, 1}) { // Year (98), space, Month (Jan)
            press(p.cmdComp(i));
            steps << shown(p);
        }
        press(p.cmdOK);
    });
    EXPECT_EQ(captions, QStringList({"Day", "Month (Jan)", "Year (1998)", "Month (01)", "Year (98)", " (Space)", ":",
                                     "/", "\\", ",", ".", "-", ";", "_"}));
    EXPECT_EQ(tips, QStringList({"", "", "", "", "", "", "Collon", "Forward Slash", "Back Slash", "Comma", "Full Stop",
                                 "Hyphen", "Semi-Collon", "Underscore"}));
    const QString mar = QLocale().monthName(3, QLocale::ShortFormat);
    EXPECT_EQ(steps, QStringList({" = ", "DD = 07", "DD/ = 07/", "DD/MM = 07/03", "DD/MM/ = 07/03/",
                                  "DD/MM/YYYY = 07/03/2024", "DD/MM/ = 07/03/", "DD/MM/YY = 07/03/24",
                                  "DD/MM/YY  = 07/03/24 ", "DD/MM/YY MMM = 07/03/24 " + mar}));
    EXPECT_EQ(text, QStringLiteral("DD/MM/YY MMM"));
}

TEST_F(FormatPickers, TheTimePickerAndItsDefault)
{
    QStringList captions, steps;
    const QString text = run<frmTimeFormat>(QStringLiteral("hh:mm:ss.cc"), [&](FormatPicker &p) {
        EXPECT_EQ(p.windowTitle(), QStringLiteral("Time Format"));
        for (int i : {0, 1, 3, 8, 5, 6, 7, 9, 10, 11, 12, 13})
            captions << p.cmdComp(i)->text();
        EXPECT_FALSE(p.cmdComp(2));
        EXPECT_FALSE(p.cmdComp(4));
        steps << shown(p);
        for (int n = 0; n < 4; ++n) {
            press(p.cmdDelete);
            steps << shown(p);
        }
        press(p.cmdComp(8));
        press(p.cmdComp(1));
        steps << shown(p);
        press(p.cmdOK);
    });
    EXPECT_EQ(captions, QStringList({"Hours", "Minutes", "Seconds", " (Space)", ":", "/", "\\", ",", ".", "-", ";", "_"}));
    EXPECT_EQ(steps, QStringList({"hh:mm:ss.cc = 14:05:09.00", "hh:mm:ss. = 14:05:09.", "hh:mm:ss = 14:05:09",
                                  "hh:mm: = 14:05:", "hh:mm = 14:05", "hh:mm mm = 14:05 05"}));
    EXPECT_EQ(text, QStringLiteral("hh:mm mm"));
}

TEST_F(FormatPickers, CancelEscapeAndTheWindowsClose)
{
    // Cancel after presses, and OK without one, give the default back.
    EXPECT_EQ(run<frmDateFormat>(QStringLiteral("YYMMDD"),
                                 [](FormatPicker &p) {
                                     press(p.cmdComp(0));
                                     press(p.cmdCancel);
                                 }),
              QStringLiteral("YYMMDD"));
    EXPECT_EQ(run<frmDateFormat>(QStringLiteral("YYMMDD"), [](FormatPicker &p) { press(p.cmdOK); }),
              QStringLiteral("YYMMDD"));
    // Escape does nothing: the picker stays open and OK still takes the text.
    EXPECT_EQ(run<frmTimeFormat>(QString(),
                                 [](FormatPicker &p) {
                                     press(p.cmdComp(0));
                                     QTest::keyClick(&p, Qt::Key_Escape);
                                     EXPECT_TRUE(p.isVisible());
                                     press(p.cmdOK);
                                 }),
              QStringLiteral("hh"));
    // The window system's close is a Cancel.
    EXPECT_EQ(run<frmTimeFormat>(QStringLiteral("hhmm"),
                                 [](FormatPicker &p) {
                                     press(p.cmdComp(3));
                                     p.close();
                                     EXPECT_FALSE(p.isVisible());
                                 }),
              QStringLiteral("hhmm"));
    // One picker of each kind serves every call: the next call starts from its default.
    EXPECT_EQ(run<frmTimeFormat>(QStringLiteral("ss"),
                                 [](FormatPicker &p) {
                                     EXPECT_EQ(p.lblFormat->text(), QStringLiteral("ss"));
                                     press(p.cmdOK);
                                 }),
              QStringLiteral("ss"));
    int pickers = 0;
    for (QWidget *form : forms::Loaded())
        pickers += form->objectName() == QLatin1String("frmTimeFormat");
    EXPECT_EQ(pickers, 1);
    // No button is the default: Enter presses the one that has the focus, OK only when it has it.
    EXPECT_EQ(run<frmDateFormat>(QString(),
                                 [](FormatPicker &p) {
                                     for (QPushButton *b : {p.cmdComp(0), p.cmdComp(7), p.cmdDelete, p.cmdOK}) {
                                         b->setFocus();
                                         QTest::keyClick(b, Qt::Key_Return);
                                     }
                                 }),
              QStringLiteral("DD"));
}

} // namespace
