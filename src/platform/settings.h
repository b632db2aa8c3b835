#pragma once

// The program's per-user settings: QSettings in INI format under the
// application title, one section per window or dialog. Every setting is read
// and written here and nowhere else, so a stored value is read the same way
// wherever it is used. Sections and keys are matched without regard to letter
// case; a key is written in its one canonical spelling (any other spelling of
// it is dropped).

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

// The four options of section "Options", written by the Options pane and read
// by the pane host, the panes' look, the tree, the editors and the grids. Each
// is a 16-bit whole number read as GetSettingInteger reads it: a stored value
// that cannot be read raises 13 (or 6) in every reader alike, and each reader's
// own handler decides what follows (the error dialog; the plain look in
// modGUI::ApplyFormStyle, which skips a failing step).
namespace options {

inline const QString kSection = QStringLiteral("Options");
inline const QString kItems = QStringLiteral("Items");
inline const QString kSysTables = QStringLiteral("SysTables");
inline const QString kFieldOrder = QStringLiteral("FieldOrder");
inline const QString kWin98 = QStringLiteral("Win98");

// "Items" (0 "Display", 1 "Edit"; default 1): 1 makes the pane host open a
// single-record editor for editing where it is asked to display it.
int Items();
// "SysTables" (default 0; the table editor's list of file names reads an
// absent key as 1): not 0 lists the catalog's own files and database 'QN'.
int SysTables(int whenAbsent = 0);
// "FieldOrder" (default 0): 0 lists a file's fields by name, any other value by offset.
int FieldOrder();
// "Win98" (default 1): not 0 gives the panes the Web look, 0 the plain look.
int Win98();

// Stores one of the keys above as the decimal text of `value`.
void Save(const QString &key, int value);

} // namespace options
