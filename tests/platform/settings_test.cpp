#include <QSettings>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

#include "appinfo.h"
#include "qnerror.h"
#include "settings.h"

namespace {

class SettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QSettings::setDefaultFormat(QSettings::IniFormat);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.filePath(QStringLiteral("settings")));
    }
    static QSettings store() { return QSettings(QSettings::IniFormat, QSettings::UserScope, appinfo::Title()); }
    QTemporaryDir dir;
};

// The failure number of `read`, 0 when it succeeds; `value` receives its result.
long failureOf(const std::function<int()> &read, int &value)
{
    try {
        value = read();
        return 0;
    } catch (const QnError &e) {
        return e.Number();
    }
}

TEST_F(SettingsTest, OptionsReadAsWholeNumbersOrFail)
{
    struct Case
    {
        const char *stored; // nullptr: absent
        int items, sysTables, sysTablesForFileList, fieldOrder, win98;
        long failure; // of every reader
    };
    const Case cases[] = {
        {nullptr, 1, 0, 1, 0, 1, 0},          // the defaults; the table editor's file list reads 1
        {"0", 0, 0, 0, 0, 0, 0},
        {" 1 ", 1, 1, 1, 1, 1, 0},            // blanks around the digits
        {"0.5", 0, 0, 0, 0, 0, 0},            // halves to even
        {"1.5", 2, 2, 2, 2, 2, 0},
        {"-3", -3, -3, -3, -3, -3, 0},
        {"x", 0, 0, 0, 0, 0, qnerr::TypeMismatch},
        {"", 0, 0, 0, 0, 0, qnerr::TypeMismatch}, // stored empty: not absent
        {"1,5", 0, 0, 0, 0, 0, qnerr::TypeMismatch},
        {"40000", 0, 0, 0, 0, 0, qnerr::Overflow},
    };
    const std::pair<QString, std::function<int()>> readers[] = {
        {options::kItems, [] { return options::Items(); }},
        {options::kSysTables, [] { return options::SysTables(); }},
        {options::kSysTables, [] { return options::SysTables(1); }},
        {options::kFieldOrder, [] { return options::FieldOrder(); }},
        {options::kWin98, [] { return options::Win98(); }},
    };
    for (const Case &c : cases) {
        const int expected[] = {c.items, c.sysTables, c.sysTablesForFileList, c.fieldOrder, c.win98};
        for (int r = 0; r < 5; ++r) {
            const auto &[key, read] = readers[r];
            SCOPED_TRACE(key.toStdString() + " = " + (c.stored ? c.stored : "(absent)"));
            {
                QSettings s = store();
                s.clear();
                if (c.stored)
                    s.setValue(QStringLiteral("Options/") + key, QString::fromLatin1(c.stored));
            }
            int value = -99;
            EXPECT_EQ(failureOf(read, value), c.failure);
            if (!c.failure) {
                EXPECT_EQ(value, expected[r]);
            }
        }
    }
}

TEST_F(SettingsTest, SectionsAndKeysMatchWithoutRegardToCase)
{
    store().setValue(QStringLiteral("options/WIN98"), QStringLiteral("0"));
    store().setValue(QStringLiteral("OPTIONS/fieldorder"), QStringLiteral("1"));
    EXPECT_EQ(options::Win98(), 0);
    EXPECT_EQ(options::FieldOrder(), 1);
    EXPECT_EQ(GetSetting(QStringLiteral("Options"), QStringLiteral("Win98")), QStringLiteral("0"));

    // A save leaves the one canonical spelling.
    options::Save(options::kWin98, 1);
    SaveSetting(QStringLiteral("Options"), QStringLiteral("FieldOrder"), QStringLiteral("0"));
    EXPECT_EQ(options::Win98(), 1);
    EXPECT_EQ(options::FieldOrder(), 0);
    QStringList keys = store().allKeys();
    keys.sort();
    EXPECT_EQ(keys, (QStringList{QStringLiteral("Options/FieldOrder"), QStringLiteral("Options/Win98")}));

    // Other sections read the same way.
    store().setValue(QStringLiteral("MDIMAIN/width"), QStringLiteral("9000"));
    EXPECT_EQ(GetSettingNumber(QStringLiteral("mdiMain"), QStringLiteral("Width"), 1), 9000);
    EXPECT_EQ(GetSetting(QStringLiteral("mdiMain"), QStringLiteral("Height"), QStringLiteral("none")),
              QStringLiteral("none"));
}

} // namespace
