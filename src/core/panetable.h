#pragma once

// The one table of pane facts: a row per right-hand pane, read by the pane
// host (which key parts each member gets, which band shows) and by the tree
// (which pane shows a node). A new pane is its own files plus its row here.

#include <QList>
#include <QString>

struct PaneFacts
{
    // The form's name (its objectName), compared case-sensitively.
    QString name;
    // How many key parts its Display takes (data-source name first).
    int displayKeys = 0;
    // A single-record editor: how many key parts its AddNew takes (Edit and
    // Delete take one more); 0 for any other pane.
    int editorGroup = 0;
    // Its toolbar band on the coolbar, numbered from 1 (band 1, the main
    // toolbar, belongs to no pane); 0 for a pane without a band.
    int band = 0;

    bool isEditor() const { return editorGroup > 0; }
};

namespace PaneTable {

// Every row, in table order.
const QList<PaneFacts> &All();
// The row of the pane named `name`; nullptr for a name that is no pane's.
const PaneFacts *Find(const QString &name);

} // namespace PaneTable
