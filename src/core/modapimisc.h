#pragma once

// Type-ahead in combo boxes.

class QComboBox;

namespace modAPIMisc {

// Completes `cbo`'s text from its list as the key `KeyAscii` is typed: for a
// key from 32 to 128, the text before the selection (or the whole text when
// nothing is selected) plus the key is looked up as the beginning of an item,
// ignoring case; a found item is shown with its remainder selected. Returns
// the key to pass on to the combo: always 0, so the combo itself never gets a
// typed character.
int AutoCompleteCombo(QComboBox *cbo, int KeyAscii);

// Runs AutoCompleteCombo on every character key typed into `cbo` (Backspace
// included) and eats the key (an Alt key is eaten without a search); Return,
// Enter, Esc, Tab, Delete, the keys without a character and the Ctrl commands
// go on as usual. Text entered into its line edit other than key by key
// (pasted, dropped, from an input method) completes as its characters typed
// one by one would (modGUI::InstallKeyPress).
void InstallAutoComplete(QComboBox *cbo);

} // namespace modAPIMisc
