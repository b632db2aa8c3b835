#include "modapimisc.h"

#include <QComboBox>

#include "modgui.h"
#include "qnerror.h"

namespace modAPIMisc {

int AutoCompleteCombo(QComboBox *cbo, int KeyAscii)
{
    if (!cbo)
        qnerr::raise(qnerr::ObjectNotSet);
    if (KeyAscii >= 32 && KeyAscii <= 128) {
        // Read and set through modGUI, so that a text entered other than key by key completes the same way.
        const modGUI::TextState at = modGUI::ControlText(cbo);
        const QString search = (at.selLength != 0 ? at.text.left(at.selStart) : at.text) + QChar(KeyAscii);
        // Starts-with and no case-sensitive flag: the first item that begins with the text, case ignored.
        const int found = cbo->findText(search, Qt::MatchStartsWith);
        if (found >= 0) {
            const QString item = cbo->itemText(found);
            modGUI::SetControlText(cbo, {item, int(search.size()), int(item.size() - search.size())});
        }
    }
    return 0;
}

void InstallAutoComplete(QComboBox *cbo)
{
    if (!cbo)
        qnerr::raise(qnerr::ObjectNotSet);
    // Return and Esc go on to the combo (and its dialog); every other character, Backspace included, is a search.
    modGUI::InstallKeyPress(
        cbo, [cbo](int key) { return key == 13 || key == 27 ? key : AutoCompleteCombo(cbo, key); }, true);
}

} // namespace modAPIMisc
