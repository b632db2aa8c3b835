#include "settings.h"

#include <QLocale>
#include <QSettings>
#include <cmath>

#include "appinfo.h"
#include "qnerror.h"

namespace {
QString path(const QString &section, const QString &key) { return section + QLatin1Char('/') + key; }
} // namespace

QString GetSetting(const QString &section, const QString &key, const QString &fallback)
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, appinfo::Title());
    const QVariant value = settings.value(path(section, key));
    return value.isValid() ? value.toString() : fallback;
}

void SaveSetting(const QString &section, const QString &key, const QString &value)
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, appinfo::Title());
    settings.setValue(path(section, key), value);
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
