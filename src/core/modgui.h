#pragma once

// The panes' common look, the editors' toolbar bands and the keystroke filters.
//
// A toolbar band is a QToolBar whose dynamic property "Tag" holds its object
// word ("Table", "DB", "User", ...); each button is a QAction whose objectName
// is its key ("Table Add", "OK", "Cancel", "Undo", "ViewData", "Up1"). The "OK"
// button's dynamic property "Tag" holds the pending action (the editor mode).
//
// The look option is options::Win98() (settings.h).

#include <QIcon>
#include <QPixmap>
#include <QString>
#include <functional>

class QAction;
class QToolBar;
class QWidget;

namespace dao {
class Field;
}

namespace modGUI {

// Band modes of SetToolbarMode.
constexpr int ToolbarBrowse = 0;  // browsing: nothing pending
constexpr int ToolbarPending = 1; // an action is pending (or, with an empty action, a read-only record)

// Switches an editor band: mode 0 enables "<Tag> Add/Edit/Delete" and "ViewData",
// disables "OK" (its Tag emptied), "Cancel" and "Undo"; mode 1 the reverse, with
// "OK" carrying `OKTag` and "Undo" disabled too. Any other mode changes nothing.
// A missing button is skipped; nothing is reported.
void SetToolbarMode(QToolBar *tbr, int Mode, const QString &OKTag);

// The band's button with `key` (its objectName); nullptr when there is none.
QAction *ToolbarButton(const QToolBar *tbr, const QString &key);
// The pending action kept on the band's "OK" button ("" when none).
QString EditorMode(const QToolBar *tbr);

// Gives a pane the Web look (Options\Win98 absent or not 0: `imgCorner` shows
// "Blue Corner", the main client area turns white) or the plain look (0, or a
// value that cannot be read: `imgCorner` and `lblDescription` hidden, pane and client area in the
// button-face colour). In debug mode every named control of the pane is then shown.
// Missing controls are skipped; nothing is reported.
void ApplyFormStyle(QWidget *frm);

// Gives each keyed button of `tbr` the toolbar image of the same key; buttons
// with an empty key are left alone. An unknown key raises a QnError (the
// buttons visited before keep their images).
void SetToolbarImages(QToolBar *tbr);

// Keeps a pane at least 6675 x 5655 twips (445 x 377 pixels).
void EnforceMinSize(QWidget *frm);

// Stretches `lblTitle_0` of `frm` to the pane's right edge.
void ResizeTitleBar(QWidget *frm);

// The main window's client area, whose background ApplyFormStyle sets; the main
// window registers it at start-up (nullptr: none).
void SetMainClientArea(QWidget *clientArea);
QWidget *MainClientArea();

// gDebugMode: set by the main window when the command line holds "DEBUG".
bool DebugMode();
void SetDebugMode(bool on);

// The main window's image lists. ToolbarImage: the 16x16 picture of a toolbar
// button key (iml16x16); BackgroundImage: a pane-corner picture ("Blue Corner",
// imlBackground; "Purple Corner" is the wizard's). An unknown key raises QnError 35601 "Element not found".
QIcon ToolbarImage(const QString &key);
QPixmap BackgroundImage(const QString &key);

// Twips to pixels (15 to 1) and back.
constexpr int TwipsToPixels(int twips) { return twips / 15; }
constexpr int PixelsToTwips(int pixels) { return pixels * 15; }

// A dialog that remembers where it was closed: settings `section`, "Left" and
// "Top" in twips. PlaceAtSavedPosition moves `dialog` there, centring it on
// its screen along a coordinate whose key is absent; SavePosition stores both.
void PlaceAtSavedPosition(QWidget *dialog, const QString &section);
void SavePosition(const QWidget *dialog, const QString &section);
// Moves `dialog` to the centre of its screen.
void CentreOnScreen(QWidget *dialog);

// Keystroke filters. A key is the character typed (its code), 0 when refused.

// `key` when it is Backspace (8) or one of `allowed` (compared ignoring case
// when `ignoreCase`), otherwise 0.
int FilterKey(int key, const QString &allowed, bool ignoreCase = false);

// Filters a key typed into the bound control `ctl` for the catalog column `fld`
// (its type and size) and the column name in the control's "Tag". Returns the
// key to insert (possibly transformed: upper-cased, " " to "_") or 0, after a
// beep, when refused. `ctl` is a QLineEdit, a QPlainTextEdit or an editable QComboBox.
// A line break (10), which only pasted text brings into a box of several
// lines, takes a place of the length and passes no other rule; other keys
// below 32 pass untouched.
int ControlKeyPress(QWidget *ctl, int key, const dao::Field &fld);

// Installs the filter above on `ctl`'s key presses: a refused key is eaten, a
// transformed one inserted in its place (never into a read-only control).
// Control keys (Return, Esc, arrows, ...) and Ctrl commands pass untouched; an
// Alt key types nothing. `fld` is copied. Pasted text is filtered as
// InstallKeyPress says.
void InstallKeyFilter(QWidget *ctl, const dao::Field &fld);

// A text control's key-press hook: gets the code of each character typed and
// returns the key to take: the same one (typed as usual), another (inserted
// in its place, unless the control is read-only) or 0 (eaten).
using KeyPressHook = std::function<int(int KeyAscii)>;
// Installs `hook` on `ctl` (a QLineEdit, a QPlainTextEdit or a QComboBox) as
// InstallKeyFilter installs its filter; with `controlKeys` the hook also gets
// Backspace (8), Return (13) and Esc (27), which it may eat.
//
// Every other text that enters a line edit, a text edit or an editable
// combo's line edit passes the same hook: pasted (Ctrl+V, Shift+Insert, the
// context menu, the middle button), dropped, committed by an input method.
// Its characters are typed one by one, as keys, into a copy of the control's
// text and selection (the hook and ControlKeyPress read that copy through
// ControlText, the control's length and validator apply), and what was taken
// goes in as one change and one undo step. A hook that sets the text itself
// (SetControlText, as a combo's type-ahead does) sets the copy; the control
// then gets the copy's text and selection. In a line edit each line break
// (CR LF, LF or CR) is typed as a blank; a text edit keeps them as line
// breaks. A text with a refused character is refused whole (nothing changes)
// in a masked box and in a number column's box (one that ControlKeyPress
// filters by the number rules); elsewhere the refused characters are left
// out. One beep for any refused character.
void InstallKeyPress(QWidget *ctl, KeyPressHook hook, bool controlKeys = false);

// A text control's text and selection (a combo's without a line edit: its
// current text, nothing selected), as key-press hooks read them: while text
// entered other than key by key is typed into the control (InstallKeyPress),
// those of the copy it is typed into.
struct TextState
{
    QString text;
    int selStart = 0;
    int selLength = 0;
};
TextState ControlText(QWidget *ctl);
// Sets them: into that copy while text is typed into the control, else into
// the control; a combo first makes the item of that exact text current, when
// it has one.
void SetControlText(QWidget *ctl, const TextState &state);

} // namespace modGUI
