// The lookup text control: events, the layout rule, enabled and locked states,
// and its persisted properties.

#include <QFrame>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include "panes/ctltextlookup.h"
#include "uitest.h"

namespace {

TEST(TextLookup, ChangedAndKeyPress)
{
    ctlTextLookup c(QStringLiteral("ctlLUCell_0"));
    EXPECT_EQ(c.Text(), QStringLiteral("ctlLUCell_0")); // a new instance shows its name
    QSignalSpy changed(&c, &ctlTextLookup::Changed);
    c.setText(QStringLiteral("12"));
    c.setText(QStringLiteral("12"));
    EXPECT_EQ(changed.count(), 1); // the same text again raises nothing

    // The host may keep a key out, or type another in its place.
    QObject::connect(&c, &ctlTextLookup::KeyPress, [](int &key) {
        if (key == 'x')
            key = 0;
        else if (key == ' ')
            key = '_';
    });
    c.show();
    c.txt->setFocus();
    c.setText(QString());
    QTest::keyClicks(c.txt, QStringLiteral("ax b"));
    EXPECT_EQ(c.Text(), QStringLiteral("a_b"));
    EXPECT_EQ(changed.count(), 5); // cleared, then three keys typed
}

TEST(TextLookup, LayoutRule)
{
    ctlTextLookup c(QStringLiteral("ctl"));
    c.show();
    // Too small: raised to the button's width plus 120 twips by 315 twips.
    c.resize(5, 5);
    EXPECT_EQ(c.size(), QSize(21, 21));
    // The frame flush with the right edge, the button 30 twips inside it, the
    // text box reaching 15 twips under the frame and as tall as the control.
    c.resize(200, 40);
    EXPECT_EQ(c.imgBorder->geometry(), QRect(183, 0, 17, 21));
    EXPECT_EQ(c.cmd->geometry(), QRect(2, 2, 13, 17));
    EXPECT_EQ(c.txt->geometry(), QRect(0, 0, 184, 40));
}

TEST(TextLookup, EnabledAndLocked)
{
    ctlTextLookup c(QStringLiteral("ctl"));
    c.show();
    QSignalSpy clicks(&c, &ctlTextLookup::ButtonClick);
    c.setButtonEnabled(false);
    QTest::mouseClick(c.cmd, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 0);
    c.setButtonEnabled(true);

    for (bool locked : {false, true}) {
        SCOPED_TRACE(locked);
        c.setText(QStringLiteral("v"));
        c.setTextEnabled(locked);
        c.setLocked(locked);
        QTest::keyClicks(c.txt, QStringLiteral("w"));
        EXPECT_EQ(c.Text(), QStringLiteral("v")); // no typing, disabled or locked
        QTest::mouseClick(c.cmd, Qt::LeftButton);
        c.setText(QStringLiteral("assigned"));
        EXPECT_EQ(c.Text(), QStringLiteral("assigned"));
        c.setTextEnabled(true);
        c.setLocked(false);
    }
    EXPECT_EQ(clicks.count(), 2); // the button works all the same
}

TEST(TextLookup, PersistedProperties)
{
    ScriptedUi ui;
    ctlTextLookup c(QStringLiteral("ctl"));
    EXPECT_TRUE(c.WriteProperties().isEmpty()); // a new instance holds its defaults
    EXPECT_EQ(c.Caption(), QStringLiteral("..."));

    // Keys are read without regard to case; an absent key takes its default.
    c.setMaxLength(10);
    c.ReadProperties({{QStringLiteral("caption"), QStringLiteral("=")}, {QStringLiteral("TEXT"), QString()}});
    EXPECT_EQ(c.Caption(), QStringLiteral("="));
    EXPECT_EQ(c.Text(), QString());
    EXPECT_EQ(c.MaxLength(), 0);

    // Saved in the given order, only what differs from the defaults.
    c.setLocked(true);
    c.setMaxLength(10);
    c.setBackColor(0x00FF0000);
    QStringList keys;
    for (const auto &[key, value] : c.WriteProperties())
        keys << key;
    EXPECT_EQ(keys, QStringList({QStringLiteral("Text"), QStringLiteral("Locked"), QStringLiteral("BackColor"),
                                 QStringLiteral("MaxLength"), QStringLiteral("Caption")}));
    EXPECT_EQ(c.txt->palette().color(QPalette::Base), QColor(0, 0, 255)); // &H00BBGGRR

    // Setting a property marks the design changed; the caption does not.
    QSignalSpy notices(&c, &ctlTextLookup::propertyChanged);
    c.setCaption(QStringLiteral("?"));
    EXPECT_EQ(notices.count(), 0);
    c.setSelStart(1);
    ASSERT_EQ(notices.count(), 1);
    EXPECT_EQ(notices[0][0].toString(), QStringLiteral("SelStart"));

    // 16-bit values: beyond them the property cannot be set.
    const QnError e = failureOf([&] { c.setMaxLength(40000); });
    EXPECT_EQ(e.Number(), qnerr::Overflow);
    EXPECT_EQ(c.MaxLength(), 10);
}

} // namespace
