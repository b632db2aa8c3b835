#include "settings.h"

#include <QLocale>
#include <QSettings>
#include <QStringList>
#include <cmath>

#include "appinfo.h"
#include "qnerror.h"

namespace {

QString path(const QString &section, const QString &key) { return section + QLatin1Char('/') + key; }

// Every stored spelling of section/key, matched without regard to case; the
// exact spelling first when it is stored.
QStringList spellings(QSettings &settings, const QString &section, const QString &key)
{
    const QString exact = path(section, key);
    QStringList found;
    if (settings.contains(exact))
        found << exact;
    const QStringList groups = settings.childGroups();
    for (const QString &group : groups) {
        if (group.compare(section, Qt::CaseInsensitive) != 0)
            continue;
        settings.beginGroup(group);
        const QStringList keys = settings.childKeys();
        settings.endGroup();
        for (const QString &stored : keys) {
            const QString spelling = path(group, stored);
            if (stored.compare(key, Qt::CaseInsensitive) == 0 && spelling != exact)
                found << spelling;
        }
    }
    return found;
}

} // namespace

QString GetSetting(const QString &section, const QString &key, const QString &fallback)
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, appinfo::Title());
    const QStringList stored = spellings(settings, section, key);
    if (stored.isEmpty())
        return fallback;
    // A key stored without a value reads as the empty text, not as absent.
    const QString text = settings.value(stored.first()).toString();
    return text.isNull() ? QString(QLatin1String("")) : text;
}

void SaveSetting(const QString &section, const QString &key, const QString &value)
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, appinfo::Title());
    const QString canonical = path(section, key);
    for (const QString &other : spellings(settings, section, key))
        if (other != canonical)
            settings.remove(other);
    settings.setValue(canonical, value);
    settings.sync();
}

double GetSettingNumber(const QString &section, const QString &key, double fallback)
{
    const QString text = GetSetting(section, key, QString());
    if (text.isNull())
        return fallback;
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        qnerr::raise(qnerr::TypeMismatch);
    return value;
}

int GetSettingInteger(const QString &section, const QString &key, int fallback)
{
    const double value = std::nearbyint(GetSettingNumber(section, key, fallback)); // halves to even
    if (value < -32768 || value > 32767)
        qnerr::raise(qnerr::Overflow);
    return int(value);
}

namespace options {

int Items() { return GetSettingInteger(kSection, kItems, 1); }
int SysTables(int whenAbsent) { return GetSettingInteger(kSection, kSysTables, whenAbsent); }
int FieldOrder() { return GetSettingInteger(kSection, kFieldOrder, 0); }
int Win98() { return GetSettingInteger(kSection, kWin98, 1); }

void Save(const QString &key, int value) { SaveSetting(kSection, key, QString::number(value)); }

} // namespace options
