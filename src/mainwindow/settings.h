#pragma once

// The program's per-user settings: QSettings in INI format under the
// application title, one section per window or dialog. Keys are written in
// their one canonical spelling.

#include <QString>

// The text stored under `section`/`key`; `fallback` when absent.
QString GetSetting(const QString &section, const QString &key, const QString &fallback = {});
// Stores `value` at once (an abrupt end of the program loses nothing).
void SaveSetting(const QString &section, const QString &key, const QString &value);
// The setting read as a number (C locale, blanks around it allowed); a stored
// text that is not a number raises 13 (type mismatch).
double GetSettingNumber(const QString &section, const QString &key, double fallback);
// The setting as a 16-bit whole number, halves rounded to even: 13 for a text
// that is not a number, 6 (overflow) beyond the 16-bit range.
int GetSettingInteger(const QString &section, const QString &key, int fallback);
